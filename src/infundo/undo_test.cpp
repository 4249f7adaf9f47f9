// The uninstaller in whole runs on the fake platform: one table per rule
// (files, values, keys), the refusals and the agreement.

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
