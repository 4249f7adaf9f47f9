// The gate of a service, one table per rule: which services reach the
// file written, and so the registry once infinst installs that file with
// its own reading, with which ImagePath; what is said about the others.

#include "infconv/conv_gate.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_convert_test.h"
#include "platform/platform.h"
#include "support/installer.h"

namespace {

// Lines 1 to 14; a row's lines follow from line 15. x.sys and d.sys go to
// System32\Drivers, s.exe to System32.
const char GATE_HEAD[] = "[Version]\nSignature=\"$Windows NT$\"\n[DestinationDirs]\n"
                         "DefaultDestDir=12\nExe.Files=11\n[DefaultInstall]\n"
                         "CopyFiles=Drv.Files,Exe.Files\nOptionDesc=Driver\n[Drv.Files]\nx.sys\n"
                         "d.sys\n[Exe.Files]\ns.exe\n[DefaultInstall.Services]\n";
// A driver on lines 15 to 19, its ServiceBinary on line 20.
const char DRIVER[] = "AddService=Drv,,S\n[S]\nServiceType=1\nStartType=3\nErrorControl=1\n";
const std::string KEY = "System\\CurrentControlSet\\Services\\Drv";
const std::string REG = "HKLM," + KEY;

struct GateRow {
    std::string lines;
    std::string said;      // part of the report
    std::string imagePath; // of Drv once installed; "" when it must not arrive
};

// Converts, then installs what was written with infinst, which must take
// every line of it.
void expectGateRow(const GateRow &row) {
    ConvResult result = convertInf(GATE_HEAD + row.lines, {"s.exe"});
    EXPECT_NE(result.said.find(row.said), std::string::npos) << row.lines << "\n" << result.said;
    fakeSetInput("1\n");
    ASSERT_EQ(runInstallerWith({"C:\\work\\out.inf"}), 0) << result.inf;
    EXPECT_EQ(fakeOutput().find("注意", result.said.size()), std::string::npos) << fakeOutput();
    FakeRegValue image = fakeRegValue(KEY, "ImagePath");
    EXPECT_EQ(image.exists, !row.imagePath.empty()) << row.lines << "\n" << result.said;
    if (image.exists) {
        EXPECT_EQ(image.bytes, row.imagePath + '\0') << row.lines;
    }
    EXPECT_EQ(fakeRegKeyExists(KEY), image.exists) << row.lines;
}

TEST(ConvGate, EveryLineThatWritesAServiceIsChecked) {
    const std::string reg = "[DefaultInstall]\nAddReg=R\n[R]\n" + REG + ",Type,0x00010001,1\n" +
                            REG + ",Start,0x00010001,1\n" + REG + ",ErrorControl,0x00010001,1\n" +
                            REG + ",ImagePath,0x00020000,%12%\\";
    const std::string own = std::string(DRIVER) + "ServiceBinary=%12%\\x.sys\nAddReg=R\n[R]\n";
    const GateRow rows[] = {
        // Through the install section's AddReg alone: lines 18 to 21.
        {reg + "foo.sys\n",
         "×18行目: 21行目のファイルfoo.sysはどのコピーセクションでもコピーされないため", ""},
        {reg + "x.sys\n", "○サービス: Drv\n", "System32\\drivers\\x.sys"},
        // Its own AddReg, lines 23 and 24.
        {own + "HKR,,ImagePath,0x00020000,\"%12%\\missing.sys\"\nHKR,,Type,0x00010001,0x10\n",
         "×15行目: 17行目と24行目でサービスの種類（ドライバかWin32サービスか）が異なるため", ""},
        {own + "HKR,,ImagePath,0x00020000,\"%12%\\missing.sys\"\n",
         "×23行目: サービスのImagePathは20行目のものに決まっているため",
         "System32\\drivers\\x.sys"},
        {own + "HKR,,ImagePath,0x00020000,\"\\SystemRoot\\System32\\drivers\\X.SYS\"\n",
         "すべての項目を変換しました", "System32\\drivers\\x.sys"},
        {own + "HKR,,Type,0x00010001,2\n", "×23行目: サービスのTypeは17行目の値に決まっている",
         "System32\\drivers\\x.sys"},
        {own + "HKR,,Type,0,\"1\"\n", "×23行目: Type、Start、ErrorControlはREG_DWORD",
         "System32\\drivers\\x.sys"},
        // The service section: the first line of each entry holds.
        {std::string(DRIVER) + "ServiceType=0x10\nServiceBinary=%12%\\x.sys\n",
         "×20行目: 同じ項目が17行目にあり、最初の行が有効なため", "System32\\drivers\\x.sys"},
        {"AddService=Drv,,S\nAddService=drv,,S\n[S]\nServiceType=1\nStartType=3\nErrorControl=1\n"
         "ServiceBinary=%12%\\x.sys\n",
         "×16行目: サービスdrvは15行目のAddServiceで指定済み", "System32\\drivers\\x.sys"},
        {"AddService=Drv,,S\n[S]\nServiceType=1\nErrorControl=1\nServiceBinary=%12%\\x.sys\n",
         "×15行目: StartTypeがないサービスは変換できません", ""},
        {"AddService=Drv,,S\n[S]\nServiceType=1\nStartType=3\nServiceBinary=%12%\\x.sys\n",
         "×15行目: ErrorControlがないサービスは変換できません", ""},
        {"AddService=Drv,,S\n[S]\nServiceType=0x10\nStartType=1\nErrorControl=1\n"
         "ServiceBinary=%11%\\s.exe\n",
         "×15行目: StartTypeは0、1、2、3、4（Win32サービスは2、3、4）のみ変換できます（18行目）",
         ""},
        // What NT 3.x cannot attach.
        {std::string(DRIVER) + "ServiceBinary=%12%\\x.sys\nDependencies=+Base,FltMgr\n",
         "×15行目: フィルタマネージャ（FltMgr）を使うサービスは、NT "
         "3.xにフィルタマネージャがないため変換できません（21行目）",
         ""},
        {std::string(DRIVER) + "ServiceBinary=%12%\\x.sys\nLoadOrderGroup=\"FSFilter Bottom\"\n",
         "（21行目）", ""},
        // The folder, however it is written, and the form each type loads.
        {std::string(DRIVER) + "ServiceBinary=%10%\\System32\\drivers\\x.sys\n",
         "すべての項目を変換しました", "System32\\drivers\\x.sys"},
        {"AddService=Drv,,S\n[S]\nServiceType=0x10\nStartType=3\nErrorControl=1\n"
         "ServiceBinary=%11%\\s.exe -service\n",
         "すべての項目を変換しました", "%SystemRoot%\\System32\\s.exe -service"},
        {std::string(DRIVER) + "ServiceBinary=%11%\\x.sys\n",
         "×15行目: 20行目のファイルx.sysはSystem32ではなくSystem32\\Driversにコピーされるため", ""},
        {std::string(DRIVER) + "ServiceBinary=%12%\\x.sys -a\n",
         "×15行目: ドライバのImagePathには引数を付けられません（20行目: -a）", ""},
        {std::string(DRIVER) + "ServiceBinary=C:\\x.sys\n",
         "×15行目: ServiceBinaryやImagePathは%10%、%11%、%12%のフォルダにあるファイルのみ変換できま"
         "す（20行目: C:\\x.sys）",
         ""},
    };
    for (const GateRow &row : rows)
        expectGateRow(row);
}

TEST(ConvGate, AddServiceFlagsAreNamed) {
    const struct {
        const char *flags;
        std::string said; // "" for no flag
    } rows[] = {
        {"0x00000001", "AddServiceのフラグ0x1（グループの中で最初に読み込む）は変換できません"},
        {"0x802", "0x2（デバイスの機能ドライバにする）"},
        {"0x802", "0x800（インストール後にサービスを開始する）"},
        {"0x4000", "0x4000（NT 3.xにはない指定）"},
        {"0", ""},
        {"", ""},
    };
    for (const auto &row : rows) {
        ConvResult result = convertInf(std::string(GATE_HEAD) + "AddService=Drv," + row.flags +
                                           ",S\n[S]\nServiceType=1\nStartType=3\nErrorControl=1\n"
                                           "ServiceBinary=%12%\\x.sys\n",
                                       {"s.exe"});
        EXPECT_EQ(result.said.find("AddServiceのフラグ") != std::string::npos, !row.said.empty());
        EXPECT_NE(result.said.find(row.said), std::string::npos) << result.said;
    }
}

} // namespace
