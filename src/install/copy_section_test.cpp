// Copy sections in whole runs: what is copied where, the overwrite
// question, and the lines that are refused.

#include "inf/names.h"
#include "install/copy_section.h"

#include <string>

#include "support/installer.h"

namespace {

const std::string DRIVERS = "C:\\WINNT\\System32\\Drivers\\";

// An INF file whose one copy section lists `lines`, into the Drivers
// directory.
std::string copyInf(const std::string &lines) {
    return std::string(INF_HEAD) + "[Drv.Copy]\n" + lines + "[Drv.AddReg]\n";
}

std::string copying(const std::string &source, const std::string &destination) {
    return "○コピー: " + source + " -> " + destination + "\n";
}

// What pass 3 printed: everything after the census lines.
std::string installOutput() {
    std::string output = withoutRecordLine(outputAfterNotices());
    size_t at = output.find("AddReg Found: [Drv.AddReg]\n");
    return output.substr(at + 27);
}

const char FINISHED[] = "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n"
                        "\n終了するには何かキーを押してください\n";

class CopySectionTest : public InstallerTest {};

TEST_F(CopySectionTest, CopiesEveryLineIntoAllThreeDirectories) {
    fakeAddFile("C:\\work\\a.sys", "driver");
    fakeAddFile("C:\\work\\a.dll", "library");
    fakeAddFile("C:\\work\\a.hlp", "help");
    std::string inf = std::string(INF_HEAD) + "Dll.Copy=11\nHelp.Copy = 10\n" +
                      "[Sys.Copy]\na.sys\n[Dll.Copy]\na.dll\n[Help.Copy]\na.hlp\n[X.AddReg]\n";
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(fakeFileContent(DRIVERS + "a.sys"), "driver");
    EXPECT_EQ(fakeFileContent("C:\\WINNT\\System32\\a.dll"), "library");
    EXPECT_EQ(fakeFileContent("C:\\WINNT\\a.hlp"), "help");
    EXPECT_NE(withoutRecordLine(fakeOutput())
                  .find(copying("C:\\work\\a.hlp", "C:\\WINNT\\a.hlp") + FINISHED),
              std::string::npos);
}

TEST_F(CopySectionTest, AMissingSourceIsReportedAndTheNextLineStillCopied) {
    fakeAddFile("C:\\work\\b.sys", "b");
    EXPECT_EQ(runInf(copyInf("missing.sys\nb.sys\n")), 0);
    EXPECT_EQ(installOutput(), copying("C:\\work\\missing.sys", DRIVERS + "missing.sys") +
                                   "ファイルコピーに失敗しました: C:\\work\\missing.sys\n" +
                                   copying("C:\\work\\b.sys", DRIVERS + "b.sys") +
                                   notInstalledNotice(1) + FINISHED);
    EXPECT_EQ(fakeFileContent(DRIVERS + "b.sys"), "b");
}

TEST_F(CopySectionTest, LinesAreTakenWholeAndADirectoryFailsTheCopy) {
    fakeAddFile("C:\\work\\c.sys", "c");
    fakeAddDirectory(DRIVERS + "dir.sys");
    fakeAddFile("C:\\work\\dir.sys", "d");
    EXPECT_EQ(runInf(copyInf("c.sys ; comment\n  c.sys\nnew.sys,old.sys\ndir.sys\n")), 0);
    std::string output = installOutput();
    EXPECT_NE(output.find("失敗しました: C:\\work\\c.sys ; comment\n"), std::string::npos);
    EXPECT_NE(output.find("失敗しました: C:\\work\\  c.sys\n"), std::string::npos);
    EXPECT_NE(output.find("失敗しました: C:\\work\\new.sys,old.sys\n"), std::string::npos);
    EXPECT_NE(output.find("失敗しました: C:\\work\\dir.sys\n"), std::string::npos);
    EXPECT_EQ(output.find("上書き"), std::string::npos); // a directory brings no question
}

TEST_F(CopySectionTest, ExistingFilesBringOneQuestion) {
    for (int key : {'n', 'Y'}) {
        fakeReset();
        fakeAddFile("C:\\work\\e1.sys", "new1");
        fakeAddFile("C:\\work\\e2.sys", "new2");
        fakeAddFile(DRIVERS + "e1.sys", "old1");
        fakeAddFile(DRIVERS + "e2.sys", "old2");
        fakeQueueKeys({'x', key, 'n'});
        EXPECT_EQ(runInf(copyInf("e1.sys\ne2.sys\n")), 0);
        std::string output = installOutput();
        EXPECT_EQ(output.find("(Y/N)"), output.rfind("(Y/N)")) << "one question";
        if (key == 'n') {
            EXPECT_EQ(output, copying("C:\\work\\e1.sys", DRIVERS + "e1.sys") +
                                  "既存のファイルやレジストリキーを上書きしますか？(Y/N) n\n"
                                  "ファイルが既にあります: " +
                                  DRIVERS +
                                  "e1.sys\n"
                                  "このファイルのコピーは行いません。\n" +
                                  copying("C:\\work\\e2.sys", DRIVERS + "e2.sys") +
                                  "ファイルが既にあります: " + DRIVERS +
                                  "e2.sys\n"
                                  "このファイルのコピーは行いません。\n" +
                                  notInstalledNotice(2) + FINISHED);
            EXPECT_EQ(fakeFileContent(DRIVERS + "e2.sys"), "old2");
        } else {
            EXPECT_EQ(fakeFileContent(DRIVERS + "e1.sys"), "new1");
            EXPECT_EQ(fakeFileContent(DRIVERS + "e2.sys"), "new2");
        }
    }
}

// A copy line names one file directly in its directory: never a path
// that could climb out, nor a subfolder. A trail byte 0x5C is no
// separator: 0x95 0x5C is one kanji.
TEST_F(CopySectionTest, NamesThatReachOutsideTheDirectoryAreRefused) {
    for (const char *name :
         {"..\\..\\evil.sys", "..", "a/../../b", "\\evil.sys", "/evil.sys", "C:evil.sys",
          "a.sys:stream", ". .", "...", "NUL", "con.sys", "Com1.dll", "LPT9 .txt", "etc\\hosts",
          "system\\revi.drv", "sub/a.sys", "x\\.\\y", "\x95\x5C\\x.sys", "\x83\x5C\\\x95\x5C.sys"})
        EXPECT_TRUE(isUnsafeFileName(name)) << name;
    for (const char *name :
         {"a..b.sys", "..a", ".hidden", "a.", "console.sys", "com10.dll", "lpt0", "nul_drv.sys",
          "xcon.sys", "\x95\x5C.sys", "\x95\x5C..", "\x95\x5CNUL"})
        EXPECT_FALSE(isUnsafeFileName(name)) << name;

    fakeAddFile("C:\\evil.sys", "evil");
    fakeAddFile("C:\\work\\etc\\hosts", "hosts");
    EXPECT_EQ(runInf(copyInf("..\\..\\..\\evil.sys\netc\\hosts\n")), 0);
    EXPECT_EQ(installOutput(), "ファイル名が不正です: ..\\..\\..\\evil.sys\n"
                               "ファイル名が不正です: etc\\hosts\n" +
                                   notInstalledNotice(2) + FINISHED);
    EXPECT_EQ(fakeCallCount(FAKE_COPY_FILE), 0);
}

TEST_F(CopySectionTest, PathsOver259CharactersAreRefusedAfterTheNameCheck) {
    // C:\WINNT\System32\Drivers\ is 26 characters, C:\work\ 8.
    std::string fits(233, 'f');
    std::string over(234, 'o');
    fakeAddFile("C:\\work\\" + fits, "fits");
    EXPECT_EQ(runInf(copyInf(fits + "\n" + over + "\n..\\" + over + "\n")), 0);
    EXPECT_EQ(installOutput(),
              copying("C:\\work\\" + fits, DRIVERS + fits) + "パスが長すぎます: " + over + "\n" +
                  "ファイル名が不正です: ..\\" + over + "\n" + notInstalledNotice(2) + FINISHED);
    EXPECT_EQ(fakeFileContent(DRIVERS + fits), "fits");
}

TEST_F(CopySectionTest, TheSourcePathMustFitToo) {
    // An INF directory of 240 characters and a name of 19 make 259.
    std::string directory = "C:\\" + std::string(236, 'i') + "\\";
    fakeAddDirectory(directory);
    fakeAddFile(directory + "driver.inf",
                copyInf(std::string(19, 's') + "\n" + std::string(20, 't') + "\n"));
    fakeAddFile(directory + std::string(19, 's'), "s");
    fakeSetInput("1");
    EXPECT_EQ(runInstallerWith({directory + "driver.inf"}), 0);
    EXPECT_EQ(fakeFileContent(DRIVERS + std::string(19, 's')), "s");
    EXPECT_NE(installOutput().find("パスが長すぎます: " + std::string(20, 't') + "\n"),
              std::string::npos);
}

TEST_F(CopySectionTest, AnInfPathWithoutBackslashTakesSourcesFromTheCurrentDirectory) {
    fakeAddFile("C:\\work\\driver.inf", copyInf("rel.sys\n"));
    fakeAddFile("C:\\work\\rel.sys", "rel");
    fakeSetInput("1");
    EXPECT_EQ(runInstallerWith({"driver.inf"}), 0);
    EXPECT_NE(fakeOutput().find(copying("rel.sys", DRIVERS + "rel.sys")), std::string::npos);
    EXPECT_EQ(fakeFileContent(DRIVERS + "rel.sys"), "rel");
}

TEST_F(CopySectionTest, ACopyFromReadOnlyMediaCanBeReplacedLater) {
    // When the attribute cannot be cleared nothing is said, and then the
    // next installation cannot replace the file, as on Windows.
    for (bool clearFails : {false, true}) {
        fakeReset();
        fakeAddFile("C:\\work\\ro.sys", "first", true);
        if (clearFails)
            fakeFailCall(FAKE_SET_FILE_ATTRIBUTES, 1);
        EXPECT_EQ(runInf(copyInf("ro.sys\n")), 0);
        EXPECT_EQ(installOutput(), copying("C:\\work\\ro.sys", DRIVERS + "ro.sys") + FINISHED);
        EXPECT_EQ(fakeFileIsReadOnly(DRIVERS + "ro.sys"), clearFails);
        EXPECT_TRUE(fakeFileIsReadOnly("C:\\work\\ro.sys")); // the source is left alone

        fakeAddFile("C:\\work\\ro.sys", "second", true);
        fakeQueueKeys({'y'});
        EXPECT_EQ(runInf(copyInf("ro.sys\n")), 0);
        EXPECT_EQ(fakeFileContent(DRIVERS + "ro.sys"), clearFails ? "first" : "second");
        EXPECT_EQ(installOutput().find("ファイルコピーに失敗しました") != std::string::npos,
                  clearFails);
    }
}

} // namespace
