// The report: what NT 3.x does not need listed apart, and each list at
// its capacity and past it.

#include "infconv/conv_report.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_convert_test.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

TEST(ConvReport, WhatNTDoesNotNeedIsListedApartAndNotCounted) {
    ConvResult result =
        convertInf(std::string(CONV_HEAD) +
                   "[DefaultInstall]\nCopyFiles=@x.sys\nCopyINF = a.inf\nAddReg = R\n"
                   "[R]\nHKLM,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Drv,A,0,x\n"
                   "HKLM,Software\\Microsoft\\Windows\\CurrentVersion\\UninstallX,A,0,x\n"
                   "[DefaultInstall.Services]\nAddService = Drv,,S\n"
                   "[S]\nServiceType = 1\nServiceBinary = %12%\\x.sys\nDescription = \"A driver\"\n"
                   "OptionDesc = \"A driver\"\nStartType = 3\nErrorControl = 1\n"
                   "[DestinationDirs]\nDefaultDestDir=12\n");
    EXPECT_NE(
        result.said.find(
            "\nNT 3.xでは不要なため、次の項目は変換しませんでした（件数に含めません）:\n"
            "  5行目: CopyINF = a.inf\n"
            "  8行目: HKLM,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Drv,A,0,x\n"
            "  15行目: Description = \"A driver\"\n"
            "  16行目: OptionDesc = \"A driver\"\n\n"
            "注意: 1件の項目を変換できませんでした。"),
        std::string::npos)
        << result.said;
}

// Every item left out is said: those the list holds in the order of the
// input's lines after the conversion, one past it at once, before them.
TEST(ConvReport, LeftOutListAtItsCapacityAndPastIt) {
    for (int count : {CONV_LEFT_OUT_CAPACITY, CONV_LEFT_OUT_CAPACITY + 1}) {
        std::string inf = "[DefaultInstall]\n";
        for (int i = 0; i < count; ++i)
            inf += "Bad = " + std::to_string(i + 2) + "\n";
        ConvResult result = convertInf(inf);
        EXPECT_EQ(occurrences(result.said, CONV_WHY_DIRECTIVE), static_cast<size_t>(count));
        size_t first = result.said.find(leftOutLine(2, CONV_WHY_DIRECTIVE, "Bad = 2"));
        size_t last = result.said.find(
            leftOutLine(count + 1, CONV_WHY_DIRECTIVE, "Bad = " + std::to_string(count + 1)));
        EXPECT_EQ(last<first, count> CONV_LEFT_OUT_CAPACITY) << result.said;
        EXPECT_NE(result.said.find("注意: " + std::to_string(count) + "件"), std::string::npos);
    }
}

// The lines of the input listed first: an earlier line found after the
// list is full takes the place of the last.
TEST(ConvReport, NotNeededListAtItsCapacityAndPastIt) {
    for (int count : {CONV_NOT_NEEDED_CAPACITY, CONV_NOT_NEEDED_CAPACITY + 1}) {
        std::string inf =
            "[DefaultInstall]\nCopyFiles=@x.sys\nCopyINF = a.inf\n"
            "[DefaultInstall.Services]\nAddService = Drv,,S\n"
            "[S]\nServiceType = 1\nServiceBinary = %12%\\x.sys\n"
            "StartType = 3\nErrorControl = 1\n[DestinationDirs]\nDefaultDestDir=12\n[S]\n";
        for (int i = 1; i < count; ++i)
            inf += "Description = " + std::to_string(i) + "\n";
        ConvResult result = convertInf(inf);
        bool past = count > CONV_NOT_NEEDED_CAPACITY;
        EXPECT_NE(result.said.find("（件数に含めません）:\n  3行目: CopyINF = a.inf\n"),
                  std::string::npos)
            << result.said;
        EXPECT_EQ(occurrences(result.said, ": Description = "),
                  static_cast<size_t>(CONV_NOT_NEEDED_CAPACITY - 1));
        EXPECT_EQ(result.said.find("  ほか1件\n") != std::string::npos, past);
    }
}

} // namespace
