// The uninstaller in whole runs on the fake platform: one table per rule
// (files, values, keys), the refusals and the agreement.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "infundo/infundo_capacity.h"
#include "infundo/undo_run.h"
#include "platform/platform.h"
#include "support/fake.h"
#include "support/fault_loop.h"
#include "support/run_program.h"

namespace {

const std::string SERVICE = "System\\CurrentControlSet\\Services\\Drv";
const std::string PARAMS = SERVICE + "\\Parameters";
const std::string SOURCE = "C:\\work\\drv.sys";
const std::string TARGET = "C:\\WINNT\\System32\\Drivers\\drv.sys";
const std::string START = std::string("\x02\0\0\0", 4);

const char INF[] = "[Version]\nClass=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n"
                   "[Drv.Copy]\ndrv.sys\n[Drv.AddReg]\n"
                   "HKLM,\"System\\CurrentControlSet\\Services\\Drv\",\"Start\",0x00010001,2\n"
                   "HKLM,\"System\\CurrentControlSet\\Services\\Drv\\Parameters\",\"P\",0,\"a\"\n";

void setValue(const std::string &key, const char *name, unsigned long type, const std::string &b) {
    PlatformRegKey *handle = platformRegCreateKey(key.c_str());
    platformRegSetValue(handle, name, type, b.data(), static_cast<unsigned long>(b.size()));
    platformRegCloseKey(handle);
}

// What the installer leaves after installing INF.
void installed() {
    fakeAddFile("C:\\work\\driver.inf", INF);
    fakeAddFile(SOURCE, "driver");
    fakeAddFile(TARGET, "driver");
    setValue(SERVICE, "Start", PLATFORM_REG_DWORD, START);
    setValue(PARAMS, "P", PLATFORM_REG_SZ, std::string("a", 2));
}

int runUndo(const std::string &input = "1\n",
            const std::vector<std::string> &args = {"driver.inf"}) {
    fakeSetInput(input);
    return runProgram(runUninstaller, "infundo.exe", args);
}

bool printed(const std::string &text) {
    return fakeOutput().find(text) != std::string::npos;
}

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeReset();
        installed();
    }
    void TearDown() override {
        EXPECT_EQ(fakeOpenRegKeys(), 0);
        EXPECT_EQ(fakeOpenFiles(), 0);
        EXPECT_EQ(fakeHeapBlocks(), 0u);
    }
};

TEST_F(UndoTest, TakesBackEverythingAndASecondRunFindsNothing) {
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("○削除するファイル: " + TARGET + "\n○削除する値: " + SERVICE +
                        "\\Start\n○削除する値: " + PARAMS + "\\P\n○削除するキー: " + PARAMS +
                        "\n○削除するキー: " + SERVICE + "\n"));
    EXPECT_TRUE(printed("\n削除が終了しました。"));
    EXPECT_FALSE(printed("注意"));
    EXPECT_FALSE(fakeFileExists(TARGET));
    EXPECT_FALSE(fakeRegKeyExists(SERVICE));
    EXPECT_TRUE(fakeRegKeyExists("System\\CurrentControlSet\\Services"));
    fakeReset();
    fakeAddFile("C:\\work\\driver.inf", INF);
    fakeAddFile(SOURCE, "driver");
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("削除の計画:\n\n削除するものは見つかりませんでした。\n"));
}

TEST_F(UndoTest, FileRule) {
    struct {
        const char *target; // null: missing
        const char *source; // null: missing
        bool inUse;
        bool failRestart;
        const char *expected;
        bool stays;
    } cases[] = {
        {"driver", "driver", false, false, "ファイルを削除しました: ", false},
        {"driver", "driver", false, true, "ファイルを削除しました: ", false}, // read-only
        {"driver2", "driver", false, false, "インストールされた内容から変更されています", true},
        {"drive", "driver", false, false, "インストールされた内容から変更されています", true},
        {"driver", nullptr, false, false, "比較する元のファイルがありません: drv.sys\n", true},
        {"driver", "driver", true, false, "使用中のため、次の再起動時に削除されます: ", true},
        {"driver", "driver", true, true, "ファイルを削除できませんでした: ", true},
        {nullptr, "driver", false, false, "", false},
    };
    for (const auto &c : cases) {
        SetUp();
        if (c.target)
            fakeAddFile(TARGET, c.target, c.failRestart && !c.inUse);
        if (!c.source)
            platformDeleteFile(SOURCE.c_str());
        if (c.inUse)
            fakeSetFileInUse(TARGET);
        if (c.failRestart)
            fakeFailCall(FAKE_DELETE_AT_RESTART, 1);
        if (!c.target)
            platformDeleteFile(TARGET.c_str());
        EXPECT_EQ(runUndo(), 0);
        EXPECT_TRUE(printed(c.expected)) << c.expected;
        EXPECT_EQ(fakeFileExists(TARGET), c.stays) << c.expected;
        EXPECT_EQ(!c.target, !printed(TARGET)) << c.expected;
        EXPECT_EQ(fakeFilesDeletedAtRestart().size(), c.inUse && !c.failRestart ? 1u : 0u);
        EXPECT_EQ(printed("\n注意: 1件"), c.target && (c.stays && !(c.inUse && !c.failRestart)));
    }
    // Run from the destination's own folder, each source is its
    // destination: the installer never copied it, so it stays.
    SetUp();
    fakeAddFile("C:\\WINNT\\System32\\Drivers\\driver.inf", INF);
    fakeSetCurrentDirectory("C:\\WINNT\\System32\\Drivers");
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("●残すファイル: " + TARGET +
                        "\n  理由: INFファイルの隣にある元のファイルそのものです。\n"));
    EXPECT_TRUE(fakeFileExists(TARGET));
    // Compared once more after the agreement: a source gone by then keeps
    // the file (the opens: the INF file, the plan's two, the source again).
    SetUp();
    fakeFailCall(FAKE_OPEN_FILE, 4);
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("ファイルを削除できませんでした: " + TARGET +
                        "\n  理由: 比較する元のファイルがありません: "));
    EXPECT_TRUE(fakeFileExists(TARGET));
}

TEST_F(UndoTest, ValueRule) {
    struct {
        unsigned long type;
        std::string bytes;
        bool stays;
    } cases[] = {
        {PLATFORM_REG_DWORD, START, false},
        {PLATFORM_REG_DWORD, std::string("\x03\0\0\0", 4), true},
        {PLATFORM_REG_SZ, START, true},
        {PLATFORM_REG_DWORD, START + "x", true},
    };
    for (const auto &c : cases) {
        SetUp();
        setValue(SERVICE, "Start", c.type, c.bytes);
        EXPECT_EQ(runUndo(), 0);
        EXPECT_EQ(fakeRegValue(SERVICE, "Start").exists, c.stays);
        EXPECT_EQ(printed("●残す値: " + SERVICE +
                          "\\Start\n  理由: インストールされた内容から変更されています。\n"),
                  c.stays);
        EXPECT_EQ(printed("●残すキー: " + SERVICE + "\n  理由: 値 Start があります。\n"), c.stays);
        EXPECT_FALSE(fakeRegKeyExists(PARAMS));
    }
    SetUp();
    fakeFailCall(FAKE_REG_QUERY_VALUE, 1);
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("●残す値: " + SERVICE + "\\Start\n  理由: 読み取れません。\n"));
    EXPECT_TRUE(fakeRegValue(SERVICE, "Start").exists);
    // Compared once more after the agreement (the queries: the plan's two,
    // then Start again).
    SetUp();
    fakeFailCall(FAKE_REG_QUERY_VALUE, 3);
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(
        printed("値を削除できませんでした: " + SERVICE + "\\Start\n  理由: 読み取れません。\n"));
    EXPECT_TRUE(fakeRegValue(SERVICE, "Start").exists);
}

TEST_F(UndoTest, KeyRule) {
    struct {
        std::string extraKey;
        std::string valueKey;
        std::string reason; // what keeps the service key, or "" when it goes
    } cases[] = {
        {"", "", ""},
        {SERVICE + "\\Enum\\Deep", SERVICE + "\\Security", ""},
        {SERVICE + "\\Other", "", "サブキー Other"},
        {PARAMS + "\\Enum", "", "サブキー Parameters"},
        {"", SERVICE, "値 Added"},
    };
    for (const auto &c : cases) {
        SetUp();
        if (!c.extraKey.empty())
            fakeAddRegKey(c.extraKey);
        if (!c.valueKey.empty())
            setValue(c.valueKey, "Added", PLATFORM_REG_SZ, std::string("x", 2));
        EXPECT_EQ(runUndo(), 0);
        EXPECT_EQ(fakeRegKeyExists(SERVICE), !c.reason.empty()) << c.reason;
        if (!c.reason.empty()) {
            EXPECT_TRUE(
                printed("●残すキー: " + SERVICE + "\n  理由: " + c.reason + " があります。\n"));
        }
        EXPECT_FALSE(fakeRegValue(SERVICE, "Start").exists);
    }
    // A value name too long to be read back leaves the key not known in
    // full: it stays.
    SetUp();
    setValue(SERVICE, std::string(300, 'n').c_str(), PLATFORM_REG_SZ, std::string("x", 2));
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("●残すキー: " + SERVICE + "\n  理由: 読み取れません。\n"));
    EXPECT_TRUE(fakeRegKeyExists(SERVICE));
}

// "表" is 0x95 0x5C: its trail byte is no separator, in the key's path or
// in its name as the registry gives it back.
TEST_F(UndoTest, AKanjiEndingInABackslashByteIsPartOfOneKeyName) {
    const std::string kanji = SERVICE + "\\\x95\x5C";
    fakeAddFile("C:\\work\\driver.inf",
                std::string(INF) + "HKLM,\"" + kanji + "\",\"K\",0,\"a\"\n");
    setValue(kanji, "K", PLATFORM_REG_SZ, std::string("a", 2));
    EXPECT_EQ(runUndo(), 0);
    EXPECT_FALSE(fakeRegKeyExists(SERVICE));
}

TEST_F(UndoTest, RefusalsAndTheAgreementRemoveNothing) {
    fakeAddFile("C:\\work\\other.inf", "[Version]\n");
    std::string before = fakeMachineSnapshot();
    fakeSetVersion(true, 2, 4);
    EXPECT_EQ(runUndo(), 1);
    EXPECT_TRUE(printed("Windows NT4.0以降では使用できません。\n"));
    fakeSetVersion(true, 2, 3);
    EXPECT_EQ(runUndo("1\n", {"other.inf"}), 1);
    EXPECT_TRUE(printed("LegacyDriverではないため"));
    EXPECT_EQ(runUndo("1\n", {"a.inf", "b.inf"}), 1);
    for (const char *answer : {"2\n", "\n", ""})
        EXPECT_EQ(runUndo(answer), 1);
    fakeFailCall(FAKE_REG_DELETE_VALUE, 1);
    fakeFailCall(FAKE_REG_DELETE_KEY, 1);
    EXPECT_EQ(before, fakeMachineSnapshot());
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("値を削除できませんでした: " + SERVICE + "\\Start\n"));
    EXPECT_TRUE(printed("キーを削除できませんでした: " + PARAMS + "\n"));
    EXPECT_TRUE(
        printed("キーを削除できませんでした: " + SERVICE + "\n  理由: 値 Start があります。\n"));
    EXPECT_TRUE(printed("\n注意: 3件"));
}

// What does not fit a table is kept, never removed unchecked: files,
// values and keys each at their capacity and one over it. Every item was
// installed; the last one listed is the one that does not fit.
TEST_F(UndoTest, FullTablesKeepWhatDoesNotFit) {
    const std::string one = std::string("\x01\0\0\0", 4);
    struct {
        const char *what;
        int files, values, subkeys; // subkeys of the service key, with one value each
        bool over;
    } rows[] = {
        {"files at capacity", UNDO_FILE_CAPACITY, 0, 0, false},
        {"files over", UNDO_FILE_CAPACITY + 1, 0, 0, true},
        {"values at capacity", 0, UNDO_VALUE_CAPACITY, 0, false},
        {"values over", 0, UNDO_VALUE_CAPACITY + 1, 0, true},
        {"keys at capacity", 0, 0, UNDO_KEY_CAPACITY - 1, false}, // and the service key
        {"keys over", 0, 0, UNDO_KEY_CAPACITY, true},
    };
    for (const auto &row : rows) {
        fakeReset();
        std::string inf = "[Version]\nClass=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n"
                          "[Drv.Copy]\n";
        std::string last;
        for (int i = 0; i < row.files; ++i) {
            std::string name = "f" + std::to_string(i) + ".sys";
            inf += name + "\n";
            fakeAddFile("C:\\work\\" + name, "x");
            fakeAddFile(last = "C:\\WINNT\\System32\\Drivers\\" + name, "x");
        }
        inf += "[Drv.AddReg]\n";
        for (int i = 0; i < row.values + row.subkeys; ++i) {
            std::string key = row.subkeys ? SERVICE + "\\k" + std::to_string(i) : SERVICE;
            std::string name = "v" + std::to_string(i);
            inf += "HKLM,\"" + key + "\",\"" + name + "\",0x10001,1\n";
            setValue(key, name.c_str(), PLATFORM_REG_DWORD, one);
            last = row.subkeys ? key : key + "\\" + name;
        }
        fakeAddFile("C:\\work\\driver.inf", inf);
        EXPECT_EQ(runUndo(), 0) << row.what;
        EXPECT_EQ(printed("  理由: 一度に扱える数を超えています。\n"), row.over) << row.what;
        EXPECT_EQ(printed("●残す"), row.over) << row.what; // nothing else stays
        bool stays = row.files ? fakeFileExists(last)
                     : row.subkeys
                         ? fakeRegKeyExists(last)
                         : fakeRegValue(SERVICE, "v" + std::to_string(row.values - 1)).exists;
        EXPECT_EQ(stays, row.over) << row.what;
    }
}

// A service key goes with its own Enum tree, as deep and as long as the
// uninstaller follows it: deeper, or with a path longer than it holds,
// the service key stays.
TEST_F(UndoTest, AServiceKeysEnumTreeGoesWithinItsLimits) {
    const std::string longest(REG_NAME_FIELD_SIZE - 1, 'n');
    // SERVICE\Enum, a name of 255 characters and one of `last`: the path
    // below it holds 511 characters with 212.
    const size_t fits = UNDO_KEY_PATH_SIZE - 1 - (SERVICE.size() + 5 + 1 + longest.size()) - 1;
    struct {
        const char *what;
        std::string tree; // below SERVICE\Enum
        bool deleted;
    } rows[] = {
        {"7 levels", "\\1\\2\\3\\4\\5\\6\\7", true},
        {"8 levels", "\\1\\2\\3\\4\\5\\6\\7\\8", false},
        {"a path of 511 characters", "\\" + longest + "\\" + std::string(fits, 'm'), true},
        {"a path of 512 characters", "\\" + longest + "\\" + std::string(fits + 1, 'm'), false},
    };
    for (const auto &row : rows) {
        SetUp();
        fakeAddRegKey(SERVICE + "\\Enum" + row.tree);
        EXPECT_EQ(runUndo(), 0) << row.what;
        EXPECT_EQ(fakeRegKeyExists(SERVICE), !row.deleted) << row.what;
        EXPECT_EQ(printed("キーを削除できませんでした: " + SERVICE + "\n"), !row.deleted)
            << row.what;
    }
}

// A key whose values or subkeys cannot be listed is not known in full: it
// stays, whether the listing fails while planning or at the removal.
TEST_F(UndoTest, AKeyThatCannotBeListedStays) {
    const std::string unreadable = "  理由: 読み取れません。\n";
    struct {
        FakeOperation failing;
        int nth; // the plan lists Parameters' values twice, its subkeys once, then the
                 // service key's; the removal lists Parameters first again
        std::string expected;
    } rows[] = {
        {FAKE_REG_ENUM_VALUE, 1, "●残すキー: " + PARAMS + "\n" + unreadable},
        {FAKE_REG_ENUM_KEY, 1, "●残すキー: " + PARAMS + "\n" + unreadable},
        {FAKE_REG_ENUM_VALUE, 5, "キーを削除できませんでした: " + PARAMS + "\n" + unreadable},
        {FAKE_REG_ENUM_KEY, 4, "キーを削除できませんでした: " + PARAMS + "\n" + unreadable},
    };
    for (const auto &row : rows) {
        SetUp();
        fakeFailCall(row.failing, row.nth);
        EXPECT_EQ(runUndo(), 0) << row.nth;
        EXPECT_TRUE(printed(row.expected)) << row.nth << fakeOutput();
        EXPECT_TRUE(fakeRegKeyExists(PARAMS)) << row.nth;
        EXPECT_TRUE(printed("\n注意: ")) << row.nth;
    }
}

// Every call of every platform operation that a whole take-back makes
// (a service key with its own Enum tree, a file in use) can fail, alone
// or with every later call of its kind, and the run still ends cleanly,
// changing nothing outside the Windows directory and the services key.
TEST_F(UndoTest, EveryFailingCallEndsTheRunCleanly) {
    FaultRun takeBack;
    takeBack.prepare = [] {
        installed();
        fakeAddRegKey(SERVICE + "\\Enum\\Root");
        fakeAddFile("C:\\WINNT\\System32\\Drivers\\busy.sys", "busy");
        fakeAddFile("C:\\work\\busy.sys", "busy");
        fakeSetFileInUse("C:\\WINNT\\System32\\Drivers\\busy.sys");
        fakeAddFile("C:\\work\\driver.inf",
                    std::string(INF) + "[More.Copy]\nbusy.sys\n[DestinationDirs]\nMore.Copy=12\n");
    };
    takeBack.run = [] { return runUndo(); };
    takeBack.folder = "C:\\WINNT";
    takeBack.key = "System\\CurrentControlSet\\Services";
    EXPECT_GT(expectEveryFaultEndsCleanly(takeBack), 500);
}

} // namespace
