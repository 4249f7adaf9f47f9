// The [DestinationDirs] table: reading it, its capacity, and the
// directories its ids stand for.

#include "inf/destinations.h"

#include <cstring>
#include <string>

#include "common/capacity.h"
#include "common/shortfall.h"
#include "inf/inf_stream.h"
#include "support/installer.h"

namespace {

class DestinationsTest : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        resetDestinations();
        shortfallReset();
    }
    void TearDown() override { clearDestinations(); }

    // Reads `body` as the body of a [DestinationDirs] section.
    void read(const std::string &body) {
        fakeAddFile("C:\\work\\d.inf", body + "[Next]\n");
        InfStream stream;
        ASSERT_TRUE(infOpen(&stream, "C:\\work\\d.inf"));
        readDestinationDirs(&stream);
        char line[LINE_SIZE];
        ASSERT_TRUE(readLine(&stream, line));
        EXPECT_STREQ(line, "[Next]");
        infClose(&stream);
    }

    std::string directoryOf(int32_t id) {
        char path[PATH_SIZE] = "nothing";
        return directoryForId(id, path) ? std::string(path) : std::string("<none>");
    }
};

TEST_F(DestinationsTest, EntriesAreReadPrintedAndLookedUp) {
    read("defaultdestdir = 11\n"
         "Drv.Copy = 12,drivers\\sub\n"
         "=10\n"
         "no equals sign\n"
         "  ; an indented comment\n"
         "Other = abc\n"
         "Drv.Copy=10\n"
         "drv.copy=11\n");
    EXPECT_EQ(fakeOutput(), "defaultdestdir = 11\nDrv.Copy = 12\n = 10\n"
                            "DestinationDirsの行を読み取れないため無視しました: no equals sign\n"
                            "DestinationDirsの番号を読み取れません: Other = abc\n"
                            "Drv.Copy = 10\ndrv.copy = 11\n");
    EXPECT_EQ(shortfallCount(), 1);               // its section would go elsewhere in silence
    EXPECT_EQ(lookupDirectoryId("Drv.Copy"), 10); // the later line replaced the id
    EXPECT_EQ(lookupDirectoryId("drv.copy"), 11); // another case, another entry
    EXPECT_EQ(lookupDirectoryId("Unknown"), 11);
    char path[PATH_SIZE];
    EXPECT_FALSE(destinationForSection("Other", path)); // kept, with no directory
    EXPECT_TRUE(isListedSectionHeader("[Drv.Copy]"));
    EXPECT_FALSE(isListedSectionHeader("[DRV.COPY]"));
    EXPECT_FALSE(isListedSectionHeader("[Drv.Copy] "));
    EXPECT_FALSE(isListedSectionHeader("[Unknown]"));
    EXPECT_EQ(destinationNameMatch("drv.copy"), DESTINATION_MATCH_EXACT);
    EXPECT_EQ(destinationNameMatch("DRV.COPY"), DESTINATION_MATCH_IGNORING_CASE);
    EXPECT_EQ(destinationNameMatch("Unknown"), DESTINATION_MATCH_NONE);
}

// A value is read only when it is one decimal number within the signed
// 32-bit range, cut at a comment and a comma and trimmed of spaces and
// tabs. Any other is reported with its line, uncounted, and leaves the
// entry, or DefaultDestDir, with no directory; DefaultDestDir is still
// given, unless its number is -1.
TEST_F(DestinationsTest, AValueIsReadOnlyAsOneDecimalNumber) {
    const struct {
        const char *value;
        int32_t id;
    } readable[] = {{"11", 11},
                    {" +11\t", 11},
                    {"011", 11},
                    {"-0", 0},
                    {"12 ; Drivers, x", 12},
                    {"10,", 10},
                    {"-1", -1},
                    {"2147483647", INT32_MAX},
                    {"-2147483648", INT32_MIN}};
    const char *unreadable[] = {
        "-4294967286", "4294967307", "2147483648", "-2147483649", "11 sub", "11.5",
        "11abc",       "0x0B",       "",           " ; 11",       "+",      "abc, sub"};
    const std::string cannot = "DestinationDirsの番号を読み取れません: ";
    auto read = [&](const std::string &value) {
        fakeReset();
        resetDestinations();
        shortfallReset();
        this->read("DefaultDestDir=" + value + "\nNamed =" + value + "\n");
        EXPECT_EQ(shortfallCount(), 0) << value;
    };
    char path[PATH_SIZE];
    for (const auto &row : readable) {
        read(row.value);
        const std::string id = std::to_string(row.id);
        EXPECT_EQ(fakeOutput(), "DefaultDestDir = " + id + "\nNamed = " + id + "\n");
        EXPECT_EQ(hasDefaultDestDir(), row.id != -1) << row.value;
        bool supported = row.id >= 10 && row.id <= 12;
        EXPECT_EQ(destinationForSection("Named", path), supported) << row.value;
        EXPECT_EQ(destinationForSection("Other", path), supported) << row.value; // the default's
    }
    for (const std::string value : unreadable) {
        read(value);
        EXPECT_EQ(fakeOutput(),
                  cannot + "DefaultDestDir=" + value + "\n" + cannot + "Named =" + value + "\n");
        EXPECT_TRUE(hasDefaultDestDir()) << value; // given, with no directory
        EXPECT_FALSE(destinationForSection("Named", path)) << value;
        EXPECT_FALSE(destinationForSection("Other", path)) << value;
    }
}

TEST_F(DestinationsTest, TheSixtyFifthNameIsDroppedButOldNamesStillUpdate) {
    std::string body;
    for (int i = 0; i < DESTINATION_CAPACITY + 1; ++i)
        body += "S" + std::to_string(i) + "=10\n";
    body += "S0=12\nDefaultDestDir=11\n";
    read(body);
    EXPECT_NE(fakeOutput().find("S64 = 10\nDestinationDirs内の定義が多すぎます。S0 = 12\n"),
              std::string::npos);
    EXPECT_EQ(lookupDirectoryId("S63"), 10);
    EXPECT_EQ(lookupDirectoryId("S64"), 11); // no entry: the default
    EXPECT_EQ(lookupDirectoryId("S0"), 12);
    EXPECT_FALSE(isListedSectionHeader("[S64]"));
}

TEST_F(DestinationsTest, LinesOver259CharactersAreSkippedWithAMessage) {
    std::string fits = std::string(256, 'k') + "=11\n"; // 259 characters
    std::string over = std::string(257, 'l') + "=11\n"; // 260 characters
    read(fits + over);
    EXPECT_EQ(fakeOutput(), std::string(256, 'k') + " = 11\n" +
                                "DestinationDirsの行が長すぎるため無視しました。\n");
    EXPECT_EQ(lookupDirectoryId(std::string(256, 'k').c_str()), 11);
}

TEST_F(DestinationsTest, NamesTooLongForAHeaderAreNeverListed) {
    std::string longest = std::string(257, 'n'); // "[" + 257 + "]" is 259 characters
    setDestination(longest.c_str(), 10);
    setDestination((longest + "m").c_str(), 10);
    EXPECT_TRUE(isListedSectionHeader(("[" + longest + "]").c_str()));
    EXPECT_FALSE(isListedSectionHeader(("[" + longest + "m]").c_str()));
}

TEST_F(DestinationsTest, AFailedHeapCopyDropsTheEntry) {
    fakeFailCall(FAKE_ALLOCATE, 1);
    read("DefaultDestDir=12\nLost=10\nKept=11\n");
    EXPECT_EQ(fakeOutput(),
              "DefaultDestDir = 12\nLost = 10\nメモリが不足しています。\nKept = 11\n");
    EXPECT_EQ(lookupDirectoryId("Lost"), 12);
    EXPECT_EQ(lookupDirectoryId("Kept"), 11);
    clearDestinations();
    EXPECT_EQ(fakeHeapBlocks(), 0u);
}

TEST_F(DestinationsTest, OnlyTheThreeSystemDirectoriesAreSupported) {
    EXPECT_EQ(directoryOf(10), "C:\\WINNT\\");
    EXPECT_EQ(directoryOf(11), "C:\\WINNT\\System32\\");
    EXPECT_EQ(directoryOf(12), "C:\\WINNT\\System32\\Drivers\\");
    for (int32_t id : {13, 0, -1, 9})
        EXPECT_EQ(directoryOf(id), "<none>");
}

TEST_F(DestinationsTest, NoWindowsDirectoryMeansNoDestination) {
    fakeFailCall(FAKE_GET_WINDOWS_DIRECTORY, 1);
    EXPECT_EQ(directoryOf(10), "<none>");
    fakeSetWindowsDirectory("C:\\" + std::string(259, 'w')); // too long for the buffer
    EXPECT_EQ(directoryOf(10), "<none>");
    fakeSetWindowsDirectory("C:\\" + std::string(238, 'w')); // 241 + 18 = 259
    EXPECT_EQ(directoryOf(12).size(), 259u);
    fakeSetWindowsDirectory("C:\\" + std::string(239, 'w'));
    EXPECT_EQ(directoryOf(12), "<none>");
    EXPECT_EQ(directoryOf(10).size(), 243u);
}

TEST_F(DestinationsTest, ASectionBoundForASubfolderHasNoDestination) {
    char path[PATH_SIZE];
    for (const char *value : {"11,sub", "11 ,\tsub", "11", "11,", "11 ; a, b", "11, ; c"}) {
        bool subfolder = strstr(value, "sub") != nullptr;
        resetDestinations();
        read(std::string("DefaultDestDir=") + value + "\nNamed=" + value + "\nPlain=10\n");
        EXPECT_EQ(lookupDirectoryId("Named"), 11) << value;
        EXPECT_EQ(destinationForSection("Named", path), !subfolder) << value;
        EXPECT_EQ(destinationForSection("Other", path), !subfolder) << value; // the default's
        EXPECT_TRUE(destinationForSection("Plain", path)) << value;
    }
}

} // namespace
