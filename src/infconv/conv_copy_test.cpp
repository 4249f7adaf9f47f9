// The copy sections, one table per rule: destinations, copy lines and the
// folders the files are looked for in.

#include "infconv/conv_copy.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_convert_test.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

TEST(ConvCopy, Destinations) {
    const ConvRow rows[] = {
        {"DefaultDestDir=12", "X.Files=12", true},
        {"x.files = 11\nDefaultDestDir = 12", "X.Files=11", true},
        {"DefaultDestDir = 10", "X.Files=10", true},
        {"X.Files = 11,sub\nDefaultDestDir=12", CONV_WHY_SUBFOLDER, false},
        {"DefaultDestDir = 12, drivers", CONV_WHY_SUBFOLDER, false},
        {"X.Files = 13", CONV_WHY_DESTINATION_ID, false},
        {"X.Files = %11%", CONV_WHY_DESTINATION_ID, false},
        {"", CONV_WHY_NO_DESTINATION, false},
    };
    for (const ConvRow &row : rows) {
        expectConvRow(std::string(CONV_HEAD) +
                          "[DefaultInstall]\nCopyFiles = X.Files\n[X.Files]\nx.sys\n"
                          "[DestinationDirs]\n" +
                          row.input + "\n",
                      4, "X.Files", row);
    }
}

TEST(ConvCopy, CopyLines) {
    const ConvRow rows[] = {
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
    for (const ConvRow &row : rows) {
        expectConvRow(std::string(CONV_HEAD) +
                          "[DefaultInstall]\nCopyFiles = X.Files\n[X.Files]\n" + row.input +
                          "\n[DestinationDirs]\nDefaultDestDir=12\n"
                          "[Strings]\nFile=\"ファイル.sys\"\n",
                      6, row.input, row,
                      {"x.AddReg]", "表ー.sys", std::string(CONV_FILE_NAME_SIZE - 1, 'x')});
    }
}

TEST(ConvCopy, SourceFoldersStayInsideTheInfFilesFolder) {
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
            std::string(CONV_HEAD) + "[SourceDisksNames]\n1=d,,," + row.disk +
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

} // namespace
