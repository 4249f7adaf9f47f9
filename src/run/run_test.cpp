// Whole runs of the installer: the gate, finding the INF file, the
// agreement, the checks and the census, and the exact conversation of a
// complete installation.

#include "run/run.h"

#include <string>

#include "run/test_support.h"

namespace {

const char BANNER[] = "Window NT3.x用 ドライバINFインストーラ\n\n";
const char PRESS_KEY[] = "\n終了するには何かキーを押してください\n";
const char NOTICES[] =
    "本プログラムはWindows NT 3.x向けのドライバINFインストーラです。\n"
    "●WinNT4以降はINFファイル右クリック→インストールを使用して下さい。\n"
    "●対応形式ではないドライバINFファイルは指定しないで下さい。\n"
    "●既存のファイルやレジストリキーがある場合は上書きされます。\n"
    "●本プログラムは無保証です。思い付く限りの安全策をとっていますが、想定外の環境やINFファイルで"
    "レジストリに変な値が書き込まれてシステムが起動しなくなっても作者は責任を負いません。\n\n"
    "上記に同意する場合は1を入力してEnterを押して下さい。\n"
    "同意できない場合はそのままEnterを押して中断して下さい。\n";

std::string opening(const std::string &path) {
    return std::string(BANNER) + "INFファイル: " + path + "\n\n" + NOTICES;
}

class RunTest : public InstallerTest {
protected:
    void TearDown() override {
        EXPECT_EQ(fakeOpenFiles(), 0);
        EXPECT_EQ(fakeHeapBlocks(), 0u);
    }
};

TEST_F(RunTest, ACompleteInstallationSaysExactlyThis) {
    fakeAddFile("C:\\work\\drv.sys", "sys");
    std::string inf =
        "[Version]\r\nClass = LegacyDriver ; comment\r\n"
        "[DestinationDirs]\r\nDefaultDestDir = 12\r\n\r\n"
        "[Drv.Copy]\r\ndrv.sys\r\n"
        "[Drv.AddReg]\r\n"
        "HKLM,\"System\\CurrentControlSet\\Services\\Drv\",\"Start\",0x00010001,3\r\n";
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(fakeOutput(),
              opening("C:\\work\\driver.inf") +
                  "DestinationDirs Found: [DestinationDirs]\n"
                  "DefaultDestDir = 12\n"
                  "Copy Found: [Drv.Copy]\n"
                  "AddReg Found: [Drv.AddReg]\n"
                  "○コピー: C:\\work\\drv.sys -> C:\\WINNT\\System32\\Drivers\\drv.sys\n"
                  "○対象値: System\\CurrentControlSet\\Services\\Drv\\Start = 3\n"
                  "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n" +
                  PRESS_KEY);
    EXPECT_EQ(fakeErrorOutput(), "");
    EXPECT_EQ(fakeKeyReads(), 1);
}

TEST_F(RunTest, TheGateRefusesNt4AndLaterAndAFailedVersionCall) {
    const std::string refused =
        std::string(BANNER) +
        "本プログラムはWindows NT3.x向けのドライバINFインストーラです。\n"
        "Windows NT4.0以降はINFファイル右クリック→インストールを使用して下さい。\n" +
        PRESS_KEY;
    struct {
        bool succeeds;
        unsigned long platformId, major;
        bool refusedExpected;
    } cases[] = {{true, 2, 4, true},
                 {true, 2, 10, true},
                 {false, 2, 3, true},
                 {true, 2, 3, false},
                 {true, 1, 4, false}};
    for (auto &c : cases) {
        fakeReset();
        fakeSetVersion(c.succeeds, c.platformId, c.major);
        EXPECT_EQ(runInstallerWith({"x.txt"}), 1);
        EXPECT_EQ(fakeOutput() == refused, c.refusedExpected) << c.platformId << " " << c.major;
    }
}

TEST_F(RunTest, WrongArgumentsAndMissingInfFiles) {
    EXPECT_EQ(runInstallerWith({"a.inf", "b.inf"}), 1);
    EXPECT_EQ(fakeOutput(),
              std::string(BANNER) + "使用法: infinst.exe <infファイルパス>\n" + PRESS_KEY);

    const std::string notInf = std::string(BANNER) + "INFファイルではありません。" + PRESS_KEY;
    for (const char *path : {"driver.inf.bak", "C:\\dir.inf\\driver", "noextension"}) {
        fakeReset();
        EXPECT_EQ(runInstallerWith({path}), 1);
        EXPECT_EQ(fakeOutput(), notInf) << path;
    }
    fakeReset();
    EXPECT_EQ(runInstallerWith({}), 1); // nothing in the current directory
    EXPECT_EQ(fakeOutput(), notInf);
}

TEST_F(RunTest, TheInfFileIsFoundInTheCurrentDirectory) {
    struct {
        const char *directory, *expected;
    } cases[] = {{"C:\\work", "C:\\work\\FOUND.INF"}, {"C:\\", "C:\\FOUND.INF"}};
    for (auto &c : cases) {
        fakeReset();
        fakeSetCurrentDirectory(c.directory);
        fakeAddFile("readme.txt", "");
        fakeAddFile("FOUND.INF", "");
        fakeAddFile("second.inf", "");
        EXPECT_EQ(runInstallerWith({}), 1); // declined: no input
        EXPECT_EQ(fakeOutput(), opening(c.expected));
    }
    fakeReset();
    fakeAddFile("found.inf", "");
    fakeFailCall(FAKE_GET_CURRENT_DIRECTORY, 1);
    EXPECT_EQ(runInstallerWith({}), 1);
    EXPECT_EQ(fakeOutput(), std::string(BANNER) + "INFファイルではありません。" + PRESS_KEY);
}

TEST_F(RunTest, InfPathsOver259CharactersAreRefused) {
    const std::string tooLong = std::string(BANNER) + "INFファイルのパスが長すぎます。" + PRESS_KEY;
    std::string fits = "C:\\" + std::string(252, 'p') + ".inf"; // 259 characters
    EXPECT_EQ(runInstallerWith({fits}), 1);
    EXPECT_EQ(fakeOutput(), opening(fits));

    fakeReset();
    EXPECT_EQ(runInstallerWith({"C:\\" + std::string(253, 'p') + ".inf"}), 1);
    EXPECT_EQ(fakeOutput(), tooLong);

    // The composed path: "C:\" + 250 + "\" + "d.inf" is 259 characters.
    for (size_t length : {250u, 251u}) {
        fakeReset();
        fakeSetCurrentDirectory("C:\\" + std::string(length, 'c'));
        fakeAddFile("d.inf", "");
        EXPECT_EQ(runInstallerWith({}), 1);
        std::string composed = "C:\\" + std::string(length, 'c') + "\\d.inf";
        EXPECT_EQ(fakeOutput(), length == 250 ? opening(composed) : tooLong);
    }
}

TEST_F(RunTest, OnlyATypedOneIsAgreement) {
    fakeAddFile("C:\\work\\driver.inf", "");
    for (const char *input : {"2\n", "\n", "", " 1\n"}) {
        fakeReset();
        fakeSetInput(input);
        EXPECT_EQ(runInstallerWith({"C:\\work\\driver.inf"}), 1);
        EXPECT_EQ(fakeOutput(), opening("C:\\work\\driver.inf"));
        EXPECT_EQ(fakeKeyReads(), 0);
    }
}

TEST_F(RunTest, AMissingInfFileIsReportedOnStandardError) {
    fakeSetInput("1x\n");
    EXPECT_EQ(runInstallerWith({"C:\\work\\missing.inf"}), 1);
    EXPECT_EQ(fakeOutput(), opening("C:\\work\\missing.inf") + PRESS_KEY);
    EXPECT_EQ(fakeErrorOutput(), "INFファイルを開けませんでした。: No such file or directory\n");
}

TEST_F(RunTest, FailedChecksEndTheRunBeforeAnythingIsInstalled) {
    struct {
        const char *inf, *messages;
    } cases[] = {
        {"[DestinationDirs]\nDefaultDestDir=12\n[A.Copy]\n[A.AddReg]\n",
         "このINFファイルはLegacyDriverではないため処理を中止します。\n"
         "INF内でClass=LegacyDriverを指定する必要があります。\n"},
        {"[DestinationDirs]\nClass=LegacyDriver\nDefaultDestDir=12\n[A.Copy]\n[A.AddReg]\n",
         "このINFファイルはLegacyDriverではないため処理を中止します。\n"
         "INF内でClass=LegacyDriverを指定する必要があります。\n"},
        {"Class=LegacyDriver\n[A.Copy]\n[A.AddReg]\n",
         "このINFファイルはDestinationDirsがないため処理を中止します。\n"
         "INF内でDestinationDirsを指定する必要があります。\n"},
        {"Class=LegacyDriver\n[DestinationDirs]\nA.Copy=11\n[X]\nDefaultDestDir=12\n",
         "このINFファイルはDestinationDirsにDefaultDestDirがないため処理を中止します。\n"
         "INF内でDefaultDestDirを指定する必要があります。\n"},
        {"Class=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n[A.Copy]\n",
         "このINFファイルは複雑な内容のため、安全のため処理を中止します。\n"
         "AddRegのセクションは1つだけ含める必要があります。\n"},
        {"Class=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n[A.Copy]\n[A.AddReg]\n[B."
         "AddReg]\n",
         "このINFファイルは複雑な内容のため、安全のため処理を中止します。\n"
         "AddRegのセクションは1つだけ含める必要があります。\n"},
        {"Class=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n[A.AddReg]\n[Files]\n",
         "このINFファイルにCopyセクションが見つからなかったため処理を中止します。\n"},
    };
    for (auto &c : cases) {
        fakeReset();
        fakeAddFile("C:\\work\\a.sys", "a");
        EXPECT_EQ(runInf(c.inf), 1) << c.inf;
        std::string output = outputAfterNotices();
        EXPECT_EQ(output.substr(output.size() - strlen(c.messages) - strlen(PRESS_KEY)),
                  c.messages + std::string(PRESS_KEY))
            << c.inf;
        EXPECT_EQ(fakeKeyReads(), 1);
    }
}

TEST_F(RunTest, TheCensusAndTheInstallationPassFollowTheHeaders) {
    fakeAddFile("C:\\work\\a.sys", "a");
    std::string inf = "Class=LegacyDriver\n"
                      "[DestinationDirs]\nDefaultDestDir=10\nListed=11\nOdd.Copy=13\n"
                      "[destinationdirs]\nMore=12\n"
                      "[Odd.Copy]\na.sys\n"
                      "[Listed]\na.sys\n"
                      "[Unlisted.Copy]\na.sys\n"
                      "[More]\n  [Indented.Copy]\n"
                      "[Drv.AddReg]\n";
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(
        outputAfterNotices(),
        "DestinationDirs Found: [DestinationDirs]\n"
        "DefaultDestDir = 10\nListed = 11\nOdd.Copy = 13\n"
        "DestinationDirs Found: [destinationdirs]\nMore = 12\n"
        "Copy Found: [Odd.Copy]\nCopy Found: [Listed]\nCopy Found: [Unlisted.Copy]\n"
        "Copy Found: [More]\nCopy Found: [Indented.Copy]\nAddReg Found: [Drv.AddReg]\n"
        "セクション Odd.Copy の送り先ディレクトリは非対応です\n"
        "○コピー: C:\\work\\a.sys -> C:\\WINNT\\System32\\a.sys\n"
        "○コピー: C:\\work\\a.sys -> C:\\WINNT\\a.sys\n"
        "○コピー: C:\\work\\  [Indented.Copy] -> C:\\WINNT\\System32\\Drivers\\  [Indented.Copy]\n"
        "ファイルコピーに失敗しました: C:\\work\\  [Indented.Copy]\n"
        "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n" +
            std::string(PRESS_KEY));
    EXPECT_TRUE(fakeFileExists("C:\\WINNT\\a.sys"));
}

} // namespace
