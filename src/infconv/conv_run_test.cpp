// Whole runs of the converter: the refusals, where the file goes and that
// it never replaces one, and the file read back by the installer itself,
// which must install everything it lists.

#include "infconv/conv_run.h"

#include <gtest/gtest.h>

#include <string>

#include "infconv/conv_test_support.h"
#include "run/test_support.h"

namespace {

const char BANNER[] = "NT 4.0形式ドライバINF変換ツール (infinst用)\n\n";

// A driver INF file of the NT 4.0 kind, its files in i386.
const char DRIVER_INF[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\n"
    "[SourceDisksNames.x86]\r\n1 = %Disk%,,,\\i386\r\n"
    "[SourceDisksFiles.x86]\r\ndrv.sys = 1\r\n"
    "[DestinationDirs]\r\nDefaultDestDir = 12\r\nDrv.Dll.Files = 11\r\n"
    "[DefaultInstall.NTx86]\r\nCopyFiles = Drv.Files, Drv.Dll.Files\r\nRenFiles = Old.Files\r\n"
    "[DefaultInstall.NTx86.Services]\r\nAddService = Drv, 2, Drv.Service\r\n"
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
    }
    void TearDown() override { EXPECT_EQ(fakeOpenFiles(), 0); }
};

TEST_F(ConvRunTest, ReportsEverythingAndWritesBesideTheDriversFiles) {
    EXPECT_EQ(runConverterWith({"C:\\work\\drv.inf"}), 0);
    EXPECT_EQ(fakeOutput(),
              std::string(BANNER) +
                  "変換元: C:\\work\\drv.inf\n"
                  "インストールセクション: [DefaultInstall.NTx86]\n\n"
                  "○コピーセクション: [Drv.Files] → System32\\Drivers（1ファイル）\n"
                  "○コピーセクション: [Drv.Dll.Files] → System32（1ファイル）\n"
                  "×12行目: この指定は変換できません: RenFiles = Old.Files\n"
                  "○サービス: Drv\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Type\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Start\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\ErrorControl\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\ImagePath\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Parameters\\Size\n"
                  "○レジストリ値: System\\CurrentControlSet\\Services\\Drv\\Note\n"
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
    fakeAddFile("C:\\work\\i386\\drv.sys", "driver");
    fakeAddFile("C:\\work\\i386\\drvio.dll", "library");
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
    std::string said = fakeOutput();
    EXPECT_EQ(said.substr(said.rfind("注意")),
              "注意: 1件の項目を変換できませんでした。上の×の行を確認してください。\n"
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
         "[Version]\nClass=Net\n[Install]\nCopyFiles=a\n",
         "変換元: C:\\work\\in.inf\n"
         "このINFファイルには[DefaultInstall.NTx86]、[DefaultInstall.NT]、[DefaultInstall]の"
         "いずれもないため変換できません。\n"
         "プラグアンドプレイ対応ハードウェア用のINFファイルは変換できません。\n"},
        {{"C:\\work\\in.inf"},
         "[Version]\nClass = LegacyDriver\n",
         "変換元: C:\\work\\in.inf\n"
         "このINFファイルは既にinfinstの形式です。変換せずにinfinstで直接インストールしてください。"
         "\n"},
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

TEST_F(ConvRunTest, AMissingFileIsReportedOnStandardError) {
    EXPECT_EQ(runConverterWith({"C:\\work\\missing.inf"}), 1);
    EXPECT_EQ(fakeErrorOutput(), "INFファイルを開けませんでした。: No such file or directory\n");
}

} // namespace
