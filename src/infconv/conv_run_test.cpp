// Whole runs of the converter: the refusals, where the file goes and that
// it never replaces one, and the file read back by the installer itself,
// which must install everything it lists.

#include "infconv/conv_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "support/converter.h"
#include "support/fault_loop.h"
#include "support/installer.h"

namespace {

const char BANNER[] = "NT 4.0形式ドライバINF変換ツール (infinst用)\n\n";

// A driver INF file of the NT 4.0 kind, its files in i386.
const char DRIVER_INF[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\n"
    "[SourceDisksNames.x86]\r\n1 = %Disk%,,,\\i386\r\n"
    "[SourceDisksFiles.x86]\r\ndrv.sys = 1\r\ndrvio.dll = 1\r\n"
    "[DestinationDirs]\r\nDefaultDestDir = 12\r\nDrv.Dll.Files = 11\r\n"
    "[DefaultInstall.NTx86]\r\nCopyFiles = Drv.Files, Drv.Dll.Files\r\nRenFiles = Old.Files\r\n"
    "[DefaultInstall.NTx86.Services]\r\nAddService = Drv, 0, Drv.Service\r\n"
    "[Drv.Service]\r\nServiceType = 1\r\nStartType = 3\r\nErrorControl = 1\r\n"
    "ServiceBinary = %12%\\drv.sys\r\nAddReg = Drv.Reg\r\n"
    "[Drv.Reg]\r\nHKR,Parameters,Size,0x00010001,16\r\nHKR,,Note,,\"%Note%\"\r\n"
    "[Drv.Files]\r\ndrv.sys\r\n[Drv.Dll.Files]\r\ndrvio.dll\r\n"
    "[Strings]\r\nDisk = \"Driver disk\"\r\nNote = \"英語\"\r\n[Strings.0411]\r\nNote = "
    "\"日本語\"\r\n";

class ConvRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeReset();
        fakeAddDirectory("C:\\work\\i386");
        fakeAddFile("C:\\work\\drv.inf", DRIVER_INF);
        fakeAddFile("C:\\work\\i386\\drv.sys", "driver");
        fakeAddFile("C:\\work\\i386\\drvio.dll", "library");
    }
    void TearDown() override { EXPECT_EQ(fakeOpenFiles(), 0); }
};

TEST_F(ConvRunTest, ReportsEverythingAndWritesBesideTheDriversFiles) {
    EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 0);
    EXPECT_EQ(fakeOutput(),
              std::string(BANNER) +
                  "変換元: C:\\work\\drv.inf\n"
                  "インストールセクション: [DefaultInstall.NTx86]\n\n"
                  "○コピーセクション: [Drv.Files] → System32\\Drivers\n"
                  "○ファイル: i386\\drv.sys → System32\\Drivers\n"
                  "○コピーセクション: [Drv.Dll.Files] → System32\n"
                  "○ファイル: i386\\drvio.dll → System32\n"
                  "○サービス: Drv\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Type = 1\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Start = 3\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\ErrorControl = 1\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\ImagePath = "
                  "System32\\drivers\\drv.sys\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Parameters\\Size = 16\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Note = 日本語\n"
                  "×13行目: この指定は変換できません: RenFiles = Old.Files\n"
                  "\n注意: 1件の項目を変換できませんでした。上の×の行を確認してください。\n"
                  "\nC:\\work\\i386\\INFINST.INF を作成しました。\n"
                  "次のコマンドでドライバをインストールしてください:\n"
                  "  infinst C:\\work\\i386\\INFINST.INF\n");
    std::string inf = fakeFileContent("C:\\work\\i386\\INFINST.INF");
    EXPECT_EQ(inf.find("; infconvが次のファイルから変換しました: C:\\work\\drv.inf\r\n"), 0u);
    EXPECT_EQ(inf.find('\n'), inf.find("\r\n") + 1);
}

TEST_F(ConvRunTest, TheInstallerInstallsTheFileWritten) {
    ASSERT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 0);
    fakeSetInput("1\n");
    EXPECT_EQ(runInstallerWith({"C:\\work\\i386\\INFINST.INF"}), 0);
    std::string said = outputAfterNotices();
    EXPECT_EQ(said.find("注意"), std::string::npos) << said; // nothing left undone
    EXPECT_NE(said.find("Copy Found: [Drv.Files]\nCopy Found: [Drv.Dll.Files]\n"
                        "AddReg Found: [Driver.AddReg]\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(fakeFileContent("C:\\WINNT\\System32\\Drivers\\drv.sys"), "driver");
    EXPECT_EQ(fakeFileContent("C:\\WINNT\\System32\\drvio.dll"), "library");
    const std::string key = "System\\CurrentControlSet\\Services\\Drv";
    EXPECT_EQ(fakeRegValue(key, "Start").bytes, std::string("\3\0\0\0", 4));
    EXPECT_EQ(fakeRegValue(key, "ImagePath").bytes,
              std::string("System32\\drivers\\drv.sys\0", 25));
    EXPECT_EQ(fakeRegValue(key, "Note").bytes, std::string("日本語") + '\0');
    EXPECT_EQ(fakeRegValue(key + "\\Parameters", "Size").bytes, std::string("\x10\0\0\0", 4));
}

TEST_F(ConvRunTest, NeverReplacesAFile) {
    fakeAddFile("C:\\work\\i386\\INFINST.INF", "mine");
    EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 1);
    EXPECT_EQ(fakeFileContent("C:\\work\\i386\\INFINST.INF"), "mine");
    std::string said = fakeOutput(); // said before the closing count, which never comes
    EXPECT_EQ(said.substr(said.rfind("\n×") + 1),
              "×13行目: この指定は変換できません: RenFiles = Old.Files\n"
              "出力ファイルが既にあります。上書きはしません: C:\\work\\i386\\INFINST.INF\n");
}

TEST_F(ConvRunTest, Refusals) {
    struct Row {
        std::vector<std::string> arguments;
        std::string inf;  // stored as C:\work\in.inf unless empty
        std::string said; // after the banner
    } rows[] = {
        {{}, "", "使用法: infconv.exe <INFファイル> [<出力INFファイル>]\n"},
        {{"a.inf", "b.inf", "c.inf"},
         "",
         "使用法: infconv.exe <INFファイル> [<出力INFファイル>]\n"},
        {{"C:\\work\\in.inf", "out.txt"},
         "",
         "出力ファイルの名前は .inf で終わる必要があります: out.txt\n"},
        {{"C:\\work\\" + std::string(260, 'a') + ".inf"},
         "",
         "パスが長すぎます: C:\\work\\" + std::string(260, 'a') + ".inf\n"},
        {{"C:\\work\\in.inf"},
         std::string("\xFF\xFE[\0\x42\x30", 6),
         "変換元: C:\\work\\in.inf\n"
         "このINFファイルはUnicode(UTF-16)形式で、ASCII以外の文字を含むため変換できません。\n"
         "INFファイルをShift-JIS形式で保存し直してから実行してください。\n"},
        {{"C:\\work\\in.inf"},
         std::string(256 * 1024 + 1, ' '),
         "変換元: "
         "C:\\work\\in.inf\nINFファイルが大きすぎるため変換できません（262144バイトまで）。\n"},
        {{"C:\\work\\in.inf"},
         "[Version]\nSignature=$Windows NT$\nClass=Net\n[Install]\nCopyFiles=a\n",
         "変換元: C:\\work\\in.inf\n"
         "このINFファイルには[DefaultInstall.NTx86]、[DefaultInstall.NT]、[DefaultInstall]の"
         "いずれもないため変換できません。\n"
         "プラグアンドプレイ対応ハードウェア用のINFファイルは変換できません。\n"},
        {{"C:\\work\\in.inf"},
         "[DefaultInstall]\nDelFiles = Old\n",
         "変換元: C:\\work\\in.inf\nインストールセクション: [DefaultInstall]\n\n"
         "×2行目: この指定は変換できません: DelFiles = Old\n"
         "\n注意: 1件の項目を変換できませんでした。上の×の行を確認してください。\n"
         "変換できる内容がなかったため、ファイルは作成しませんでした。\n"},
    };
    for (const Row &row : rows) {
        SetUp();
        if (!row.inf.empty())
            fakeAddFile("C:\\work\\in.inf", row.inf);
        EXPECT_EQ(runConverterWith(row.arguments), 1) << row.said;
        EXPECT_EQ(fakeOutput(), BANNER + row.said);
        EXPECT_FALSE(fakeFileExists("C:\\work\\i386\\INFINST.INF"));
        EXPECT_FALSE(fakeFileExists("C:\\work\\INFINST.INF"));
    }
}

TEST_F(ConvRunTest, InputsThatCannotBeRead) {
    struct Row {
        std::string path;
        FakeOperation failing;
        std::string said;
    } rows[] = {
        {"C:\\work\\missing.inf", FAKE_OPERATION_COUNT,
         "INFファイルが見つかりません: C:\\work\\missing.inf\n"},
        {"C:\\work\\i386", FAKE_OPERATION_COUNT,
         "フォルダが指定されました。変換するINFファイルを指定してください: C:\\work\\i386\n"},
        {"C:\\work\\drv.inf", FAKE_OPEN_FILE, "INFファイルを開けませんでした: C:\\work\\drv.inf\n"},
        {"C:\\work\\drv.inf", FAKE_READ_FILE,
         "INFファイルの読み込み中にエラーが発生したため変換できません: C:\\work\\drv.inf\n"},
    };
    for (const Row &row : rows) {
        SetUp();
        if (row.failing != FAKE_OPERATION_COUNT)
            fakeFailCall(row.failing, 1);
        EXPECT_EQ(runConverterWith({row.path}), 1);
        EXPECT_EQ(fakeOutput(), BANNER + ("変換元: " + row.path + "\n") + row.said);
        EXPECT_FALSE(fakeFileExists("C:\\work\\i386\\INFINST.INF"));
    }
}

TEST_F(ConvRunTest, RefusalsSayWhatTheFileIs) {
    const std::string nt = "[Version]\nSignature=\"$Windows NT$\"\n";
    const std::string chicago = "[Version]\nSignature=$CHICAGO$\n[Manufacturer]\n%V%=Models";
    struct Row {
        std::string inf, said;
    } rows[] = {
        {"[Identification]\nOptionType = SCSI\n", "セットアップ用スクリプト"},
        {nt + "[DefaultInstall.NT$ARCH$]\nCopyFiles=a\n",
         "[DefaultInstall.NT$ARCH$]のように$ARCH$"},
        {nt + "[DefaultInstall.NTamd64]\nCopyFiles=a\n",
         "[DefaultInstall.NTamd64]のように別のプロセッサ"},
        {nt + "[DefaultInstall.NTARM64.6.3]\nCopyFiles=a\n", "別のプロセッサ用だけ"},
        {nt + "[DefaultInstall.NTx64]\nCopyFiles=a\n", "プラグアンドプレイ"},
        {chicago + ",NTx86\n[Models.NTx86]\n", "プラグアンドプレイ"},
        {chicago + "\n", "このINFファイルはWindows 95/98/Me用（Signature=$CHICAGO$）"},
        {"[autorun]\nopen=setup.exe\n", "自動実行の設定（autorun.inf、[AutoRun]）"},
        {"[Defines]\nINF_VERSION = 0x00010005\n", "EDK2（UEFIファームウェア）のビルド用"},
        {"[disks]\n1 =. ,\"Display\",disk1\n[display]\n", "Windows 3.1のセットアップ用"},
        {"[Version]\nSignature=\"$Windows 3.1$\"\n[Install]\n",
         "Signature（$Windows NT$など）がなく"},
        {nt + "DriverPackageType = ClassFilter\n[DefaultInstall]\nCopyFiles=@x.sys\n",
         "デバイスクラスのフィルタ（DriverPackageType=ClassFilter）"},
        {nt + "[DefaultInstall.NT]\nAddReg=R\n[R]\nHKLM,"
              "\"System\\CurrentControlSet\\Control\\Class\\{"
              "4D36E967-E325-11CE-BFC1-08002BE10318}\",lowerfilters,0x00010008,dcrypt\n",
         "デバイスクラスのフィルタ（lowerfilters）"},
    };
    for (const Row &row : rows) {
        SetUp();
        fakeAddFile("C:\\work\\in.inf", row.inf);
        EXPECT_EQ(runConverterWith({"C:\\work\\in.inf"}), 1);
        EXPECT_NE(fakeOutput().find(row.said), std::string::npos) << row.inf << fakeOutput();
    }
}

// The driver's files in two folders: the system file in i386, the
// library in the INF file's own folder.
std::string twoFolderInf() {
    std::string inf = DRIVER_INF;
    size_t at = inf.find("drvio.dll = 1");
    return inf.replace(at, strlen("drvio.dll = 1"), "drvio.dll = 2");
}

TEST_F(ConvRunTest, FilesInSeveralFoldersAreCopiedIntoANewFolder) {
    fakeAddFile("C:\\work\\drv.inf", twoFolderInf());
    fakeAddFile("C:\\work\\drvio.dll", "library here");
    ASSERT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 0) << fakeOutput();
    EXPECT_NE(fakeOutput().find("○ファイル: drvio.dll → System32\n"), std::string::npos);
    EXPECT_NE(fakeOutput().find("○コピー: C:\\work\\i386\\drv.sys → C:\\work\\INFINST\\drv.sys\n"
                                "○コピー: C:\\work\\drvio.dll → C:\\work\\INFINST\\drvio.dll\n"),
              std::string::npos)
        << fakeOutput();
    EXPECT_EQ(fakeFileContent("C:\\work\\INFINST\\drvio.dll"), "library here");
    fakeSetInput("1\n");
    EXPECT_EQ(runInstallerWith({"C:\\work\\INFINST\\INFINST.INF"}), 0);
    EXPECT_EQ(fakeFileContent("C:\\WINNT\\System32\\Drivers\\drv.sys"), "driver");
    EXPECT_EQ(fakeFileContent("C:\\WINNT\\System32\\drvio.dll"), "library here");
    // A second run finds the folder made and leaves it alone.
    EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 1);
    EXPECT_NE(
        fakeOutput().find("出力フォルダが既にあります。別の出力INFファイルを指定してください: "
                          "C:\\work\\INFINST\n"),
        std::string::npos);
}

// A run that fails after it began to copy leaves the disk as it was: the
// second copy failing, or the INF file that could not be written.
TEST_F(ConvRunTest, ARunThatFailsHalfWayTakesItsCopiesBack) {
    for (FakeOperation operation : {FAKE_COPY_NEW_FILE, FAKE_WRITE_NEW_FILE}) {
        SetUp();
        fakeAddFile("C:\\work\\drv.inf", twoFolderInf());
        fakeAddFile("C:\\work\\drvio.dll", "library here");
        fakeAddFile("C:\\work\\i386\\drv.sys", "driver", true); // from a CD: its copy too
        fakeFailCall(operation, operation == FAKE_COPY_NEW_FILE ? 2 : 1);
        EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 1) << operation;
        EXPECT_FALSE(fakeFileExists("C:\\work\\INFINST\\drv.sys")) << operation;
        EXPECT_EQ(platformGetFileAttributes("C:\\work\\INFINST"), PLATFORM_NO_ATTRIBUTES)
            << operation;
        EXPECT_EQ(fakeOutput().find("コピーしたものを削除できませんでした"), std::string::npos);
    }
    // What cannot be removed is named.
    SetUp();
    fakeAddFile("C:\\work\\drv.inf", twoFolderInf());
    fakeAddFile("C:\\work\\drvio.dll", "library here");
    fakeFailCall(FAKE_WRITE_NEW_FILE, 1);
    fakeFailCall(FAKE_REMOVE_DIRECTORY, 1);
    EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 1);
    EXPECT_NE(fakeOutput().find("コピーしたものを削除できませんでした: C:\\work\\INFINST\n"),
              std::string::npos);
}

TEST_F(ConvRunTest, AnOutputNamedReceivesTheFilesNeverReplacingADifferentOne) {
    fakeAddDirectory("C:\\out");
    fakeAddFile("C:\\out\\drv.sys", "driver"); // the same file: fine
    ASSERT_EQ(runConverterWith({"C:\\work\\drv.inf", "C:\\out\\x.inf"}), 0) << fakeOutput();
    EXPECT_EQ(fakeFileContent("C:\\out\\drvio.dll"), "library");
    EXPECT_EQ(fakeOutput().find("→ C:\\out\\drv.sys"), std::string::npos);

    SetUp();
    fakeAddDirectory("C:\\out");
    fakeAddFile("C:\\out\\drvio.dll", "another library");
    EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf", "C:\\out\\x.inf"}), 1);
    EXPECT_NE(fakeOutput().find("出力先に内容の違うファイルがあります。上書きはしません: "
                                "C:\\out\\drvio.dll\n"),
              std::string::npos);
    EXPECT_FALSE(fakeFileExists("C:\\out\\drv.sys")); // nothing written
    EXPECT_FALSE(fakeFileExists("C:\\out\\x.inf"));
}

TEST_F(ConvRunTest, WhatWasLeftOutIsSaidInTheOrderOfTheInputsLines) {
    std::string inf = DRIVER_INF;
    // Line 28 names a missing file, found before RenFiles on line 13.
    inf.replace(inf.rfind("drvio.dll"), strlen("drvio.dll"), "gone.dll");
    fakeAddFile("C:\\work\\drv.inf", inf);
    ASSERT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 0) << fakeOutput();
    size_t first = fakeOutput().find("×13行目");
    EXPECT_EQ(fakeOutput().find("×28行目"), fakeOutput().find('\n', first) + 1) << fakeOutput();
}

TEST_F(ConvRunTest, AMissingFileIsReportedWithThePathLookedAt) {
    fakeAddFile("C:\\work\\drv.inf", twoFolderInf()); // no drvio.dll in C:\work
    ASSERT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 0) << fakeOutput();
    EXPECT_NE(fakeOutput().find("×28行目: ファイルがありません: C:\\work\\drvio.dll\n"),
              std::string::npos)
        << fakeOutput();
}

// An image: "MZ", e_lfanew at 0x3C, "PE\0\0", the machine, the optional
// header's size and, 48 bytes into it, the subsystem version; it imports
// nothing.
std::string image(unsigned machine, unsigned major, unsigned minor) {
    std::string bytes(0x80 + 24 + 0xE0, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = static_cast<char>(0x80);
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    bytes[0x84] = static_cast<char>(machine & 0xFF);
    bytes[0x85] = static_cast<char>(machine >> 8);
    bytes[0x80 + 20] = 0xE0;
    bytes[0x80 + 24] = 0x0B; // PE32
    bytes[0x80 + 25] = 0x01;
    bytes[0x80 + 24 + 48] = static_cast<char>(major);
    bytes[0x80 + 24 + 50] = static_cast<char>(minor);
    return bytes;
}

TEST_F(ConvRunTest, ImagesForNT3OnI386Only) {
    struct Row {
        std::string content;
        int exitCode;
        std::string said; // "" for nothing about the image
    } rows[] = {
        {image(0x14C, 3, 10), 0, ""},
        {image(0x14C, 3, 51), 0, ""},
        {image(0x14C, 4, 0), 0, "警告: drv.sys はWindows NT 4.0以降用に作られています。"},
        {image(0x8664, 5, 2), 1,
         "エラー: C:\\work\\i386\\drv.sys はx64 (AMD64)用のプログラムです（マシン0x8664）。"},
        {image(0xAA64, 6, 2), 1, "はARM64用のプログラムです（マシン0xAA64）"},
        {image(0x200, 5, 2), 1, "はIA-64用"},
        {"MZ" + std::string(0x3A, '\0') + "\xF0\xFF\xFF\xFF", 0, ""}, // e_lfanew past the end
        {"MZ", 0, ""},
    };
    for (const Row &row : rows) {
        SetUp();
        fakeAddFile("C:\\work\\i386\\drv.sys", row.content);
        EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf"}), row.exitCode) << fakeOutput();
        EXPECT_EQ(fakeOutput().find("警告: drv.sys") != std::string::npos ||
                      fakeOutput().find("エラー") != std::string::npos,
                  !row.said.empty())
            << fakeOutput();
        EXPECT_NE(fakeOutput().find(row.said), std::string::npos) << fakeOutput();
        EXPECT_EQ(fakeFileExists("C:\\work\\i386\\INFINST.INF"), row.exitCode == 0);
        if (row.exitCode == 1) { // a stop is a stop: nothing more reads as carried over
            std::string after = fakeOutput().substr(fakeOutput().find("エラー"));
            EXPECT_EQ(after.substr(after.find('\n') + 1),
                      "変換を中止しました。ファイルは作成しませんでした。\n");
        }
    }
}

TEST_F(ConvRunTest, PathsAndUnreadableText) {
    // A drive and no separator: the file lies in that drive's folder.
    fakeAddFile("A:drv.inf", DRIVER_INF);
    fakeAddDirectory("A:i386");
    fakeAddFile("A:i386\\drv.sys", "driver");
    fakeAddFile("A:i386\\drvio.dll", "library");
    EXPECT_EQ(runConverterWith({"A:drv.inf"}), 0) << fakeOutput();
    EXPECT_TRUE(fakeFileExists("A:i386\\INFINST.INF"));
    // No room for the new folder's name: the input's folder is named.
    const std::string folder = "C:\\" + std::string(249, 'f') + "\\";
    fakeAddFile(folder + "d.inf", "[SourceDisksNames]\n1=d,,,a\n[SourceDisksFiles]\ny=1\n"
                                  "[DefaultInstall]\nCopyFiles=@x,@y\n[DestinationDirs]\n"
                                  "DefaultDestDir=12\n");
    fakeAddFile(folder + "x", "x");
    fakeAddFile(folder + "a\\y", "y");
    EXPECT_EQ(runConverterWith({folder + "d.inf"}), 1);
    EXPECT_NE(fakeOutput().find("パスが長すぎます: " + folder + "\n"), std::string::npos)
        << fakeOutput();
    // A NUL byte makes its line unreadable; a line feed in the input's name
    // does not end the comment naming it.
    SetUp();
    fakeAddFile("C:\\work\\a\nb.inf",
                std::string(DRIVER_INF) + std::string("[X]\nbad\0line\n", 13));
    EXPECT_EQ(runConverterWith({"C:\\work\\a\nb.inf", "C:\\work\\o.inf"}), 0);
    EXPECT_NE(fakeOutput().find("×35行目: NUL文字を含むため読み込みませんでした。\n"),
              std::string::npos)
        << fakeOutput();
    EXPECT_EQ(fakeFileContent("C:\\work\\o.inf").find("から変換しました: C:\\work\\a?b.inf\r\n"),
              strlen("; infconvが次のファイル"));
}

// Every call of every platform operation that a conversion into a new
// folder makes (the copies, the folder, the new file) can fail, alone or
// with every later call of its kind, and the run still ends cleanly,
// changing nothing outside the input's folder, the registry included.
TEST_F(ConvRunTest, EveryFailingCallEndsTheRunCleanly) {
    FaultRun conversion;
    conversion.prepare = [this] {
        SetUp();
        fakeAddFile("C:\\work\\drv.inf", twoFolderInf());
        fakeAddFile("C:\\work\\drvio.dll", "library here");
    };
    conversion.run = [] { return runConverterWith({"C:\\work\\drv.inf"}); };
    conversion.folder = "C:\\work";
    EXPECT_GT(expectEveryFaultEndsCleanly(conversion), 500);
}

} // namespace
