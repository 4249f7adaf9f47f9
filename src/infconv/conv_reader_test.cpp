// Reading NT 4.0-style INF files: logical lines, fields with their quotes
// and %strings%, numbers, and the code pages a file may come in.

#include "infconv/conv_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/shortfall.h"
#include "support/fake.h"

namespace {

// The lines of [S] in `text`, each "number:text".
std::vector<std::string> linesOf(const std::string &text) {
    fakeReset();
    EXPECT_EQ(convLoadBytes(text.data(), text.size()), CONV_LOADED);
    std::vector<std::string> lines;
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    while (convNextLine("s", &cursor, &line, &number))
        lines.push_back(std::to_string(number) + ":" + line);
    return lines;
}

TEST(ConvReader, LineRules) {
    struct Row {
        std::string text;
        std::vector<std::string> lines;
    } rows[] = {
        {"[S]\r\na = 1 ; comment\r\n\r\n; only a comment\r\nb\r\n", {"2:a = 1", "5:b"}},
        {"[S]\na = \"x;y\" ; cut\n", {"2:a = \"x;y\""}},
        {"[S]\na = 1, \\\n    2\nb\n", {"2:a = 1,     2", "4:b"}},
        {"[S]\na = \\ ; a comment after the backslash\nb\n", {"2:a = b"}},
        {"[S]\na = \"\\\nb\n", {"2:a = \"\\", "3:b"}},         // inside quotes
        {"[S]\na = \x95\x5C\nb\n", {"2:a = \x95\x5C", "3:b"}}, // a kanji's trail byte
        {"[s]\na\n[T]\nt\n[ S ]\nb\x1A\nc\n", {"2:a", "6:b"}}, // Ctrl-Z ends the data
        {"x\n[S]\nlast line without a line end", {"3:last line without a line end"}},
        {std::string("[S]\na\n [Other\0]\nb\n[s]\nc\0d\ne\n", 28), {"2:a", "7:e"}}, // NUL bytes
    };
    for (const Row &row : rows)
        EXPECT_EQ(linesOf(row.text), row.lines) << row.text;
}

TEST(ConvReader, OverLongLineIsReportedAndLeftOut) {
    shortfallReset();
    EXPECT_EQ(linesOf("[S]\n" + std::string(1024, 'a') + "\nb\n"), std::vector<std::string>{"3:b"});
    EXPECT_EQ(fakeOutput(), "×2行目: 行が長すぎるため読み込みませんでした。\n");
    EXPECT_EQ(shortfallCount(), 1);
}

std::vector<std::string> fieldsOf(const std::string &strings, const std::string &text) {
    std::string inf = "[Strings]\n" + strings + "\n[Strings.0411]\nLocal = \"ローカル\"\n";
    fakeReset();
    EXPECT_EQ(convLoadBytes(inf.data(), inf.size()), CONV_LOADED);
    ConvFields fields;
    convReadFields(text.c_str(), &fields);
    std::vector<std::string> result(fields.text, fields.text + fields.count);
    if (fields.tooLong)
        result.push_back("(too long)");
    return result;
}

TEST(ConvReader, FieldsQuotesAndStrings) {
    struct Row {
        std::string strings, text;
        std::vector<std::string> fields;
    } rows[] = {
        {"", " a , b ,, \"c, d\" ", {"a", "b", "", "c, d"}},
        {"", "\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"", "\" padded \"", {" padded "}},
        {"Name = \"Disk, One\"", "%Name%,x", {"Disk, One", "x"}},
        {"name = value", "%NAME%\\%12%\\%%SystemRoot%%", {"value\\%12%\\%SystemRoot%"}},
        {"Local = \"global\"", "%Local%", {"ローカル"}},
        {"", "%unknown% 100%", {"%unknown% 100%"}},
        {"Big = \"" + std::string(300, 'x') + "\"", "%Big%%Big%", {"", "(too long)"}},
        {"",
         "1,2,3,4,5,6,7,8,9,10,11,12,13",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "(too long)"}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(fieldsOf(row.strings, row.text), row.fields) << row.text;
}

TEST(ConvReader, Utf16IsTakenWhenAllAscii) {
    std::string ascii("\xFF\xFE[\0S\0]\0\r\0\n\0a\0", 14);
    EXPECT_EQ(linesOf(ascii), std::vector<std::string>{"2:a"});
    std::string bigEndian("\xFE\xFF\0[\0S\0]\0\n\0b", 12);
    EXPECT_EQ(linesOf(bigEndian), std::vector<std::string>{"2:b"});
    std::string kanji("\xFF\xFE[\0S\0]\0\n\0\x42\x30", 12);
    EXPECT_EQ(convLoadBytes(kanji.data(), kanji.size()), CONV_UTF16_NOT_ASCII);
}

// The line and section tables full: what lies past them is said once and
// counted, with the number of the first line not read.
TEST(ConvReader, TablesAtTheirCapacityAndPastIt) {
    const struct {
        std::string line; // one line or one section
        int capacity;
    } tables[] = {{"a\n", CONV_LINE_CAPACITY}, {"[S]\n", CONV_SECTION_CAPACITY}};
    for (const auto &table : tables) {
        for (int count : {table.capacity, table.capacity + 1}) {
            std::string text;
            for (int i = 0; i < count; ++i)
                text += table.line;
            fakeReset();
            shortfallReset();
            EXPECT_EQ(convLoadBytes(text.data(), text.size()), CONV_LOADED);
            bool past = count > table.capacity;
            EXPECT_EQ(fakeOutput(), past ? "×" + std::to_string(count) +
                                               "行目以降: 行やセクションが多すぎるため"
                                               "読み込みませんでした。\n"
                                         : "");
            EXPECT_EQ(shortfallCount(), past ? 1 : 0);
        }
    }
}

} // namespace
