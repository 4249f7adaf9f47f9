// The import check of the images the converter carries, on images made
// here: what is said of each, that a service whose image imports a name
// NT 3.51 lacks is left out while its file is carried, and a file already
// in infinst's form whose images are checked with nothing written.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/converter.h"
#include "support/pe_image.h"

namespace {

const char INF[] = "[Version]\nSignature=\"$Windows NT$\"\n[DestinationDirs]\nDefaultDestDir=12\n"
                   "[DefaultInstall]\nCopyFiles=@drv.sys\n[DefaultInstall.Services]\n"
                   "AddService=Drv,,Drv.Service\n[Drv.Service]\nServiceType=1\nStartType=3\n"
                   "ErrorControl=1\nServiceBinary=%12%\\drv.sys\n";

std::string imports(const std::vector<PeImport> &modules) {
    return peImage(peImportTable(modules));
}

const PeImport NT35 = {"ntoskrnl.exe", {"IoCreateDevice", "DbgPrint"}};
const PeImport LATER = {"NTOSKRNL.EXE",
                        {"IoCreateDevice", "MmGetSystemRoutineAddress", "IoAllocateWorkItem",
                         "ExFreePoolWithTag", "Zz"}};
const std::string MISSING =
    "NT "
    "3.51にない関数（MmGetSystemRoutineAddress、IoAllocateWorkItem、ExFreePoolWithTag、ほか1件）";

TEST(ConvImports, WhatEachImageImportsIsSaidAndTheServiceLeftOutWhenNT351LacksOne) {
    const std::string later = imports({LATER});
    const std::string unreadable = "のインポートテーブルが途中で切れているか、ファイルの外を指して";
    struct Row {
        std::string image;
        std::string said; // part of what is said of the image, "" for nothing
        bool loads;
    } rows[] = {
        {imports({NT35, {"HAL.dll", {"KeGetCurrentIrql"}}}), "", true},
        {peImage("", 0), "", true}, // no import directory
        {later, "警告: drv.sys は" + MISSING + "を使うため、NT 3.xでは読み込めません。\n", false},
        {imports({NT35, {"ntoskrnl.exe", {"ExRaiseException"}}}),
         "NT 3.51以降の関数（ExRaiseException）を使うため、NT 3.5では読み込めません。", true},
        {imports({{"ntoskrnl.exe",
                   {"RtlIsNameLegalDOS8Dot3", "SeMarkLogonSessionForTerminationNotification"}}}),
         "Service Pack 5以降の関数（RtlIsNameLegalDOS8Dot3、SeMarkLogonSession", true},
        {imports({{"ntoskrnl.exe", {"#12", "#13"}}, {"kernel32.dll", {"#3"}}}),
         "序数で使う次のモジュールの関数は確かめていません: ntoskrnl.exe、kernel32.dll\n", true},
        {imports({{"scsiport.sys", {"MmGetSystemRoutineAddress"}}, NT35}),
         "一覧がないため確かめていません: scsiport.sys\n", true},
        {later.substr(0, later.size() - 4), unreadable, true},       // cut off in a name
        {peImage(peImportTable({LATER}), 0x3000), unreadable, true}, // in no section
        {imports({{"ntoskrnl.exe", {std::string(300, 'x')}}}), "（" + std::string(159, 'x') + "）",
         false},
    };
    for (const Row &row : rows) {
        for (size_t limit : {0, 1}) { // short reads change nothing
            fakeReset();
            fakeLimitReads(limit);
            fakeAddFile("C:\\work\\drv.inf", INF);
            fakeAddFile("C:\\work\\drv.sys", row.image);
            EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf", "C:\\work\\out.inf"}), 0);
            const std::string &said = fakeOutput();
            // Said as the image is checked; the file is carried all the same.
            size_t file = said.find("○ファイル: drv.sys → System32\\Drivers\n");
            EXPECT_LT(said.find(row.said), file) << said;
            EXPECT_EQ(said.find(": drv.sys ") == file + strlen("○ファイル"), row.said.empty());
            EXPECT_EQ(said.find("○サービス: Drv\n") != std::string::npos, row.loads) << said;
            std::string reason = "\n×8行目: ファイルdrv.sysは" +
                                 (row.image == later ? MISSING : "NT 3.51にない関数（");
            EXPECT_EQ(said.find(reason) == std::string::npos, row.loads) << said;
        }
    }
}

TEST(ConvImports, AFileInInfinstsFormHasTheImagesOfItsCopySectionsCheckedAndNothingWritten) {
    const std::string form = "[Version]\nClass=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n"
                             "Other=11\n[Drv.Copy]\ndrv.sys\n[Other]\nnone.sys\nold.sys\n[x.copy]\n"
                             "not.sys\n[Drv.AddReg]\n";
    std::string x64 = imports({NT35});
    pePut(x64, 0x44, 0x8664, 2);
    const std::string rest = "×9行目: ファイルがありません: C:\\work\\none.sys\n"
                             "○old.sys: NT 3.51にない関数は使っていません\n";
    const std::string loads = "NT 3.xで読み込めないファイルはありません。infinstで直接インストール"
                              "してください。\n";
    const std::string cannotLoad = "NT 3.xで読み込めないファイルがあるため、infinstでインストール"
                                   "しないでください。\n";
    struct Row {
        std::string inf;
        std::string image; // drv.sys
        std::string said;  // what is said after the first line
        int exitCode;
    } rows[] = {
        {form, imports({NT35}), "○drv.sys: NT 3.51にない関数は使っていません\n" + rest + loads, 0},
        {form, imports({LATER}),
         "警告: drv.sys は" + MISSING + "を使うため、NT 3.xでは読み込めません。\n" + rest +
             cannotLoad,
         1},
        {form, x64,
         "エラー: C:\\work\\drv.sys はx64 (AMD64)用のプログラムです（マシン0x8664）。NT "
         "3.x（x86）では読み込めません。\n" +
             rest + cannotLoad,
         1},
        {"[Version]\nClass = LegacyDriver\n", "", loads, 0}, // no copy section
    };
    for (const Row &row : rows) {
        fakeReset();
        fakeAddFile("C:\\work\\in.inf", row.inf);
        fakeAddFile("C:\\work\\drv.sys", row.image);
        fakeAddFile("C:\\work\\old.sys", imports({NT35}));
        const std::string before = fakeMachineSnapshot();
        EXPECT_EQ(runConverterWith({"C:\\work\\in.inf", "C:\\work\\out.inf"}), row.exitCode);
        EXPECT_EQ(fakeOutput(), "NT 4.0形式ドライバINF変換ツール (infinst用)\n\n変換元: "
                                "C:\\work\\in.inf\nこのINFファイルは既にinfinstの形式です。変換"
                                "はせず、コピーするファイルを確かめます。\n" +
                                    row.said);
        EXPECT_EQ(fakeMachineSnapshot(), before);
    }
}

} // namespace
