// The byte-string operations every INF reader relies on.

#include "inf/text.h"

#include <gtest/gtest.h>

#include <string>

#include "common/capacity.h"
#include "support/fake.h"

static std::string applied(void (*operation)(char *), const std::string &text) {
    char buffer[LINE_SIZE];
    snprintf(buffer, sizeof buffer, "%s", text.c_str());
    operation(buffer);
    return buffer;
}

TEST(Text, NormaliseLineCutsLineEndCommentAndSpace) {
    EXPECT_EQ(applied(normaliseLine, "  [Drv.Copy]   ; files\r\n"), "[Drv.Copy]");
    EXPECT_EQ(applied(normaliseLine, "; only a comment\n"), "");
    EXPECT_EQ(applied(normaliseLine, "Key=\"a;b\"\n"), "Key=\"a");
    EXPECT_EQ(applied(normaliseLine, "abc\rdropped\n"), "abc");
    EXPECT_EQ(applied(normaliseLine, "\t\v\f \n"), "");
}

TEST(Text, TrimSpaceKeepsShiftJisBytes) {
    // 0x82 0xA0 ... bytes at or above 0x80 are never white space.
    EXPECT_EQ(applied(trimSpace, " \t\x82\xA0\x85 \n"), "\x82\xA0\x85");
    EXPECT_EQ(applied(trimSpace, "a b"), "a b");
}

TEST(Text, StripQuotesRemovesOnlyOneOuterPair) {
    EXPECT_EQ(applied(stripQuotes, "\"a\"b\""), "a\"b");
    EXPECT_EQ(applied(stripQuotes, "\"\""), "");
    EXPECT_EQ(applied(stripQuotes, "\""), "\"");
    EXPECT_EQ(applied(stripQuotes, "\"abc"), "\"abc");
    EXPECT_EQ(applied(stripQuotes, " \"abc\""), " \"abc\"");
}

TEST(Text, LooseEqualsFindsTheClassLine) {
    const char *target = "Class=LegacyDriver";
    EXPECT_TRUE(looseEquals("Class = LegacyDriver", target));
    EXPECT_TRUE(looseEquals("class=legacydriver", target));
    EXPECT_TRUE(looseEquals("Cla ss=Legacy\tDriver \t", target));
    EXPECT_FALSE(looseEquals("Class=LegacyDriverX", target));
    EXPECT_FALSE(looseEquals("Class=LegacyDrive", target));
    EXPECT_FALSE(looseEquals("Class=\"LegacyDriver\"", target));
    EXPECT_FALSE(looseEquals("", target));
}

TEST(Text, ReadStrictNumberTakesOnlyAFieldThatIsOneNumber) {
    const struct {
        const char *text;
        uint32_t value;
    } accepted[] = {{"0", 0},
                    {"3", 3},
                    {"+3", 3},
                    {"010", 8},
                    {"0x10", 16},
                    {"0X1f", 31},
                    {"-1", 0xFFFFFFFF},
                    {"-0x10", 0xFFFFFFF0},
                    {"+0x20000", 0x20000},
                    {"4294967295", 0xFFFFFFFF},
                    {"0xFFFFFFFF", 0xFFFFFFFF},
                    {"037777777777", 0xFFFFFFFF}};
    for (const auto &row : accepted) {
        uint32_t value = 12345;
        EXPECT_TRUE(readStrictNumber(row.text, &value)) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
    for (const char *text : {"",
                             "+",
                             "-",
                             "0x",
                             "08",
                             "09",
                             "0xg",
                             "12abc",
                             "0x00010001junk",
                             "99999999999",
                             "4294967296",
                             "0x100000000",
                             " 3",
                             "3 ",
                             "\"3\"",
                             "%SYMBOL%",
                             "REG_DWORD",
                             "--1",
                             "+-1",
                             "1.0",
                             "\xB1"}) {
        uint32_t value = 12345;
        EXPECT_FALSE(readStrictNumber(text, &value)) << text;
        EXPECT_EQ(value, 12345u) << text;
    }
}

TEST(Text, ComposePathFitsAtMost259Characters) {
    char path[PATH_SIZE] = "untouched";
    std::string first(200, 'a');
    EXPECT_TRUE(composePath(path, first.c_str(), std::string(59, 'b').c_str()));
    EXPECT_EQ(std::string(path).size(), 259u);
    EXPECT_FALSE(composePath(path, "x", std::string(259, 'c').c_str()));
    EXPECT_EQ(std::string(path).size(), 259u); // left as it was
}

// Code page 932 bytes: 0x95 0x5C is a kanji whose trail byte is the
// backslash; 0x83 0x41 and 0x83 0x61 are two katakana whose trail bytes are
// 'A' and 'a'. In a single-byte code page the same bytes are characters of
// their own, and the old byte-wise answers hold there.
const char KANJI_5C[] = "\x95\x5C";
const char KATAKANA_A[] = "\x83\x41";
const char KATAKANA_SMALL_A[] = "\x83\x61";

class TextCodePageTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        fakeReset();
        if (!doubleByte())
            fakeUseSingleByteCodePage();
    }
    static bool doubleByte() { return GetParam(); }
};

static long separatorOffset(const std::string &text, bool last) {
    const char *found = last ? textLastSeparator(text.c_str()) : textFindSeparator(text.c_str());
    return found && *found ? static_cast<long>(found - text.c_str()) : -1;
}

TEST_P(TextCodePageTest, TrailBytesAreNeverSeparators) {
    struct {
        std::string text;
        long first932, last932, firstSingle, lastSingle;
    } cases[] = {
        {std::string("C:\\d\\") + KANJI_5C, 2, 4, 2, 6},
        {std::string(KANJI_5C) + ".sys", -1, -1, 1, 1},
        {std::string(KANJI_5C) + "\\" + KANJI_5C + "/x", 2, 5, 1, 5},
        {"a\x81/b", 2, 2, 2, 2}, // no trail byte is below 0x40
        {"a\x81", -1, -1, -1, -1},
        {"", -1, -1, -1, -1},
    };
    for (auto &c : cases) {
        EXPECT_EQ(separatorOffset(c.text, false), doubleByte() ? c.first932 : c.firstSingle)
            << c.text;
        EXPECT_EQ(separatorOffset(c.text, true), doubleByte() ? c.last932 : c.lastSingle) << c.text;
    }
}

TEST_P(TextCodePageTest, DoubleByteCharactersAreComparedExactly) {
    const std::string upper = std::string("Key\\A") + KATAKANA_A;
    const std::string lower = std::string("key\\a") + KATAKANA_SMALL_A;
    const std::string folded = std::string("KEY\\a") + KATAKANA_A;
    EXPECT_EQ(equalsIgnoreCase(upper.c_str(), lower.c_str()), !doubleByte());
    EXPECT_TRUE(equalsIgnoreCase(upper.c_str(), folded.c_str()));
    EXPECT_EQ(startsWithIgnoreCase((lower + "x").c_str(), upper.c_str()), !doubleByte());
    EXPECT_TRUE(startsWithIgnoreCase((folded + "x").c_str(), upper.c_str()));
    EXPECT_FALSE(startsWithIgnoreCase("\x83", KATAKANA_A)); // a lead byte at the end
    EXPECT_EQ(looseEquals(("Class = " + upper).c_str(), ("class=" + lower).c_str()), !doubleByte());
    EXPECT_TRUE(looseEquals(("Class = " + upper).c_str(), ("class=" + folded).c_str()));
}

INSTANTIATE_TEST_SUITE_P(CodePages, TextCodePageTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "DoubleByte932" : "SingleByte");
                         });
