// The services, one table per rule: the values of a service's key, its
// ImagePath by service type, and the warnings.

#include "infconv/conv_services.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_convert_test.h"
#include "infconv/infconv_messages.h"

namespace {

// Type, Start, ErrorControl and ImagePath are the gate's (conv_gate_test.cpp).
TEST(ConvServices, ServiceKeys) {
    const ConvRow rows[] = {
        {"LoadOrderGroup = \"Extended Base\"", "\",\"Group\",0,\"Extended Base\"", true},
        {"DisplayName = %Name%", "\",\"DisplayName\",0,\"My Driver\"", true},
        {"Dependencies = +Base", CONV_WHY_DEPENDENCIES, false},
        {"StartName = LocalSystem", CONV_WHY_SERVICE_KEY, false},
        {"DisplayName = \"%11%\\thing\"", CONV_WHY_DIRECTORY_ID, false},
        {"LoadOrderGroup = %10%", CONV_WHY_DIRECTORY_ID, false},
    };
    for (ConvRow row : rows) {
        if (row.written)
            row.expected = CONV_SERVICE_KEY + row.expected;
        expectConvRow(std::string(CONV_HEAD) +
                          "[DefaultInstall]\nCopyFiles=@d.sys\n[DefaultInstall.Services]\n"
                          "AddService = Drv, 0, Drv.Service\n[Drv.Service]\n" +
                          row.input +
                          "\nServiceType = 1\nStartType = 3\nErrorControl = 1\nServiceBinary = "
                          "%12%\\d.sys\n[Drv.Reg]\nHKR,Parameters,Size,0x00010001,1\n"
                          "[DestinationDirs]\nDefaultDestDir=12\n[Strings]\nName=\"My Driver\"\n",
                      8, row.input, row);
    }
}

TEST(ConvServices, ImagePathByServiceType) {
    struct TypeRow {
        const char *type, *binary, *directory;
        std::string expected; // ImagePath, or why the service was left out
        bool written;
    } rows[] = {
        {"1", "%12%\\x.sys", "12", "System32\\drivers\\x.sys", true},
        {"2", "%11%\\x.sys", "11", "System32\\x.sys", true},
        {"8", "%10%\\x.sys", "10", "x.sys", true},
        {"0x10", "%10%\\x.sys", "10", "%SystemRoot%\\x.sys", true},
        {"0x20", "%11%\\x.sys", "11", "%SystemRoot%\\System32\\x.sys", true},
        {"0x110", "%12%\\x.sys", "12", "%SystemRoot%\\System32\\drivers\\x.sys", true},
        {"4", "%12%\\x.sys", "12", CONV_WHY_SERVICE_TYPE, false},
        {"", "%12%\\x.sys", "12", CONV_WHY_SERVICE_TYPE, false},
        {"0x10", "%11%\\x.sys", "12",
         "14行目のファイルx."
         "sysはSystem32ではなくSystem32\\Driversにコピーされるため、サービスを登録し"
         "ません",
         false},
        {"1", "%12%\\y.sys", "12",
         "14行目のファイルy."
         "sysはどのコピーセクションでもコピーされないため、サービスを登録しません",
         false},
        {"1", "%13%\\x.sys", "12",
         "ServiceBinaryやImagePathは%10%、%11%、%12%"
         "のフォルダにあるファイルのみ変換できます（14行目: "
         "%13%\\x.sys）",
         false},
    };
    for (const TypeRow &row : rows) {
        ConvResult result = convertInf(
            std::string(CONV_HEAD) +
            "[DefaultInstall]\nCopyFiles = F\nAddReg = R\n[DestinationDirs]\nF = " + row.directory +
            "\n[F]\nx.sys\n[DefaultInstall.Services]\nAddService = Drv,,S\n[S]\n" +
            "ServiceType = " + row.type + "\nServiceBinary = " + row.binary +
            "\nStartType = 3\nErrorControl = "
            "1\n[R]\nHKLM,System\\CurrentControlSet\\Services\\drv\\P,A,0,a\n");
        std::string expected = row.written
                                   ? std::string(CONV_SERVICE_KEY) +
                                         "\",\"ImagePath\",0x00020000,\"" + row.expected + "\"\r\n"
                                   : leftOutLine(11, row.expected, "AddService = Drv,,S");
        EXPECT_NE((row.written ? result.inf : result.said).find(expected), std::string::npos)
            << row.type << row.binary << "\n"
            << result.said << result.inf;
        if (!row.written) { // left out whole, its key too
            EXPECT_EQ(result.inf.find("Services\\"), std::string::npos) << result.inf;
            EXPECT_NE(result.said.find("サービスDrvは11行目のとおり変換しなかったため"),
                      std::string::npos);
        }
    }
}

TEST(ConvServices, Warnings) {
    struct WarningRow {
        std::string lines, warning;
        bool said;
    } rows[] = {
        {"StartType = 0", "警告: サービス Drv はシステムの起動中に開始されます（StartType=0）",
         true},
        {"StartType = 1", "（StartType=1）", true},
        {"StartType = 2", "警告", false},
        {"AddReg = R\n[R]\nHKR,,Start,0x00010001,1", "（StartType=1）", true},
        {"AddReg = R\n[R]\nHKR,Sub,Start,0x00010001,1", "警告", false},
        // On the final values, wherever they come from.
        {"StartType = 3\nErrorControl = 3\nAddReg = R\n[R]\nHKR,,Start,0x00010001,0",
         "（StartType=0）", true},
        {"StartType = 3\nErrorControl = 3\nAddReg = R\n[R]\nHKR,,Start,0x00010001,0",
         "ErrorControl=3です。", true},
        {"StartType = 0\nErrorControl = 3\nAddReg = R\n[R]\nHKR,,Start,0x00010001,3", "警告",
         false},
        {"StartType = 1\nErrorControl = 3", "ErrorControl=3です。", true},
        {"StartType = 0\nErrorControl = 2", "ErrorControl=2です。", true},
        {"StartType = 3\nErrorControl = 3", "ErrorControl=3です。", false},
        {"Dependencies = +Base", CONV_WHY_DEPENDENCIES, true},
    };
    for (const WarningRow &row : rows) {
        ConvResult result = convertInf(
            std::string(CONV_HEAD) +
            "[DefaultInstall]\nCopyFiles=@x.sys\n[DefaultInstall.Services]\n"
            "AddService = Drv,,S\n[S]\nServiceType = 1\nServiceBinary = %12%\\x.sys\n" +
            row.lines +
            // A second part of [S], which the lines above come before.
            "\n[S]\nStartType = 2\nErrorControl = 1\n[DestinationDirs]\nDefaultDestDir=12\n");
        EXPECT_EQ(result.said.find(row.warning) != std::string::npos, row.said) << row.lines << "\n"
                                                                                << result.said;
    }
}

} // namespace
