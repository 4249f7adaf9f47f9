// What the converter carries over and what it leaves out, one table per
// rule: destinations, copy lines, service keys and AddReg lines. Each row
// converts a small INF file and looks for its line in the file written or
// for its report line.

#include "infconv/conv_convert.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_test_support.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

const char HEAD[] = "[Version]\nSignature=\"$Windows NT$\"\n";
const char SERVICES[] = "HKLM,\"System\\CurrentControlSet\\Services\\Drv";

struct Row {
    std::string input;    // the line the rule is about
    std::string expected; // the line written, or the reason it was left out
    bool written;
};

// Converts `inf`; checks that the row's input line, at `number`, became
// `row.expected` in the file written, or was reported as left out.
void expectRow(const std::string &inf, int number, const std::string &reported, const Row &row) {
    ConvResult result = convertInf(inf);
    if (row.written) {
        EXPECT_NE(result.inf.find("\r\n" + row.expected + "\r\n"), std::string::npos)
            << row.input << "\n"
            << result.inf << result.said;
        EXPECT_EQ(result.said.find("×"), std::string::npos) << row.input << "\n" << result.said;
    } else {
        EXPECT_NE(result.said.find(leftOutLine(number, row.expected, reported)), std::string::npos)
            << row.input << "\n"
            << result.said;
    }
}

TEST(ConvConvert, Destinations) {
    const Row rows[] = {
        {"DefaultDestDir=12", "X.Files=12", true},
        {"x.files = 11\nDefaultDestDir = 12", "X.Files=11", true},
        {"DefaultDestDir = 10", "X.Files=10", true},
        {"X.Files = 11,sub\nDefaultDestDir=12", CONV_WHY_SUBFOLDER, false},
        {"DefaultDestDir = 12, drivers", CONV_WHY_SUBFOLDER, false},
        {"X.Files = 13", CONV_WHY_DESTINATION_ID, false},
        {"X.Files = %11%", CONV_WHY_DESTINATION_ID, false},
        {"", CONV_WHY_NO_DESTINATION, false},
    };
    for (const Row &row : rows) {
        expectRow(std::string(HEAD) +
                      "[DefaultInstall]\nCopyFiles = X.Files\n[X.Files]\nx.sys\n"
                      "[DestinationDirs]\n" +
                      row.input + "\n",
                  4, "X.Files", row);
    }
}

TEST(ConvConvert, CopyLines) {
    const Row rows[] = {
        {"x.sys", "x.sys", true},
        {"x.sys,X.SYS,,2", "x.sys", true},
        {"\"a b.sys\"", "a b.sys", true},
        {"%File%", "ファイル.sys", true},
        {"new.sys,old.sys", CONV_WHY_RENAME, false},
        {"sub\\x.sys", CONV_WHY_FILE_NAME, false},
        {"c:x.sys", CONV_WHY_FILE_NAME, false},
        {"..", CONV_WHY_FILE_NAME, false},
        {"nul.sys", CONV_WHY_FILE_NAME, false},
        {"Com1", CONV_WHY_FILE_NAME, false},
        {"x.AddReg]", CONV_WHY_TEXT, false},
        {std::string(CONV_FILE_NAME_SIZE - 1, 'x'), std::string(CONV_FILE_NAME_SIZE - 1, 'x'),
         true},
        {std::string(CONV_FILE_NAME_SIZE, 'x'), CONV_WHY_TOO_LONG, false},
    };
    for (const Row &row : rows) {
        expectRow(std::string(HEAD) + "[DefaultInstall]\nCopyFiles = X.Files\n[X.Files]\n" +
                      row.input +
                      "\n[DestinationDirs]\nDefaultDestDir=12\n"
                      "[Strings]\nFile=\"ファイル.sys\"\n",
                  6, row.input, row);
    }
}

TEST(ConvConvert, ServiceKeys) {
    const Row rows[] = {
        {"ServiceType = 1", "\",\"Type\",0x00010001,1", true},
        {"StartType = 0x3", "\",\"Start\",0x00010001,3", true},
        {"ErrorControl = 1", "\",\"ErrorControl\",0x00010001,1", true},
        {"LoadOrderGroup = \"Extended Base\"", "\",\"Group\",0,\"Extended Base\"", true},
        {"DisplayName = %Name%", "\",\"DisplayName\",0,\"My Driver\"", true},
        {"ServiceBinary = %12%\\drv.sys",
         "\",\"ImagePath\",0x00020000,\"System32\\drivers\\drv.sys\"", true},
        {"ServiceBinary = %11%\\drv.dll",
         "\",\"ImagePath\",0x00020000,\"%SystemRoot%\\System32\\drv.dll\"", true},
        {"ServiceBinary = %10%\\drv.exe", "\",\"ImagePath\",0x00020000,\"%SystemRoot%\\drv.exe\"",
         true},
        {"AddReg = Drv.Reg", "\\Parameters\",\"Size\",0x00010001,1", true},
        {"ServiceBinary = %13%\\drv.sys", CONV_WHY_BINARY_DIR, false},
        {"ServiceBinary = C:\\drv.sys", CONV_WHY_BINARY_DIR, false},
        {"Dependencies = +Base", CONV_WHY_DEPENDENCIES, false},
        {"StartName = LocalSystem", CONV_WHY_SERVICE_KEY, false},
        {"StartType = boot", CONV_WHY_NUMBER, false},
    };
    for (Row row : rows) {
        if (row.written)
            row.expected = SERVICES + row.expected;
        expectRow(std::string(HEAD) +
                      "[DefaultInstall]\nCopyFiles=@d.sys\n[DefaultInstall.Services]\n"
                      "AddService = Drv, 2, Drv.Service\n[Drv.Service]\n" +
                      row.input +
                      "\n[Drv.Reg]\nHKR,Parameters,Size,0x00010001,1\n"
                      "[DestinationDirs]\nDefaultDestDir=12\n[Strings]\nName=\"My Driver\"\n",
                  8, row.input, row);
    }
}

TEST(ConvConvert, AddRegLines) {
    const std::string key = "System\\CurrentControlSet\\Services\\Drv";
    const Row rows[] = {
        {"HKLM,\"" + key + "\\Parameters\",Size,0x00010001,4",
         "\\Parameters\",\"Size\",0x00010001,4", true},
        {"HKLM," + key + ",Size,0x00010001,01,02,00,00", "\",\"Size\",0x00010001,513", true},
        {"HKEY_LOCAL_MACHINE," + key + ",Name,,text", "\",\"Name\",0,\"text\"", true},
        {"HKLM," + key + ",Path,0x00020000,\"%%SystemRoot%%\\x\"",
         "\",\"Path\",0x00020000,\"%SystemRoot%\\x\"", true},
        {"HKLM," + key + ",Bin,1,00", CONV_WHY_FLAGS, false},
        {"HKLM," + key + ",Keep,0x00000002,x", CONV_WHY_FLAGS, false},
        {"HKLM," + key + ",Size,0x00010001,1,2", CONV_WHY_NUMBER, false},
        {"HKLM," + key + ",Size,0x00010001,100,0,0,0", CONV_WHY_NUMBER, false},
        {"HKLM,Software\\Vendor,Name,0,x", CONV_WHY_ROOT, false},
        {"HKLM,System\\CurrentControlSet\\Services,Name,0,x", CONV_WHY_ROOT, false},
        {"HKCR,.drv,Name,0,x", CONV_WHY_ROOT, false},
        {"HKR,,Name,0,x", CONV_WHY_HKR, false},
        {"HKLM," + key, CONV_WHY_NO_VALUE_NAME, false},
        {"HKLM," + key + ",Name,0,\"say \"\"hi\"\"\"", CONV_WHY_TEXT, false},
        {"HKLM," + key + ",Name,0,AddReg]", CONV_WHY_TEXT, false},
    };
    for (Row row : rows) {
        if (row.written)
            row.expected = SERVICES + row.expected;
        expectRow(std::string(HEAD) + "[DefaultInstall]\nCopyFiles=@d.sys\nAddReg = R\n[R]\n" +
                      row.input + "\n[DestinationDirs]\nDefaultDestDir=12\n",
                  7, row.input, row);
    }
}

TEST(ConvConvert, BootAndSystemStartAreWarnedAbout) {
    for (const char *start : {"0", "1", "2"}) {
        ConvResult result = convertInf(std::string(HEAD) +
                                       "[DefaultInstall]\n[DefaultInstall.Services]\n"
                                       "AddService = Drv,,Drv.Service\n"
                                       "[Drv.Service]\nStartType = " +
                                       start + "\n");
        std::string warning =
            std::string("警告: サービス Drv はシステムの起動中に開始されます（StartType=") + start +
            "）。";
        EXPECT_EQ(result.said.find(warning) != std::string::npos, start[0] != '2') << start;
    }
}

TEST(ConvConvert, ParentKeysComeBeforeTheirSubkeys) {
    ConvResult result =
        convertInf(std::string(HEAD) + "[DefaultInstall]\nAddReg = R\n[R]\n"
                                       "HKLM,System\\CurrentControlSet\\Services\\Drv\\P,A,0,a\n"
                                       "HKLM,System\\CurrentControlSet\\Services\\Drv,B,0,b\n");
    EXPECT_NE(result.inf.find("\\Drv\",\"B\",0,\"b\"\r\nHKLM,\"System\\CurrentControlSet\\"
                              "Services\\Drv\\P\",\"A\",0,\"a\"\r\n"),
              std::string::npos)
        << result.inf;
}

} // namespace
