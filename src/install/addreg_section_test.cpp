// The AddReg section in whole runs: the line format, the value types, the
// existing-key guard with its claimed-key list, and the lines refused.

#include "install/addreg_section.h"

#include <string>

#include "common/capacity.h"
#include "support/installer.h"

namespace {

const std::string SERVICE = "System\\CurrentControlSet\\Services\\Drv";

// An INF file whose AddReg section holds `lines`, with an empty copy
// section beside it.
std::string regInf(const std::string &lines) {
    return std::string(INF_HEAD) + "[Drv.Copy]\n[Drv.AddReg]\n" + lines;
}

std::string line(const std::string &key, const std::string &name, const std::string &flags,
                 const std::string &data) {
    return "HKLM,\"" + key + "\",\"" + name + "\"," + flags + "," + data + "\n";
}

std::string valueLine(const std::string &key, const std::string &name, const std::string &data) {
    return "○対象値: " + key + "\\" + name + " = " + data + "\n";
}

// What pass 3 printed, without the end messages.
std::string installOutput() {
    std::string output = withoutRecordLine(outputAfterNotices());
    size_t start = output.find("AddReg Found: [Drv.AddReg]\n") + 27;
    size_t end = output.find("\n処理が終了しました。");
    return output.substr(start, end - start);
}

std::string dword(uint32_t value) {
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                       static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
}

const char QUESTION[] = "既存のファイルやレジストリキーを上書きしますか？(Y/N) ";
const char KEY_EXISTS[] =
    "キーが既に存在します。本プログラムを使用する場合は一旦キーを削除して下さい。\n";

class AddRegTest : public InstallerTest {
protected:
    void TearDown() override {
        EXPECT_EQ(fakeOpenRegKeys(), 0);
        EXPECT_EQ(fakeHeapBlocks(), 0u) << "the claimed keys are released";
    }
};

TEST_F(AddRegTest, WritesStringsExpandableStringsAndNumbers) {
    std::string inf = regInf(
        line(SERVICE, "Start", "0x00010001", "2") + line(SERVICE, "Hex", "0x00010001", "0x10") +
        line(SERVICE, "Octal", "65537", "010") + line(SERVICE, "Quoted", "0x00010001", "\"2\"") +
        line(SERVICE, "Group", "0", "\"Extended Base\"") +
        line(SERVICE, "Bare", "0", "Extended Base") + line(SERVICE, "Semicolon", "0", "\"a;b\"") +
        line(SERVICE, "ImagePath", "0x00020000", "\"%SystemRoot%\\System32\\drivers\\drv.sys\""));
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(fakeRegValue(SERVICE, "Start").bytes, dword(2));
    EXPECT_EQ(fakeRegValue(SERVICE, "Start").type, 4u);
    EXPECT_EQ(fakeRegValue(SERVICE, "Hex").bytes, dword(16));
    EXPECT_EQ(fakeRegValue(SERVICE, "Octal").bytes, dword(8));
    EXPECT_EQ(fakeRegValue(SERVICE, "Quoted").bytes, dword(2));
    EXPECT_EQ(fakeRegValue(SERVICE, "Group").bytes, std::string("Extended Base", 14));
    EXPECT_EQ(fakeRegValue(SERVICE, "Group").type, 1u);
    EXPECT_EQ(fakeRegValue(SERVICE, "Bare").bytes, std::string("Extended Base", 14));
    EXPECT_EQ(fakeRegValue(SERVICE, "Semicolon").bytes, std::string("a;b", 4));
    FakeRegValue path = fakeRegValue(SERVICE, "ImagePath");
    EXPECT_EQ(path.type, 2u);
    EXPECT_EQ(path.bytes, std::string("%SystemRoot%\\System32\\drivers\\drv.sys", 38));
    EXPECT_NE(installOutput().find(valueLine(SERVICE, "Semicolon", "\"a;b\"")), std::string::npos);
}

TEST_F(AddRegTest, LinesOutsideThePatternAreReportedAndCounted) {
    const std::string unreadable[] = {
        "HKR,\"" + SERVICE + "\",\"A\",0,\"x\"",
        "HKCU,\"" + SERVICE + "\",\"A\",0,\"x\"",
        line(SERVICE, "", "0", "\"x\""),
        line(SERVICE, "B", "0", ""),
        line(SERVICE, "C", "", "1"),
        " " + line(SERVICE, "D", "0", "1"),
        "HKLM, \"" + SERVICE + "\",\"E\",0,1",
        "HKLM,\"" + SERVICE + "\",\"F\",0",
        "hklm,\"" + SERVICE + "\",\"G\",0,1",
        "HKLM, \"" + SERVICE + "\", \"Start\", 0x00010001, 3 ; as real files write it",
        "\f",
        // Flags and data that would reach the registry blanks, quotes and all.
        line(SERVICE, "H", " 0x00010001", "3"),
        line(SERVICE, "I", "0\t", "1"),
        line(SERVICE, "J", "0x00010001", "3 ; three"),
        line(SERVICE, "K", "0", " \"a\""),
        line(SERVICE, "L", "0", "\"a\" "),
        line(SERVICE, "M", "0", "\"a\" ; note"),
        line(SERVICE, "N", "0", "a\"b"),
        line(SERVICE, "O", "0", "\""),
    };
    std::string lines;
    std::string expected;
    for (std::string text : unreadable) {
        if (text.back() == '\n')
            text.pop_back();
        lines += text + "\r\n";
        expected += "AddRegの行を読み取れないため無視しました: " + text + "\n";
    }
    // Lines that ask for nothing are passed over without a word.
    lines += "  ; an indented comment\n \t \n\t;\n";
    EXPECT_EQ(runInf(regInf(lines)), 0);
    EXPECT_EQ(installOutput(), expected + notInstalledNotice(19));
    EXPECT_FALSE(fakeRegKeyExists(SERVICE));
}

// "3" is 3, not 0, and "12abc" is nothing: a value the file did not
// plainly ask for is never written. The numbers are read before the key.
TEST_F(AddRegTest, NumbersAreReadOnlyWhenTheWholeFieldIsOneNumber) {
    const struct {
        const char *flags, *data;
        uint32_t value;
    } accepted[] = {{"65537", "\"3\"", 3}, {"0200001", "010", 8}, {"+0X10001", "-1", 0xFFFFFFFF}};
    std::string lines, expected;
    for (const auto &row : accepted) {
        lines += line(SERVICE, row.flags, row.flags, row.data);
        expected += valueLine(SERVICE, row.flags, row.data);
    }
    for (const char *fields : {"\"65537\",3", "REG_DWORD,1", "0x00010001junk,1", "65537,12abc",
                               "65537,\"\"", "65537,\"3 \"", "65537,%SYMBOL%"}) {
        std::string text = "HKLM,\"Software\\X\",\"V\"," + std::string(fields);
        lines += text + "\n";
        expected += "AddRegの行を読み取れないため無視しました: " + text + "\n";
    }
    EXPECT_EQ(runInf(regInf(lines)), 0);
    EXPECT_EQ(installOutput(), expected + notInstalledNotice(7));
    for (const auto &row : accepted)
        EXPECT_EQ(fakeRegValue(SERVICE, row.flags).bytes, dword(row.value)) << row.flags;
}

TEST_F(AddRegTest, KeysMustLieBelowTheServicesKey) {
    std::string inf = regInf(line("System\\CurrentControlSet\\Control\\X", "A", "0", "1") +
                             line("System\\CurrentControlSet\\Services", "A", "0", "1") +
                             line("System\\CurrentControlSet\\Services\\", "B", "0", "1") +
                             line("System\\CurrentControlSet\\Services\\\\X", "C", "0", "1") +
                             line("system\\currentcontrolset\\services\\lower", "A", "0", "1"));
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(installOutput(),
              "キーが無効です: System\\CurrentControlSet\\Control\\X\n"
              "キーが無効です: System\\CurrentControlSet\\Services\n"
              "キーが無効です: System\\CurrentControlSet\\Services\\\n"
              "キーが無効です: System\\CurrentControlSet\\Services\\\\X\n" +
                  valueLine("system\\currentcontrolset\\services\\lower", "A", "1") +
                  notInstalledNotice(4));
    EXPECT_FALSE(fakeRegKeyExists("System\\CurrentControlSet\\Control\\X"));
    EXPECT_EQ(fakeRegValueCount("System\\CurrentControlSet\\Services"), 0);
    EXPECT_TRUE(fakeRegValue(SERVICE.substr(0, 34) + "Lower", "A").exists);
}

TEST_F(AddRegTest, UnsupportedFlagsCreateTheKeyButWriteNothing) {
    EXPECT_EQ(runInf(regInf(line(SERVICE, "A", "1", "1") + line(SERVICE, "B", "0x00010000", "1"))),
              0);
    EXPECT_EQ(installOutput(),
              valueLine(SERVICE, "A", "1") + "未サポートのレジストリ型: 0x00000001\n" +
                  valueLine(SERVICE, "B", "1") + "未サポートのレジストリ型: 0x00010000\n" +
                  notInstalledNotice(2));
    EXPECT_TRUE(fakeRegKeyExists(SERVICE));
    EXPECT_EQ(fakeRegValueCount(SERVICE), 0);
}

TEST_F(AddRegTest, AnExistingKeyWithoutAConsoleIsRefused) {
    fakeAddRegKey(SERVICE);
    std::string inf = regInf(line(SERVICE, "A", "0", "1") + line(SERVICE + "\\New", "B", "0", "2") +
                             line(SERVICE, "C", "0", "3"));
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(installOutput(), valueLine(SERVICE, "A", "1") + QUESTION + "N\n" + KEY_EXISTS +
                                   valueLine(SERVICE + "\\New", "B", "2") +
                                   valueLine(SERVICE, "C", "3") + KEY_EXISTS +
                                   notInstalledNotice(2));
    EXPECT_EQ(fakeRegValueCount(SERVICE), 0);
    EXPECT_TRUE(fakeRegValue(SERVICE + "\\New", "B").exists);
}

TEST_F(AddRegTest, AYesCoversEveryLaterKeyAndClaimedKeysIgnoreCase) {
    fakeAddRegKey(SERVICE);
    fakeAddRegKey(SERVICE + "2");
    fakeQueueKeys({'y'});
    std::string inf = regInf(line(SERVICE, "A", "0", "1") + line(SERVICE + "2", "B", "0", "2"));
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(installOutput(),
              valueLine(SERVICE, "A", "1") + QUESTION + "y\n" + valueLine(SERVICE + "2", "B", "2"));
    EXPECT_TRUE(fakeRegValue(SERVICE + "2", "B").exists);
}

TEST_F(AddRegTest, AKeyThatCannotBeReadCountsAsExisting) {
    fakeAddUnreadableRegKey(SERVICE);
    EXPECT_EQ(runInf(regInf(line(SERVICE, "A", "0", "1"))), 0);
    EXPECT_EQ(installOutput(),
              valueLine(SERVICE, "A", "1") + QUESTION + "N\n" + KEY_EXISTS + notInstalledNotice(1));
    EXPECT_EQ(fakeRegValueCount(SERVICE), 0);
}

TEST_F(AddRegTest, KeysThatDifferInATrailByteAreTwoKeys) {
    // "\x83\x41" and "\x83\x61" are two katakana; their trail bytes are
    // 'A' and 'a', and a comparison without case must not fold them.
    const std::string claimed = SERVICE + "\\A\x83\x41";
    const std::string existing = SERVICE + "\\A\x83\x61";
    fakeAddRegKey(existing);
    std::string inf = regInf(line(claimed, "A", "0", "1") + line(existing, "B", "0", "2"));
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(installOutput(), valueLine(claimed, "A", "1") + valueLine(existing, "B", "2") +
                                   QUESTION + "N\n" + KEY_EXISTS + notInstalledNotice(1));
    EXPECT_TRUE(fakeRegValue(claimed, "A").exists);
    EXPECT_EQ(fakeRegValueCount(existing), 0);
}

// What this run made is its own: a key it made as the parent of a deeper
// key is taken over at its own first line, and a file already byte for
// byte the one to copy is left as it is, with no question either. The
// question comes only for what existed when the run began, and differs.
TEST_F(AddRegTest, WhatThisRunMadeIsItsOwn) {
    const std::string drivers = "C:\\WINNT\\System32\\Drivers\\";
    struct {
        const char *what;
        std::string before; // a key that exists before the run, or ""
        const char *file;   // drv.sys before the run, or null
        std::string lines;
        std::string expected; // after the copy line
        int keys;             // values written
    } rows[] = {
        {"a parent made on the way", "", nullptr,
         line(SERVICE + "\\Params", "A", "0", "1") + line(SERVICE, "C", "0", "3"),
         valueLine(SERVICE + "\\Params", "A", "1") + valueLine(SERVICE, "C", "3"), 2},
        {"a parent that was there", SERVICE, nullptr,
         line(SERVICE + "\\Params", "A", "0", "1") + line(SERVICE, "C", "0", "3"),
         valueLine(SERVICE + "\\Params", "A", "1") + valueLine(SERVICE, "C", "3") + QUESTION +
             "N\n" + KEY_EXISTS + notInstalledNotice(1),
         1},
        {"the same file", "", "driver", line(SERVICE, "C", "0", "3"),
         "同じファイルが既にあります: " + drivers + "drv.sys\n" + valueLine(SERVICE, "C", "3"), 1},
        {"another file", "", "other", line(SERVICE, "C", "0", "3"),
         QUESTION + std::string("N\nファイルが既にあります: ") + drivers +
             "drv.sys\nこのファイルのコピーは行いません。\n" + valueLine(SERVICE, "C", "3") +
             notInstalledNotice(1),
         1},
    };
    for (const auto &row : rows) {
        fakeReset();
        if (!row.before.empty())
            fakeAddRegKey(row.before);
        if (row.file)
            fakeAddFile(drivers + "drv.sys", row.file);
        fakeAddFile("C:\\work\\drv.sys", "driver");
        std::string inf = std::string(INF_HEAD) + "[Drv.Copy]\ndrv.sys\n[Drv.AddReg]\n" + row.lines;
        EXPECT_EQ(runInf(inf), 0) << row.what;
        std::string output = withoutRecordLine(outputAfterNotices());
        size_t start = output.find("drv.sys\n", output.find("○コピー: ")) + 8;
        EXPECT_EQ(output.substr(start, output.find("\n処理が終了しました。") - start), row.expected)
            << row.what;
        EXPECT_EQ(fakeRegValueCount(SERVICE + "\\Params") + fakeRegValueCount(SERVICE), row.keys)
            << row.what;
    }
}

TEST_F(AddRegTest, TheSixtyFifthKeyIsNotClaimed) {
    std::string lines;
    for (int i = 0; i <= CLAIMED_KEY_CAPACITY; ++i)
        lines += line(SERVICE + std::to_string(i), "V", "0", "1");
    lines += line(SERVICE + "0", "W", "0", "2"); // a claimed key still takes values
    EXPECT_EQ(runInf(regInf(lines)), 0);
    EXPECT_NE(installOutput().find(valueLine(SERVICE + "64", "V", "1") +
                                   "作成するレジストリキーが多すぎます。○対象値"),
              std::string::npos);
    EXPECT_TRUE(fakeRegValue(SERVICE + "63", "V").exists);
    EXPECT_FALSE(fakeRegKeyExists(SERVICE + "64"));
    EXPECT_TRUE(fakeRegValue(SERVICE + "0", "W").exists);
}

TEST_F(AddRegTest, FieldsOverTheirBuffersSkipTheLine) {
    std::string prefix = SERVICE + "\\";
    std::string key255 = prefix + std::string(255 - prefix.size(), 'k');
    std::string name255(255, 'n');
    std::string flags31 = std::string(30, '0') + "1";
    std::string data511 = "\"" + std::string(509, 'd') + "\"";
    std::string tooLong = "AddRegの行が長すぎるため無視しました。\n";
    struct {
        std::string key, name, flags, data;
    } edges[] = {{key255, "A", "0", "1"},
                 {SERVICE, name255, "0", "1"},
                 {SERVICE, "Flags", flags31, "1"},
                 {SERVICE, "Data", "0", data511}};
    for (auto &edge : edges) {
        fakeReset();
        EXPECT_EQ(runInf(regInf(line(edge.key, edge.name, edge.flags, edge.data))), 0);
        EXPECT_EQ(installOutput().find(tooLong), std::string::npos);
        EXPECT_TRUE(fakeRegKeyExists(edge.key)) << edge.name;

        fakeReset();
        std::string key = edge.key == key255 ? key255 + "K" : edge.key;
        std::string name = edge.name == name255 ? name255 + "N" : edge.name;
        std::string flags = edge.flags == flags31 ? flags31 + "0" : edge.flags;
        std::string data = edge.data == data511 ? "\"D" + data511.substr(1) : edge.data;
        EXPECT_EQ(runInf(regInf(line(key, name, flags, data))), 0);
        EXPECT_EQ(installOutput(), tooLong + notInstalledNotice(1));
        EXPECT_FALSE(fakeRegKeyExists(SERVICE)) << edge.name;
    }
}

TEST_F(AddRegTest, FailuresAreReportedAndTheSectionGoesOn) {
    fakeFailCall(FAKE_REG_CREATE_KEY, 1);
    fakeFailCall(FAKE_REG_SET_VALUE, 1);
    std::string inf = regInf(line(SERVICE, "A", "0", "1") + line(SERVICE, "B", "0", "2") +
                             line(SERVICE, "C", "0", "3"));
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(installOutput(), valueLine(SERVICE, "A", "1") + "レジストリキー作成失敗: " + SERVICE +
                                   "\n" + valueLine(SERVICE, "B", "2") +
                                   "レジストリ値の書き込みに失敗しました: " + SERVICE + "\\B\n" +
                                   valueLine(SERVICE, "C", "3") + notInstalledNotice(2));
    EXPECT_TRUE(fakeRegValue(SERVICE, "C").exists);
}

TEST_F(AddRegTest, AFailedHeapCopyWritesNothingForTheLine) {
    // The run's first allocation is the one destination entry; the second
    // is the first claimed key.
    fakeFailCall(FAKE_ALLOCATE, 1);
    std::string inf = regInf(line(SERVICE, "A", "0", "1") + line(SERVICE, "B", "0", "2"));
    EXPECT_EQ(runInf(inf), 0);
    EXPECT_EQ(installOutput(), valueLine(SERVICE, "A", "1") + "メモリが不足しています。\n" +
                                   valueLine(SERVICE, "B", "2") + notInstalledNotice(1));
    EXPECT_FALSE(fakeRegValue(SERVICE, "A").exists);
    EXPECT_TRUE(fakeRegValue(SERVICE, "B").exists);
}

} // namespace
