// The installer's record in whole runs: what it notes before each change,
// a run that cannot write it, and a second installation of the same INF
// file.

#include "record/record.h"

#include <string>
#include <vector>

#include "infundo/undo_run.h"
#include "record/record_file.h"
#include "support/installer.h"
#include "support/run_program.h"

namespace {

const std::string SERVICE = "System\\CurrentControlSet\\Services\\Drv";
const std::string TARGET = "C:\\WINNT\\System32\\Drivers\\drv.sys";
const std::string INF = std::string(INF_HEAD) + "[Drv.Copy]\ndrv.sys\n[Drv.AddReg]\nHKLM,\"" +
                        SERVICE + "\\Parameters\",\"P\",0,\"a\"\n";

class RecordTest : public InstallerTest {};

std::vector<std::string> itemsOf(const std::string &path) {
    std::vector<std::string> lines;
    RecordSummary summary;
    EXPECT_TRUE(recordReadSummary(path.c_str(), &summary));
    recordReadItems(
        path.c_str(), summary,
        [](const RecordItem &item, void *context) {
            char line[RECORD_LINE_SIZE];
            recordFormatItem(item, line);
            static_cast<std::vector<std::string> *>(context)->push_back(line);
        },
        &lines);
    return lines;
}

TEST_F(RecordTest, EachChangeIsNotedWithWhatWasThereBefore) {
    fakeAddFile("C:\\work\\drv.sys", "driver");
    fakeAddFile(TARGET, "old");
    fakeQueueKeys({'y'});
    ASSERT_EQ(runInf(INF), 0);
    const std::string record = fakeFileContent(recordPathOf(INF));
    // Its head names the INF file (its full path) and the date and time.
    EXPECT_NE(record.find("\r\nINF\t" + std::to_string(INF.size()) + "\t"), std::string::npos)
        << record;
    EXPECT_NE(record.find("\tC:\\work\\driver.inf\r\nRUN\t1\t2026-12-09 10:00:00\t"
                          "C:\\work\\driver.inf\r\n"),
              std::string::npos)
        << record;
    const std::string name = recordPathOf(INF).substr(17, 8); // the record's own
    std::vector<std::string> items = itemsOf(recordPathOf(INF));
    ASSERT_EQ(items.size(), 4u);
    // The bytes copied ("driver"), then the copy of those it replaced ("old").
    EXPECT_EQ(items[0],
              "FILE-REPLACED\t1\t6\t11667CD9\t" + TARGET + "\t" + name + ".001\t3\t3F5DD4E5\r\n");
    EXPECT_EQ(fakeFileContent("C:\\WINNT\\INFINST\\" + name + ".001"), "old");
    EXPECT_EQ(items[1], "KEY-CREATED\t1\t" + SERVICE + "\r\n");
    EXPECT_EQ(items[2], "KEY-CREATED\t1\t" + SERVICE + "\\Parameters\r\n");
    EXPECT_EQ(items[3], "VALUE-CREATED\t1\t" + SERVICE + "\\Parameters\tP\t1\t6100\r\n");
}

// When the record cannot be started or extended, nothing more is changed:
// the run stops, naming the record, which holds what was done so far.
TEST_F(RecordTest, NoRecordNoChange) {
    const std::string stop =
        "\nインストールの記録に書き込めないため処理を中止します: " + recordPathOf(INF) +
        "\nここまでに行った変更はこの記録にあります。\n";
    struct {
        const char *what;
        FakeOperation failing;
        int nth;
        bool copied; // the file, noted first, before the failure
    } rows[] = {
        {"the folder", FAKE_MAKE_DIRECTORY, 1, false},
        {"the record's head", FAKE_APPEND_FILE, 1, false},
        {"the first item", FAKE_APPEND_FILE, 4, false},
        {"a later item", FAKE_APPEND_FILE, 5, true},
    };
    for (const auto &row : rows) {
        fakeReset();
        fakeAddFile("C:\\work\\drv.sys", "driver");
        fakeFailCall(row.failing, row.nth);
        EXPECT_EQ(runInf(INF), 1) << row.what;
        std::string output = outputAfterNotices();
        EXPECT_NE(output.find(stop), std::string::npos) << row.what;
        EXPECT_EQ(output.find(recordLine(INF) + stop) != std::string::npos, row.copied) << row.what;
        EXPECT_EQ(fakeFileExists(TARGET), row.copied) << row.what;
        EXPECT_FALSE(fakeRegKeyExists(SERVICE)) << row.what;
        EXPECT_EQ(fakePaths().size(), row.copied ? 10u : 7u) << row.what; // the file, the record
    }
    // With nowhere to keep a record, nothing is begun.
    fakeReset();
    fakeAddFile("C:\\work\\drv.sys", "driver");
    fakeFailCall(FAKE_GET_WINDOWS_DIRECTORY, 1);
    EXPECT_EQ(runInf(INF), 1);
    EXPECT_NE(outputAfterNotices().find("インストールの記録を作れないため処理を中止します。"),
              std::string::npos);
    EXPECT_FALSE(fakeFileExists(TARGET));
}

// A second installation extends the record: what was there before the
// first stays what the uninstaller puts back.
TEST_F(RecordTest, InstallingAgainExtendsTheRecord) {
    fakeAddFile("C:\\work\\drv.sys", "driver");
    fakeAddFile(TARGET, "old");
    std::string before = fakeMachineSnapshotOutside("C:\\work", "");
    fakeQueueKeys({'y'});
    ASSERT_EQ(runInf(INF), 0);
    fakeAddFile("C:\\work\\drv.sys", "driver v2");
    fakeQueueKeys({'y'});
    ASSERT_EQ(runInf(INF), 0);
    EXPECT_NE(fakeFileContent(recordPathOf(INF)).find("RUN\t2\t"), std::string::npos);
    EXPECT_EQ(itemsOf(recordPathOf(INF)).size(), 6u); // the file replaced again, P found
    // A run that changes nothing writes nothing.
    const std::string record = fakeFileContent(recordPathOf(INF));
    fakeQueueKeys({'y'});
    ASSERT_EQ(runInf(INF), 0);
    EXPECT_EQ(fakeFileContent(recordPathOf(INF)), record);
    fakeSetInput("1\n");
    EXPECT_EQ(runProgram(runUninstaller, "infundo.exe", {"C:\\work\\driver.inf"}), 0);
    EXPECT_EQ(fakeMachineSnapshotOutside("C:\\work", ""), before);
}

} // namespace
