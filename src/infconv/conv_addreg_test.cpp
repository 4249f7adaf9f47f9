// The AddReg lines: what each line becomes in the file written, or why it
// is left out.

#include "infconv/conv_addreg.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_convert_test.h"
#include "infconv/infconv_messages.h"

namespace {

TEST(ConvAddReg, AddRegLines) {
    const std::string key = "System\\CurrentControlSet\\Services\\Drv";
    const ConvRow rows[] = {
        {"HKLM,\"" + key + "\\Parameters\",Size,0x00010001,4",
         "\\Parameters\",\"Size\",0x00010001,4", true},
        {"HKLM," + key + ",Size,0x00010001,01,02,00,00", "\",\"Size\",0x00010001,513", true},
        {"HKEY_LOCAL_MACHINE," + key + ",Name,,text", "\",\"Name\",0,\"text\"", true},
        {"HKLM," + key + ",Path,0x00020000,\"%%SystemRoot%%\\x\"",
         "\",\"Path\",0x00020000,\"%SystemRoot%\\x\"", true},
        {"HKLM," + key + ",Bin,1,00", CONV_WHY_BINARY, false},
        {"HKLM," + key + ",Bin,0x00000001,0,1,2,3,4,5,6,7,8,9,10,11,12,13", CONV_WHY_BINARY, false},
        {"HKLM," + key + ",Multi,0x00010000,a,b", CONV_WHY_MULTI_SZ, false},
        {"HKLM," + key + ",Path,0x00020000,\"%11%\\x.dll\"",
         "\",\"Path\",0x00020000,\"%SystemRoot%\\System32\\x.dll\"", true},
        {"HKLM," + key + ",Path,0x00020000,%10%;%12%", "\",\"Path\",0x00020000,\"%SystemRoot%\"",
         true},
        {"HKLM," + key + ",Path,0x00020000,\"%12%\\x.sys\"",
         "\",\"Path\",0x00020000,\"%SystemRoot%\\System32\\drivers\\x.sys\"", true},
        {"HKLM," + key + ",Path,0,\"%11%\\x.dll\"", CONV_WHY_DIRECTORY_ID, false},
        {"HKLM," + key + ",Path,0x00020000,\"%24%\\x\"", CONV_WHY_DIRECTORY_ID, false},
        {"HKLM," + key + "\\%11%,Path,0x00020000,x", CONV_WHY_DIRECTORY_ID, false},
        {"HKLM," + key + ",Keep,0x00000002,x", CONV_WHY_FLAGS, false},
        {"HKLM," + key + ",Size,0x00010001,1,2", CONV_WHY_NUMBER, false},
        {"HKLM," + key + ",Size,0x00010001,100,0,0,0", CONV_WHY_NUMBER, false},
        {"HKLM," + key + "\\表,Name,0,x", "\\表\",\"Name\",0,\"x\"", true},
        {"HKLM," + key + "\\\\Sub,Name,0,x", CONV_WHY_ROOT, false},
        {"HKLM,Software\\Vendor,Name,0,x", CONV_WHY_ROOT, false},
        {"HKLM,System\\CurrentControlSet\\Services,Name,0,x", CONV_WHY_ROOT, false},
        {"HKCR,.drv,Name,0,x", CONV_WHY_ROOT, false},
        {"HKR,,Name,0,x", CONV_WHY_HKR, false},
        {"HKLM," + key, CONV_WHY_NO_VALUE_NAME, false},
        {"HKLM,\"" + key + "\\J\",,0,\"x\"", CONV_WHY_DEFAULT_VALUE, false},
        {"HKLM," + key + ",Name,0,\"say \"\"hi\"\"\"", CONV_WHY_TEXT, false},
        {"HKLM," + key + ",Name,0,AddReg]", CONV_WHY_TEXT, false},
    };
    for (ConvRow row : rows) {
        if (row.written)
            row.expected = CONV_SERVICE_KEY + row.expected;
        expectConvRow(std::string(CONV_HEAD) +
                          "[DefaultInstall]\nCopyFiles=@d.sys\nAddReg = R\n[R]\n" + row.input +
                          "\n[DestinationDirs]\nDefaultDestDir=12\n",
                      7, row.input, row);
    }
}

} // namespace
