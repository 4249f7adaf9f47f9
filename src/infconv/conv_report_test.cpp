// The report: what NT 3.x does not need listed apart, and each list at
// its capacity and past it.

#include "infconv/conv_report.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_convert_test.h"

namespace {

TEST(ConvReport, WhatNTDoesNotNeedIsListedApartAndNotCounted) {
    ConvResult result =
        convertInf(std::string(CONV_HEAD) +
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

} // namespace
