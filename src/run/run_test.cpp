// Whole runs of the installer: the gate, finding the INF file, the
// agreement, the checks and the census, and the exact conversation of a
// complete installation.

#include "run/run.h"

#include <string>

#include "support/fault_loop.h"
#include "support/installer.h"

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
        EXPECT_EQ(fakeOpenSearches(), 0);
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
                  "○対象値: System\\CurrentControlSet\\Services\\Drv\\Start = 3\n" +
                  recordLine(inf) +
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
    // NT matches "*.inf" against short names too: "a.info" is "A~1.INF".
    struct {
        std::vector<std::string> names;
        const char *expected;
    } matches[] = {{{"a.info", "b.inf"}, "C:\\work\\b.inf"},
                   {{"a.INFO", "c.Inf", "b.inf"}, "C:\\work\\c.Inf"},
                   {{"a.info"}, nullptr},
                   {{"a.inf2", "a.infx"}, nullptr},
                   {{"a.inf\\", "b.inf"}, "C:\\work\\b.inf"}, // a folder, whatever its name
                   {{"a.inf\\"}, nullptr}};
    for (auto &m : matches) {
        fakeReset();
        for (const std::string &name : m.names)
            name.back() == '\\' ? fakeAddDirectory(name) : fakeAddFile(name, "");
        EXPECT_EQ(runInstallerWith({}), 1);
        EXPECT_EQ(fakeOutput(),
                  m.expected ? opening(m.expected)
                             : std::string(BANNER) + "INFファイルではありません。" + PRESS_KEY);
        EXPECT_EQ(fakeOpenSearches(), 0);
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
                      "[Drv.AddReg]\n"
                      "[Strings]\nDesc = \"Disk Copy] tool\"\nTool = \"AddReg] x\"\na.sys\n";
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(outputAfterNotices(),
              "DestinationDirs Found: [DestinationDirs]\n"
              "DefaultDestDir = 10\nListed = 11\nOdd.Copy = 13\n"
              "DestinationDirs Found: [destinationdirs]\nMore = 12\n"
              "Copy Found: [Odd.Copy]\nCopy Found: [Listed]\nCopy Found: [Unlisted.Copy]\n"
              "Copy Found: [More]\nCopy Found: [Indented.Copy]\nAddReg Found: [Drv.AddReg]\n"
              "セクション Odd.Copy の送り先ディレクトリは非対応です\n"
              "○コピー: C:\\work\\a.sys -> C:\\WINNT\\System32\\a.sys\n"
              "○コピー: C:\\work\\a.sys -> C:\\WINNT\\a.sys\n" +
                  notInstalledNotice(1) + recordLine(inf) +
                  "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n" +
                  std::string(PRESS_KEY));
    EXPECT_TRUE(fakeFileExists("C:\\WINNT\\a.sys"));
}

// A header names its section by the text up to its first ']', which must
// end it; a name that is an AddReg or copy section's only with letter case
// ignored installs nothing. Each header is followed by a copy line.
TEST_F(RunTest, HeadersAreTakenOnlyAsWritten) {
    const std::string mismatch = "セクション名の大文字と小文字が一致しないため無視しました: ";
    const std::string unreadable = "セクションの見出しを読み取れないため無視しました: ";
    const struct {
        const char *header;
        std::string census, installation;
    } rows[] = {
        {"  [Drv.Copy] ; indented", "Copy Found: [Drv.Copy]\n",
         "○コピー: C:\\work\\a.sys -> C:\\WINNT\\System32\\a.sys\n"},
        {"[drv.copy]", "", mismatch + "[drv.copy]\n"},
        {"[drv.Copy]", "Copy Found: [drv.Copy]\n", mismatch + "[drv.Copy]\n"},
        {"[DLL.FILES]", "", mismatch + "[DLL.FILES]\n"},
        {"[X.addreg]", "", mismatch + "[X.addreg]\n"},
        {"[\x83"
         "copy]",
         "", ""},                  // its 'c' is a trail byte
        {"[説明イopy]", "", ""},   // イ is 0x83 0x43: no "Copy]"
        {"[メモアddReg]", "", ""}, // ア is 0x83 0x41: no "AddReg]"
        {"[Drv.Copy] x", "", unreadable + "[Drv.Copy] x\n"},
        {"[Broken.Copy", "", unreadable + "[Broken.Copy\n"},
        {"[ゾ", "", unreadable + "[ゾ\n"}, // 0x83 0x5D: its trail byte is no ']'
        {"[ゾ.Copy]", "Copy Found: [ゾ.Copy]\n",
         "○コピー: C:\\work\\a.sys -> C:\\WINNT\\System32\\Drivers\\a.sys\n"},
    };
    std::string inf = std::string(INF_HEAD) + "Drv.Copy=11\nDll.Files=10\n";
    std::string census, installation;
    for (const auto &row : rows) {
        inf += row.header + std::string("\na.sys\n");
        census += row.census;
        installation += row.installation;
    }
    fakeAddFile("C:\\work\\a.sys", "a");
    EXPECT_EQ(runInf(inf + "[Drv.AddReg]\n"), 0);
    EXPECT_EQ(outputAfterNotices(),
              "DestinationDirs Found: [DestinationDirs]\nDefaultDestDir = 12\nDrv.Copy = 11\n"
              "Dll.Files = 10\n" +
                  census + "AddReg Found: [Drv.AddReg]\n" + installation + notInstalledNotice(7) +
                  recordLine(inf + "[Drv.AddReg]\n") +
                  "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n" +
                  PRESS_KEY);
    EXPECT_FALSE(fakeFileExists("C:\\WINNT\\a.sys"));
}

TEST_F(RunTest, TheInfDirectoryEndsAtItsLastSeparatorOfItsOwn) {
    // In code page 932 "ソ", "表" and "能" end in the byte 0x5C, which is no
    // backslash there. In a single-byte code page the same byte is one.
    struct {
        bool singleByte;
        const char *currentDirectory;
        const char *argument; // null: found in the current directory
        const char *infPath;  // as the program shows it
        const char *copyLine;
        const char *source;
    } cases[] = {
        {false, "C:\\work", "C:\\ドライバソフト\\表\\能.inf", "C:\\ドライバソフト\\表\\能.inf",
         "表.sys", "C:\\ドライバソフト\\表\\表.sys"},
        {false, "C:\\ドライバソフト\\表", nullptr, "C:\\ドライバソフト\\表\\能.inf", "表.sys",
         "C:\\ドライバソフト\\表\\表.sys"},
        {false, "C:\\work", "sample/能.inf", "sample/能.inf", "表.sys", "sample/表.sys"},
        {false, "C:\\work", "a:能.inf", "a:能.inf", "表.sys", "a:表.sys"},
        {false, "C:\\work", "1:d.inf", "1:d.inf", "s.sys", "s.sys"},
        {false, "C:\\work",
         "C:\\work\\\x95\x5C"
         "d.inf",
         "C:\\work\\\x95\x5C"
         "d.inf",
         "s.sys", "C:\\work\\s.sys"},
        {true, "C:\\work",
         "C:\\work\\\x95\x5C"
         "d.inf",
         "C:\\work\\\x95\x5C"
         "d.inf",
         "s.sys",
         "C:\\work\\\x95\x5C"
         "s.sys"},
    };
    for (auto &c : cases) {
        fakeReset();
        if (c.singleByte)
            fakeUseSingleByteCodePage();
        fakeSetCurrentDirectory(c.currentDirectory);
        std::string inf = std::string(INF_HEAD) + "[Drv.Copy]\n" + c.copyLine + "\n[Drv.AddReg]\n";
        fakeAddFile(c.infPath, inf);
        fakeAddFile(c.source, "driver");
        fakeSetInput("1\n");
        EXPECT_EQ(runInstallerWith(c.argument ? std::vector<std::string>{c.argument}
                                              : std::vector<std::string>{}),
                  0)
            << c.infPath;
        std::string destination = std::string("C:\\WINNT\\System32\\Drivers\\") + c.copyLine;
        EXPECT_EQ(fakeOutput().find(opening(c.infPath)), 0u) << c.infPath;
        EXPECT_NE(outputAfterNotices().find("○コピー: " + std::string(c.source) + " -> " +
                                            destination + "\n" + recordLine(inf) +
                                            "\n処理が終了しました"),
                  std::string::npos)
            << c.infPath;
        EXPECT_EQ(fakeFileContent(destination), "driver") << c.infPath;
    }
}

TEST_F(RunTest, AUtf16OrUtf8FileIsRefusedForWhatItIs) {
    const std::string again =
        "INFファイルをShift-JIS形式で保存し直してください。\n" + std::string(PRESS_KEY);
    const std::string utf16 =
        "このINFファイルはUnicode(UTF-16)形式のため処理を中止します。\n" + again;
    const std::string utf8 = "このINFファイルはUTF-8形式のため処理を中止します。\n" + again;
    const std::string inf = std::string(INF_HEAD) + "[Drv.Copy]\n[Drv.AddReg]\n";
    std::string utf16le = "\xFF\xFE";
    std::string utf16be = "\xFE\xFF";
    for (char c : inf) {
        utf16le += std::string{c, '\0'};
        utf16be += std::string{'\0', c};
    }
    struct {
        std::string content;
        std::string refusal; // "" when the file is installed
    } cases[] = {{utf16le, utf16},       {utf16be, utf16},
                 {"\xFF\xFE", utf16},    {"\xEF\xBB\xBF" + inf, utf8},
                 {"\xEF\xBB\xBF", utf8}, {"\xFF\n" + inf, ""},
                 {"\xFE\n" + inf, ""},   {"\xEF\xBB\n" + inf, ""}};
    for (auto &c : cases) {
        fakeReset();
        EXPECT_EQ(runInf(c.content), c.refusal.empty() ? 0 : 1);
        if (!c.refusal.empty()) {
            EXPECT_EQ(outputAfterNotices(), c.refusal);
        }
        EXPECT_EQ(fakeKeyReads(), 1);
    }
}

TEST_F(RunTest, OverLongLinesAreSkippedByEveryPassAndReportedOnce) {
    // A key and a value name of 255 characters each, and flags of 31, so
    // that a REG_DWORD line can be 1023 characters or one more.
    const std::string key = "System\\CurrentControlSet\\Services\\" + std::string(221, 'k');
    const std::string flags = "0x" + std::string(21, '0') + "00010001";
    auto dwordLine = [&](const std::string &name, size_t length, std::string *data) {
        std::string prefix = "HKLM,\"" + key + "\",\"" + name + "\"," + flags + ",";
        *data = "0x" + std::string(length - prefix.size() - 6, '0') + "3039"; // 12345
        return prefix + *data;
    };
    std::string fitsData, cutData;
    const std::string fits = std::string(251, 'n') + "Fits";
    const std::string cut = std::string(252, 'n') + "Cut";
    std::string inf = "[Version]\r\n"
                      "Class=LegacyDriver\r\n"
                      "[DestinationDirs]\r\n"
                      "DefaultDestDir=12\r\n" +
                      std::string(1024, ' ') + "\r\n" + // line 5
                      "Dll.Copy=11\r\n"
                      "[Dll.Copy]\r\n"
                      ";" +
                      std::string(1022, 'c') + "a.sys\r\n" + // line 8
                      "b.sys\r\n"
                      "[Drv.AddReg]\r\n" +
                      dwordLine(fits, 1023, &fitsData) + "\r\n" + dwordLine(cut, 1024, &cutData) +
                      "\r\n"; // line 12
    ASSERT_LT(cutData.size(), 512u);
    fakeAddFile("C:\\work\\a.sys", "a");
    fakeAddFile("C:\\work\\b.sys", "b");
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(
        outputAfterNotices(),
        "DestinationDirs Found: [DestinationDirs]\nDefaultDestDir = 12\n" + longLineNotice(5) +
            "Dll.Copy = 11\n" + longLineNotice(8) + longLineNotice(12) +
            "Copy Found: [Dll.Copy]\nAddReg Found: [Drv.AddReg]\n"
            "○コピー: C:\\work\\b.sys -> C:\\WINNT\\System32\\b.sys\n"
            "○対象値: " +
            key + "\\" + fits + " = " + fitsData + "\n" + notInstalledNotice(3) + recordLine(inf) +
            "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n" + PRESS_KEY);
    EXPECT_FALSE(fakeFileExists("C:\\WINNT\\System32\\a.sys"));
    EXPECT_EQ(fakeRegValue(key, fits).bytes, std::string("\x39\x30\0\0", 4)); // 12345
    EXPECT_EQ(fakeRegValueCount(key), 1);
}

void noSetup() {}

TEST_F(RunTest, TheEndSaysHowManyItemsWereNotInstalled) {
    const std::string service = "HKLM,\"System\\CurrentControlSet\\Services\\Drv";
    const std::string value = service + "\",\"V\",0,\"x\"\n";
    std::string manyKeys;
    for (int i = 0; i <= 64; ++i)
        manyKeys += service + std::to_string(i) + "\",\"V\",0,1\n";
    std::string manyDestinations;
    for (int i = 0; i <= 64; ++i)
        manyDestinations += "S" + std::to_string(i) + "=10\n";
    struct {
        const char *what;
        std::string destinations, copyLines, regLines;
        void (*setup)();
        int count;
    } cases[] = {
        {"copied and written", "", "a.sys\n", value, noSetup, 0},
        {"unsafe name", "", "..\\a.sys\n", "", noSetup, 1},
        {"subfolder", "", "etc\\hosts\n", "", noSetup, 1},
        {"path too long", "", std::string(240, 'p') + "\n", "", noSetup, 1},
        {"copy failed", "", "missing.sys\na.sys\n", "", noSetup, 1},
        {"declined", "", "a.sys\na.sys\n", "",
         [] { fakeAddFile("C:\\WINNT\\System32\\Drivers\\a.sys", "old"); }, 2},
        {"unsupported destination", "Drv.Copy=13\n", "a.sys\nb.sys\n", "", noSetup, 1},
        {"unreadable destination number", "DefaultDestDir=12abc\n", "a.sys\n", "", noSetup, 1},
        {"unreadable AddReg line", "", "", "HKR,,\"V\",0,1\n" + value, noSetup, 1},
        {"AddReg field too long", "", "", service + "\",\"" + std::string(256, 'n') + "\",0,1\n",
         noSetup, 1},
        {"invalid key", "", "", "HKLM,\"Software\\X\",\"V\",0,1\n", noSetup, 1},
        {"key refused", "", "", value + value,
         [] { fakeAddRegKey("System\\CurrentControlSet\\Services\\Drv"); }, 2},
        {"key not created", "", "", value + value, [] { fakeFailCall(FAKE_REG_CREATE_KEY, 1); }, 1},
        {"claimed keys full", "", "", manyKeys, noSetup, 1},
        {"no memory", "", "", value + value, [] { fakeFailCall(FAKE_ALLOCATE, 1); }, 1},
        {"write failed", "", "", value + value, [] { fakeFailCall(FAKE_REG_SET_VALUE, 1); }, 1},
        {"unsupported type", "", "", service + "\",\"V\",1,1\n", noSetup, 1},
        {"everything at once", "Drv.Copy=13\n", "a.sys\n", "HKR\nHKR\n",
         [] { fakeFailCall(FAKE_REG_CREATE_KEY, 1); }, 3},
        // What the file asked for cannot be known, or its files may land
        // nowhere.
        {"over-long line", "", std::string(1024, 'x') + "\na.sys\n", value, noSetup, 1},
        {"stray CR and NUL", "", std::string("a.sys\rb.sys\nc\0.sys\na.sys\n", 25), value, noSetup,
         2},
        {"over-long destination line", std::string(300, 'd') + "=11\n", "a.sys\n", value, noSetup,
         1},
        {"destination table full", manyDestinations, "a.sys\n", value, noSetup, 1},
        {"destination without memory", "Drv.Copy=12\n", "a.sys\n", value,
         [] { fakeFailCall(FAKE_ALLOCATE, 1); }, 1},
    };
    const std::string finished =
        "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n";
    for (auto &c : cases) {
        fakeReset();
        fakeAddFile("C:\\work\\a.sys", "a");
        c.setup();
        std::string inf = "[Version]\nClass=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n" +
                          c.destinations + "[Drv.Copy]\n" + c.copyLines + "[Drv.AddReg]\n" +
                          c.regLines;
        EXPECT_EQ(runInf(inf), 0) << c.what;
        std::string output = outputAfterNotices();
        size_t record = output.find(recordLine(inf));
        if (record != std::string::npos)
            output.erase(record, recordLine(inf).size());
        if (c.count == 0) {
            EXPECT_EQ(output.find("注意"), std::string::npos) << c.what;
            EXPECT_NE(output.find(finished), std::string::npos) << c.what;
        } else {
            EXPECT_NE(output.find(notInstalledNotice(c.count) + finished), std::string::npos)
                << c.what;
        }
    }
}

TEST_F(RunTest, AddServiceLinesOutsideCopyAndAddRegBodiesAreReported) {
    EXPECT_EQ(runInf(std::string(INF_HEAD) +
                     "[Install]\nAddService = D,,S ; svc\naddservice=a,,b\n"
                     "AddServiceX = 1\n[Drv.Copy]\nAddService=x\n[Drv.AddReg]\n"),
              0);
    std::string output = outputAfterNotices();
    EXPECT_NE(output.find("AddReg Found: [Drv.AddReg]\nAddService行には対応していません: "
                          "AddService = D,,S\nAddService行には対応していません: addservice=a,,b\n"
                          "○コピー: C:\\work\\AddService=x"),
              std::string::npos);
    EXPECT_NE(output.find(notInstalledNotice(3)), std::string::npos); // the copy failed too
}

// A failed seek, or a read error (a bad floppy disk) anywhere in the file,
// never passes for the end of the file: the run stops at once.
TEST_F(RunTest, AFailedSeekOrReadStopsTheRunAtOnce) {
    const std::string inf = std::string(INF_HEAD) + std::string(1024, 'x') + "\n[Drv.Copy]\n" +
                            std::string(600, ';') + "\n[Drv.AddReg]\n[Strings]\n";
    const std::string end = "INFファイルの読み込みに失敗しました。\n" + std::string(PRESS_KEY);
    for (FakeOperation operation : {FAKE_SEEK_FILE, FAKE_READ_FILE}) {
        fakeReset();
        EXPECT_EQ(runInf(inf), 0);
        for (int nth = 1, calls = fakeCallCount(operation); nth <= calls; ++nth) {
            fakeReset();
            fakeFailCall(operation, nth);
            EXPECT_EQ(runInf(inf), 1) << operation << " " << nth;
            std::string output = outputAfterNotices();
            EXPECT_EQ(output.substr(output.size() - end.size()), end) << operation << " " << nth;
            EXPECT_EQ(output.find("注意"), std::string::npos) << nth; // though the long line counts
        }
    }
}

// Every call of every platform operation that a whole installation
// makes (finding the INF file in the current directory, copying over
// existing files and keys after a yes) can fail, alone or with every
// later call of its kind, and the run still ends cleanly, writing nothing
// outside the Windows directory and the services key.
TEST_F(RunTest, EveryFailingCallEndsTheRunCleanly) {
    FaultRun installation;
    installation.prepare = [] {
        fakeAddFile("C:\\work\\a.info", ""); // found by the search, then passed over
        fakeAddFile("C:\\work\\driver.inf",
                    std::string(INF_HEAD) +
                        "Help.Copy=10\n[Drv.AddReg]\n"
                        "HKLM,\"System\\CurrentControlSet\\Services\\Drv\",\"S\",0,\"表\"\n"
                        "HKLM,\"System\\CurrentControlSet\\Services\\Old\",\"T\",0x10001,1\n"
                        "[Drv.Copy]\ndrv.sys\n[Help.Copy]\ndrv.hlp\n");
        fakeAddFile("C:\\work\\drv.sys", "sys");
        fakeAddFile("C:\\work\\drv.hlp", "help", true);
        fakeAddFile("C:\\WINNT\\System32\\Drivers\\drv.sys", "old");
        fakeAddRegKey("System\\CurrentControlSet\\Services\\Old");
        fakeSetInput("1\n");
        fakeQueueKeys({'y'});
    };
    installation.run = [] { return runInstallerWith({}); };
    installation.folder = "C:\\WINNT";
    installation.key = "System\\CurrentControlSet\\Services";
    EXPECT_GT(expectEveryFaultEndsCleanly(installation), 500);
}

} // namespace
