// The uninstaller in whole runs on the fake platform, after the installer
// made its record: one table per rule (files, values, keys, what another
// record names), the record itself, the limits and the failures.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "infundo/infundo_capacity.h"
#include "infundo/undo_run.h"
#include "platform/platform.h"
#include "run/run.h"
#include "support/fake.h"
#include "support/fault_loop.h"
#include "support/installer.h"
#include "support/run_program.h"

namespace {

const std::string SERVICE = "System\\CurrentControlSet\\Services\\Drv";
const std::string PARAMS = SERVICE + "\\Parameters";
const std::string TARGET = "C:\\WINNT\\System32\\Drivers\\drv.sys";
const std::string CHANGED = "  理由: インストールされた内容から変更されています。\n";

const std::string INF = std::string(INF_HEAD) +
                        "[Drv.Copy]\ndrv.sys\n[Drv.AddReg]\n"
                        "HKLM,\"" +
                        SERVICE + "\",\"Start\",0x00010001,2\nHKLM,\"" + PARAMS +
                        "\",\"P\",0,\"a\"\n";

void setValue(const std::string &key, const char *name, unsigned long type, const std::string &b) {
    PlatformRegKey *handle = platformRegCreateKey(key.c_str());
    platformRegSetValue(handle, name, type, b.data(), static_cast<unsigned long>(b.size()));
    platformRegCloseKey(handle);
}

std::string sz(const std::string &text) {
    return std::string(text.c_str(), text.size() + 1);
}

// Installs `inf` as C:\work\<name> with its file drv.sys holding
// `driver`, answering the overwrite question with `keys`.
int install(const std::string &inf = INF, const std::string &name = "driver.inf",
            const std::string &driver = "driver", const std::vector<int> &keys = {}) {
    fakeAddFile("C:\\work\\" + name, inf);
    fakeAddFile("C:\\work\\drv.sys", driver);
    fakeQueueKeys(keys);
    fakeSetInput("1\n");
    return runProgram(runInstaller, "infinst.exe", {"C:\\work\\" + name});
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
    void SetUp() override { fakeReset(); }
    void TearDown() override {
        EXPECT_EQ(fakeOpenRegKeys(), 0);
        EXPECT_EQ(fakeOpenFiles(), 0);
        EXPECT_EQ(fakeHeapBlocks(), 0u);
    }
};

TEST_F(UndoTest, TakesBackEverythingThenFindsNoRecord) {
    std::string before = fakeMachineSnapshotOutside("C:\\work", "");
    ASSERT_EQ(install(), 0);
    EXPECT_TRUE(fakeFileExists(recordPathOf(INF)));
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("インストールの記録: " + recordPathOf(INF) + "\n\n削除の計画:\n" +
                        "○削除するファイル: " + TARGET + "\n○削除する値: " + SERVICE +
                        "\\Start\n○削除する値: " + PARAMS + "\\P\n○削除するキー: " + PARAMS +
                        "\n○削除するキー: " + SERVICE + "\n"));
    EXPECT_TRUE(printed("インストールの記録を削除しました: " + recordPathOf(INF) +
                        "\n\n削除が終了しました。"));
    EXPECT_FALSE(printed("注意"));
    EXPECT_EQ(fakeMachineSnapshotOutside("C:\\work", ""), before); // the record's folder too
    EXPECT_EQ(runUndo(), 1);
    EXPECT_TRUE(printed("記録が見つからないため、何も削除しません。\n"));
}

// What a file or value is now, against what the record says the
// installation found and left: each row changes the machine before the
// installation, after it, or both.
TEST_F(UndoTest, WhatIsStillAsInstalledGoesOrComesBack) {
    struct {
        const char *what;
        const char *fileBefore; // null: none
        const char *valueBefore;
        const char *fileAfter; // what changed since: null for nothing, "" for deleted
        const char *valueAfter;
        std::string filePlan; // "" when the plan does not name it
        std::string valuePlan;
        std::string file;  // what is left: "" for none
        std::string value; // likewise, of Parameters\P
    } rows[] = {
        {"made", nullptr, nullptr, nullptr, nullptr, "○削除するファイル: ", "○削除する値: ", "",
         ""},
        {"replaced", "old", "b", nullptr, nullptr, "○元に戻すファイル: ", "○元に戻す値: ", "old",
         sz("b")},
        {"already so", "driver", "a", nullptr, nullptr, "", "", "driver", sz("a")},
        {"changed since", nullptr, nullptr, "mine", "mine", "●残すファイル: ", "●残す値: ", "mine",
         sz("mine")},
        {"replaced, changed since", "old", "b", "mine", "mine",
         "●残すファイル: ", "●残す値: ", "mine", sz("mine")},
        {"gone since", nullptr, nullptr, "", "", "", "", "", ""},
    };
    for (const auto &row : rows) {
        SetUp();
        if (row.fileBefore)
            fakeAddFile(TARGET, row.fileBefore);
        if (row.valueBefore)
            setValue(PARAMS, "P", PLATFORM_REG_SZ, sz(row.valueBefore));
        ASSERT_EQ(install(INF, "driver.inf", "driver", {'y'}), 0) << row.what;
        if (row.fileAfter && *row.fileAfter)
            fakeAddFile(TARGET, row.fileAfter);
        else if (row.fileAfter)
            platformDeleteFile(TARGET.c_str());
        if (row.valueAfter && *row.valueAfter)
            setValue(PARAMS, "P", PLATFORM_REG_SZ, sz(row.valueAfter));
        else if (row.valueAfter)
            platformRegDeleteValue(PARAMS.c_str(), "P");
        runUndo();
        std::string plan = fakeOutput().substr(fakeOutput().find("削除の計画:"));
        EXPECT_EQ(plan.find(row.filePlan + TARGET + "\n") != std::string::npos,
                  !row.filePlan.empty())
            << row.what << plan;
        EXPECT_EQ(plan.find(TARGET) != std::string::npos, !row.filePlan.empty()) << row.what;
        EXPECT_EQ(plan.find(row.valuePlan + PARAMS + "\\P\n") != std::string::npos,
                  !row.valuePlan.empty())
            << row.what << plan;
        EXPECT_EQ(plan.find(PARAMS + "\\P") != std::string::npos, !row.valuePlan.empty())
            << row.what;
        EXPECT_EQ(fakeFileContent(TARGET), row.file) << row.what;
        FakeRegValue value = fakeRegValue(PARAMS, "P");
        EXPECT_EQ(value.exists ? value.bytes : "", row.value) << row.what;
        EXPECT_FALSE(fakeRegValue(SERVICE, "Start").exists) << row.what;
    }
}

// The installer's file goes even when made read-only since; one in use is
// deleted at the restart, or kept and counted when even that fails.
TEST_F(UndoTest, AFileThatCannotBeDeletedNowGoesAtTheRestartOrStays) {
    struct {
        bool readOnly, inUse, restartFails;
        std::string said;
        bool stays;
    } rows[] = {
        {true, false, false, "ファイルを削除しました: ", false},
        {false, true, false, "使用中のため、次の再起動時に削除されます: ", true},
        {false, true, true, "ファイルを削除できませんでした: ", true},
    };
    for (const auto &row : rows) {
        SetUp();
        ASSERT_EQ(install(), 0) << row.said;
        fakeAddFile(TARGET, "driver", row.readOnly);
        if (row.inUse)
            fakeSetFileInUse(TARGET);
        if (row.restartFails)
            fakeFailCall(FAKE_DELETE_AT_RESTART, 1);
        EXPECT_EQ(runUndo(), 0) << row.said;
        EXPECT_TRUE(printed(row.said + TARGET + "\n")) << fakeOutput();
        EXPECT_EQ(fakeFileExists(TARGET), row.stays) << row.said;
        EXPECT_EQ(fakeFilesDeletedAtRestart(), row.inUse && !row.restartFails
                                                   ? std::vector<std::string>{TARGET}
                                                   : std::vector<std::string>{})
            << row.said;
        EXPECT_EQ(printed("\n注意: 1件"), row.restartFails) << row.said;
    }
}

TEST_F(UndoTest, AKeyGoesWhenNothingElseIsLeftInIt) {
    struct {
        std::string extraKey;
        std::string valueKey;
        std::string reason; // what keeps the service key, or "" when it goes
    } rows[] = {
        {"", "", ""},
        {SERVICE + "\\Enum\\Root", SERVICE + "\\Security", ""}, // NT's own, made since
        {SERVICE + "\\Other", "", "サブキー Other"},
        {PARAMS + "\\Enum", "", "サブキー Parameters"},
        {"", SERVICE, "値 Added"},
    };
    for (const auto &row : rows) {
        SetUp();
        ASSERT_EQ(install(), 0);
        if (!row.extraKey.empty())
            fakeAddRegKey(row.extraKey);
        if (!row.valueKey.empty())
            setValue(row.valueKey, "Added", PLATFORM_REG_SZ, sz("x"));
        EXPECT_EQ(runUndo(), 0);
        EXPECT_EQ(fakeRegKeyExists(SERVICE), !row.reason.empty()) << row.reason;
        if (!row.reason.empty()) {
            EXPECT_TRUE(
                printed("●残すキー: " + SERVICE + "\n  理由: " + row.reason + " があります。\n"));
            EXPECT_TRUE(printed("残したものをインストールの記録に書き込みました: "));
            // A second run says the same and removes nothing more.
            runUndo();
            EXPECT_TRUE(printed("削除の計画:\n●残すキー: " + SERVICE));
            EXPECT_TRUE(fakeFileExists(recordPathOf(INF)));
        }
    }
    // An Enum key the installation made, and that holds a value since, is
    // kept, and so is its service key: the plan keeps what it says.
    SetUp();
    ASSERT_EQ(install(INF + "HKLM,\"" + SERVICE + "\\Enum\",\"E\",0,\"e\"\n"), 0);
    setValue(SERVICE + "\\Enum", "Y", PLATFORM_REG_SZ, sz("y"));
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("●残すキー: " + SERVICE + "\\Enum\n  理由: 値 Y があります。\n"));
    EXPECT_TRUE(printed("●残すキー: " + SERVICE + "\n  理由: サブキー Enum があります。\n"));
    EXPECT_TRUE(fakeRegValue(SERVICE + "\\Enum", "Y").exists);
    EXPECT_TRUE(printed("\n注意: 2件"));
}

// Two INF files that install the same file and value, taken back in
// either order and with either answer to the second one's question: the
// first taken back keeps what the other still names, the last takes
// everything back.
TEST_F(UndoTest, WhatAnotherRecordNamesStaysUntilTheLastIsTakenBack) {
    const std::string other = INF + "HKLM,\"" + SERVICE + "2\",\"Start\",0x00010001,3\n";
    for (bool firstBack : {true, false}) {
        for (int answer : {'y', 'n'}) {
            for (const char *secondDriver : {"driver", "driver v2"}) {
                SetUp();
                std::string before = fakeMachineSnapshotOutside("C:\\work", "");
                ASSERT_EQ(install(INF, "a.inf"), 0);
                ASSERT_EQ(install(other, "b.inf", secondDriver, {answer}), 0);
                std::string keeper = firstBack ? "C:\\work\\b.inf" : "C:\\work\\a.inf";
                runUndo("1\n", {firstBack ? "a.inf" : "b.inf"});
                EXPECT_TRUE(fakeFileExists(TARGET));
                // A record that only found the file there never names it as
                // its own.
                bool replaced = answer == 'y' && std::string(secondDriver) != "driver";
                EXPECT_EQ(printed("●残すファイル: " + TARGET + "\n  理由: 別のINFファイル（" +
                                  keeper + "）のインストールの記録にもあります。\n"),
                          firstBack || replaced)
                    << firstBack << answer << secondDriver;
                runUndo("1\n", {firstBack ? "b.inf" : "a.inf"});
                EXPECT_EQ(fakeMachineSnapshotOutside("C:\\work", ""), before)
                    << firstBack << answer << secondDriver << fakeOutput();
            }
        }
    }
}

TEST_F(UndoTest, WithoutItsRecordNothingIsRemoved) {
    // A driver that was there before, which the installation left alone
    // (no console: no), has no record.
    const std::string service = std::string(INF_HEAD) + "[Drv.Copy]\ndrv.sys\n[Drv.AddReg]\n" +
                                "HKLM,\"" + SERVICE + "\",\"Start\",0x00010001,2\n";
    setValue(SERVICE, "Start", PLATFORM_REG_DWORD, std::string("\x02\0\0\0", 4));
    fakeAddFile(TARGET, "driver v0");
    std::string before = fakeMachineSnapshotOutside("C:\\work", "");
    EXPECT_EQ(install(service), 0);
    EXPECT_FALSE(printed("インストールの記録:"));
    EXPECT_EQ(runUndo(), 1);
    EXPECT_TRUE(printed("\nこのINFファイルをインストールした記録が見つからないため"));
    EXPECT_EQ(fakeMachineSnapshotOutside("C:\\work", ""), before);
    // An INF file changed since its installation has another record.
    SetUp();
    ASSERT_EQ(install(), 0);
    fakeAddFile("C:\\work\\driver.inf", INF + "; a comment\n");
    EXPECT_EQ(runUndo(), 1);
    EXPECT_TRUE(fakeFileExists(TARGET));
    // The record's own path will do, the package's files gone.
    platformDeleteFile("C:\\work\\drv.sys");
    EXPECT_EQ(runUndo("1\n", {recordPathOf(INF)}), 0);
    EXPECT_FALSE(fakeFileExists(TARGET));
    // A record that cannot be read removes nothing.
    SetUp();
    ASSERT_EQ(install(), 0);
    fakeAddFile(recordPathOf(INF), "not a record\r\n");
    EXPECT_EQ(runUndo(), 1);
    EXPECT_TRUE(printed("インストールの記録を読み取れないため、何も削除しません。\n"));
    EXPECT_TRUE(fakeFileExists(TARGET));
}

TEST_F(UndoTest, RefusalsAndTheAgreementRemoveNothing) {
    ASSERT_EQ(install(), 0);
    std::string before = fakeMachineSnapshot();
    fakeSetVersion(true, 2, 4);
    EXPECT_EQ(runUndo(), 1);
    EXPECT_TRUE(printed("Windows NT4.0以降では使用できません。\n"));
    fakeSetVersion(true, 2, 3);
    EXPECT_EQ(runUndo("1\n", {"a.inf", "b.inf"}), 1);
    EXPECT_EQ(runUndo("1\n", {"driver.txt"}), 1);
    for (const char *answer : {"2\n", "\n", ""})
        EXPECT_EQ(runUndo(answer), 1);
    EXPECT_EQ(before, fakeMachineSnapshot());
    // What cannot be removed is kept and counted, and the record says so.
    fakeFailCall(FAKE_REG_DELETE_VALUE, 1);
    EXPECT_EQ(runUndo(), 0);
    EXPECT_TRUE(printed("値を削除できませんでした: " + SERVICE + "\\Start\n"));
    EXPECT_TRUE(
        printed("キーを削除できませんでした: " + SERVICE + "\n  理由: 値 Start があります。\n"));
    EXPECT_TRUE(printed("\n注意: 2件"));
    EXPECT_NE(fakeFileContent(recordPathOf(INF)).find("; 残した値: " + SERVICE + "\\Start"),
              std::string::npos);
}

// What does not fit the table is kept, never removed unchecked, and the
// record then stays as it was.
TEST_F(UndoTest, AFullTableKeepsWhatDoesNotFit) {
    for (int values : {UNDO_ENTRY_CAPACITY - 5, UNDO_ENTRY_CAPACITY - 4}) {
        SetUp();
        std::string inf = INF;
        for (int i = 0; i < values; ++i)
            inf += "HKLM,\"" + SERVICE + "\",\"v" + std::to_string(i) + "\",0x10001,1\n";
        ASSERT_EQ(install(inf), 0); // a file, two keys, Start, P and the values
        EXPECT_EQ(runUndo(), 0);
        bool over = values == UNDO_ENTRY_CAPACITY - 4;
        EXPECT_EQ(printed("項目が多すぎるため"), over);
        EXPECT_EQ(fakeRegValue(SERVICE, "v" + std::to_string(values - 1)).exists, over);
        EXPECT_EQ(fakeFileExists(recordPathOf(inf)), over);
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
        ASSERT_EQ(install(), 0);
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
    ASSERT_EQ(install(), 0);
    runUndo("2\n"); // the plan alone
    const int planned[] = {fakeCallCount(FAKE_REG_ENUM_VALUE), fakeCallCount(FAKE_REG_ENUM_KEY)};
    const std::string unreadable = "  理由: 読み取れません。\n";
    struct {
        FakeOperation failing;
        bool atRemoval; // else the first listing of the plan (Parameters')
        std::string expected;
    } rows[] = {
        {FAKE_REG_ENUM_VALUE, false, "●残すキー: " + PARAMS + "\n" + unreadable},
        {FAKE_REG_ENUM_KEY, false, "●残すキー: " + PARAMS + "\n" + unreadable},
        {FAKE_REG_ENUM_VALUE, true, "キーを削除できませんでした: " + PARAMS + "\n" + unreadable},
        {FAKE_REG_ENUM_KEY, true, "キーを削除できませんでした: " + PARAMS + "\n" + unreadable},
    };
    for (const auto &row : rows) {
        SetUp();
        ASSERT_EQ(install(), 0);
        fakeFailCall(row.failing,
                     row.atRemoval ? planned[row.failing == FAKE_REG_ENUM_KEY] + 1 : 1);
        EXPECT_EQ(runUndo(), 0) << row.expected;
        EXPECT_TRUE(printed(row.expected)) << row.expected;
        EXPECT_TRUE(fakeRegKeyExists(PARAMS)) << row.expected;
        EXPECT_TRUE(printed("\n注意: ")) << row.expected;
    }
}

// Every call of every platform operation that a whole take-back makes
// (a file and a value to put back, a service key with its own Enum tree,
// a file in use) can fail, alone or with every later call of its kind,
// and the run still ends cleanly, changing nothing outside the Windows
// directory and the services key.
TEST_F(UndoTest, EveryFailingCallEndsTheRunCleanly) {
    FaultRun takeBack;
    takeBack.prepare = [] {
        fakeAddFile(TARGET, "old");
        setValue(PARAMS, "P", PLATFORM_REG_SZ, sz("b"));
        fakeAddFile("C:\\work\\busy.sys", "busy");
        install(INF + "[More.Copy]\nbusy.sys\n[DestinationDirs]\nMore.Copy=12\n", "driver.inf",
                "driver", {'y'});
        fakeAddRegKey(SERVICE + "\\Enum\\Root");
        fakeSetFileInUse("C:\\WINNT\\System32\\Drivers\\busy.sys");
    };
    takeBack.run = [] { return runUndo(); };
    takeBack.folder = "C:\\WINNT";
    takeBack.key = "System\\CurrentControlSet\\Services";
    EXPECT_GT(expectEveryFaultEndsCleanly(takeBack), 500);
}

} // namespace
