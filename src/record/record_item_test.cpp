// Tests of the record's lines: every kind of item reads back as it was
// written, whatever bytes its names hold, and a line that is not exactly
// an item is refused.

#include "record/record_item.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

RecordItem item(RecordItemKind kind) {
    RecordItem made = {};
    made.kind = kind;
    made.run = 4294967295ul;
    strcpy(made.path, "C:\\WINNT\\System32\\Drivers\\x 100%.sys");
    strcpy(made.saved, "1A2B3C4D.001");
    strcpy(made.key, "System\\CurrentControlSet\\Services\\\x95\x5C\tTab");
    strcpy(made.name, "Image\nPath");
    made.file = {123, 0xCBF43926u};
    made.oldFile = {0, 0};
    made.value.type = 2;
    made.value.size = 3;
    memcpy(made.value.bytes, "a\0b", 3);
    made.oldValue.type = 3;
    made.oldValue.size = 0;
    return made;
}

TEST(RecordItemTest, EveryKindReadsBackAsWritten) {
    for (RecordItemKind kind :
         {RECORD_FILE_CREATED, RECORD_FILE_REPLACED, RECORD_FILE_FOUND, RECORD_FILE_NOT_COPIED,
          RECORD_KEY_CREATED, RECORD_VALUE_CREATED, RECORD_VALUE_REPLACED, RECORD_VALUE_FOUND}) {
        RecordItem written = item(kind);
        char line[RECORD_LINE_SIZE];
        ASSERT_TRUE(recordFormatItem(written, line)) << kind;
        // One line: no line end inside, none missing at its end.
        EXPECT_EQ(std::string(line).find('\n'), strlen(line) - 1) << line;
        RecordItem read = {};
        ASSERT_TRUE(recordParseItem(line, &read)) << line;
        char again[RECORD_LINE_SIZE];
        ASSERT_TRUE(recordFormatItem(read, again));
        EXPECT_STREQ(line, again);
        EXPECT_EQ(read.run, written.run);
        if (recordIsFile(kind)) {
            EXPECT_STREQ(read.path, written.path);
            EXPECT_EQ(read.file.crc, written.file.crc);
        } else {
            EXPECT_STREQ(read.key, written.key);
        }
        if (recordIsValue(kind)) {
            EXPECT_STREQ(read.name, written.name);
            EXPECT_EQ(std::string(reinterpret_cast<char *>(read.value.bytes), read.value.size),
                      std::string("a\0b", 3));
        }
    }
}

TEST(RecordItemTest, LinesThatAreNoItemAreRefused) {
    const char *const lines[] = {
        "",
        "; a comment",
        "RUN\t1\t2026-12-09 10:00:00\tC:\\a.inf",
        "FILE-CREATED\t1\t5\tCBF43926",                 // no path
        "FILE-CREATED\t1\t5\tCBF43926\tC:\\a\tmore",    // one field too many
        "FILE-CREATED\t1\t5\tCBF4392\tC:\\a",           // a short checksum
        "FILE-CREATED\t-1\t5\tCBF43926\tC:\\a",         // no number
        "FILE-CREATED\t4294967296\t5\tCBF43926\tC:\\a", // past 32 bits
        "FILE-CREATED\t1\t5\tCBF43926\t",               // an empty path
        "FILE-CREATED\t1\t5\tCBF43926\tC:\\%4",         // a cut escape
        "FILE-CREATED\t1\t5\tCBF43926\tC:\\%41",        // an escape of a plain byte
        "KEY-CREATED\t1\tSystem\\%00x",                 // a NUL
        "VALUE-CREATED\t1\tk\tn\t4\t030",               // an odd count of digits
        "VALUE-CREATED\t1\tk\tn\t4\t0G000000",          // not hexadecimal
        "file-created\t1\t5\tCBF43926\tC:\\a",          // tags are upper case
        "FILE-CREATED\t1\t5\tCBF43926\tC:\\a\rx",       // a CR inside
    };
    for (const char *line : lines) {
        RecordItem read;
        EXPECT_FALSE(recordParseItem(line, &read)) << line;
    }
}

TEST(RecordItemTest, TheChecksumIsThatOfZipFiles) {
    EXPECT_EQ(recordCrc32(0, "123456789", 9), 0xCBF43926u);
    // Continued over two pieces as over one.
    EXPECT_EQ(recordCrc32(recordCrc32(0, "1234", 4), "56789", 5), 0xCBF43926u);
    EXPECT_EQ(recordCrc32(0, "", 0), 0u);
}

} // namespace
