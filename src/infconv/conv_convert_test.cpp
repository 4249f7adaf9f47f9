// What the converter carries over and what it leaves out, one table per
// rule: destinations, copy lines, service keys and AddReg lines. Each row
// converts a small INF file and looks for its line in the file written or
// for its report line.

#include "infconv/conv_convert.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"
#include "support/converter.h"

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
void expectRow(const std::string &inf, int number, const std::string &reported, const Row &row,
               const std::vector<std::string> &files = {}) {
    ConvResult result = convertInf(inf, files);
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
        {"表ー.sys", "表ー.sys", true},
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
                  6, row.input, row,
                  {"x.AddReg]", "表ー.sys", std::string(CONV_FILE_NAME_SIZE - 1, 'x')});
    }
}

TEST(ConvConvert, SourceFoldersStayInsideTheInfFilesFolder) {
    const struct {
        const char *disk, *subfolder, *said;
    } rows[] = {
        {"\\i386", "", "○ファイル: i386\\x.sys → "}, {"", "i386", "○ファイル: i386\\x.sys → "},
        {"\\", ".", "○ファイル: x.sys → "},          {"..", "", CONV_WHY_SOURCE_FOLDER},
        {"i386", "..\\..", CONV_WHY_SOURCE_FOLDER},  {"\".. \"", "", CONV_WHY_SOURCE_FOLDER},
        {"...", "", CONV_WHY_SOURCE_FOLDER},         {"\". .\"", "", CONV_WHY_SOURCE_FOLDER},
        {"c:\\x", "", CONV_WHY_SOURCE_FOLDER},       {"\\nul", "", CONV_WHY_SOURCE_FOLDER},
    };
    for (const auto &row : rows) {
        ConvResult result = convertInf(
            std::string(HEAD) + "[SourceDisksNames]\n1=d,,," + row.disk +
                "\n[SourceDisksFiles]\nx.sys=1," + row.subfolder +
                "\n[DefaultInstall]\nCopyFiles=@x.sys\n[DestinationDirs]\nDefaultDestDir=12\n",
            {"i386\\x.sys"});
        std::string said = row.said;
        if (said.rfind("○", 0) != 0) // a reason
            said = leftOutLine(8, said, "@x.sys");
        EXPECT_NE(result.said.find(said), std::string::npos)
            << row.disk << "," << row.subfolder << "\n"
            << result.said;
    }
}

TEST(ConvConvert, ServiceKeys) {
    const Row rows[] = {
        {"ServiceType = 1", "\",\"Type\",0x00010001,1", true},
        {"StartType = 0x3", "\",\"Start\",0x00010001,3", true},
        {"ErrorControl = 1", "\",\"ErrorControl\",0x00010001,1", true},
        {"LoadOrderGroup = \"Extended Base\"", "\",\"Group\",0,\"Extended Base\"", true},
        {"DisplayName = %Name%", "\",\"DisplayName\",0,\"My Driver\"", true},
        {"Dependencies = +Base", CONV_WHY_DEPENDENCIES, false},
        {"StartName = LocalSystem", CONV_WHY_SERVICE_KEY, false},
        {"StartType = boot", CONV_WHY_NUMBER, false},
        {"DisplayName = \"%11%\\thing\"", CONV_WHY_DIRECTORY_ID, false},
        {"LoadOrderGroup = %10%", CONV_WHY_DIRECTORY_ID, false},
    };
    for (Row row : rows) {
        if (row.written)
            row.expected = SERVICES + row.expected;
        expectRow(std::string(HEAD) +
                      "[DefaultInstall]\nCopyFiles=@d.sys\n[DefaultInstall.Services]\n"
                      "AddService = Drv, 2, Drv.Service\n[Drv.Service]\n" +
                      row.input +
                      "\nServiceType = 1\nServiceBinary = "
                      "%12%\\d.sys\n[Drv.Reg]\nHKR,Parameters,Size,0x00010001,1\n"
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

TEST(ConvConvert, ImagePathByServiceType) {
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
        {"0x10", "%11%\\x.sys", "12", CONV_WHY_BINARY_NOT_COPIED, false},
        {"1", "%12%\\y.sys", "12", CONV_WHY_BINARY_NOT_COPIED, false},
        {"1", "%13%\\x.sys", "12", CONV_WHY_BINARY_DIR, false},
        {"1", "C:\\x.sys", "12", CONV_WHY_BINARY_DIR, false},
    };
    for (const TypeRow &row : rows) {
        ConvResult result = convertInf(
            std::string(HEAD) +
            "[DefaultInstall]\nCopyFiles = F\nAddReg = R\n[DestinationDirs]\nF = " + row.directory +
            "\n[F]\nx.sys\n[DefaultInstall.Services]\nAddService = Drv,,S\n[S]\n" +
            "ServiceType = " + row.type + "\nServiceBinary = " + row.binary +
            "\n[R]\nHKLM,System\\CurrentControlSet\\Services\\drv\\P,A,0,a\n");
        std::string expected =
            row.written
                ? std::string(SERVICES) + "\",\"ImagePath\",0x00020000,\"" + row.expected + "\"\r\n"
                : leftOutLine(11, row.expected, "AddService = Drv,,S");
        EXPECT_NE((row.written ? result.inf : result.said).find(expected), std::string::npos)
            << row.type << row.binary << "\n"
            << result.said << result.inf;
        if (!row.written) { // left out whole, its key too
            EXPECT_EQ(result.inf.find("Services\\"), std::string::npos) << result.inf;
            EXPECT_NE(result.said.find(CONV_WHY_SERVICE_LEFT_OUT), std::string::npos);
        }
    }
}

TEST(ConvConvert, Warnings) {
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
        {"StartType = 1\nErrorControl = 3", "ErrorControl=3です。", true},
        {"StartType = 0\nErrorControl = 2", "ErrorControl=2です。", true},
        {"StartType = 3\nErrorControl = 3", "ErrorControl=3です。", false},
        {"Dependencies = +Base", CONV_WHY_DEPENDENCIES, true},
    };
    for (const WarningRow &row : rows) {
        ConvResult result =
            convertInf(std::string(HEAD) +
                       "[DefaultInstall]\nCopyFiles=@x.sys\n[DefaultInstall.Services]\n"
                       "AddService = Drv,,S\n[S]\nServiceType = 1\nServiceBinary = %12%\\x.sys\n" +
                       row.lines + "\n[DestinationDirs]\nDefaultDestDir=12\n");
        EXPECT_EQ(result.said.find(row.warning) != std::string::npos, row.said) << row.lines << "\n"
                                                                                << result.said;
    }
}

TEST(ConvConvert, WhatNTDoesNotNeedIsListedApartAndNotCounted) {
    ConvResult result =
        convertInf(std::string(HEAD) +
                   "[DefaultInstall]\nCopyFiles=@x.sys\nCopyINF = a.inf\nAddReg = R\n"
                   "[R]\nHKLM,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Drv,A,0,x\n"
                   "HKLM,Software\\Microsoft\\Windows\\CurrentVersion\\UninstallX,A,0,x\n"
                   "[DefaultInstall.Services]\nAddService = Drv,,S\n"
                   "[S]\nServiceType = 1\nServiceBinary = %12%\\x.sys\nDescription = \"A driver\"\n"
                   "[DestinationDirs]\nDefaultDestDir=12\n");
    EXPECT_NE(
        result.said.find(
            "\nNT 3.xでは不要なため、次の項目は変換しませんでした（件数に含めません）:\n"
            "  5行目: CopyINF = a.inf\n"
            "  8行目: HKLM,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Drv,A,0,x\n"
            "  15行目: Description = \"A driver\"\n\n"
            "注意: 1件の項目を変換できませんでした。"),
        std::string::npos)
        << result.said;
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
