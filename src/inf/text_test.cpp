// The byte-string operations every INF reader relies on.

#include "inf/text.h"

#include <gtest/gtest.h>

#include <string>

#include "run/capacity.h"

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

TEST(Text, ReadSigned32ReadsLikeAtolAndWraps) {
    EXPECT_EQ(readSigned32("12,drivers\\sub"), 12);
    EXPECT_EQ(readSigned32("  -1"), -1);
    EXPECT_EQ(readSigned32("+11"), 11);
    EXPECT_EQ(readSigned32("abc"), 0);
    EXPECT_EQ(readSigned32("0x10"), 0);
    EXPECT_EQ(readSigned32("4294967306"), 10); // 2^32 + 10 wraps to 10
    EXPECT_EQ(readSigned32("2147483648"), INT32_MIN);
}

TEST(Text, ReadUnsigned32ReadsLikeStrtoulWithBaseZero) {
    EXPECT_EQ(readUnsigned32("2"), 2u);
    EXPECT_EQ(readUnsigned32("0x10"), 16u);
    EXPECT_EQ(readUnsigned32("0X1f"), 31u);
    EXPECT_EQ(readUnsigned32("010"), 8u);
    EXPECT_EQ(readUnsigned32("09"), 0u); // octal stops at 9
    EXPECT_EQ(readUnsigned32("0x"), 0u); // no hex digit: the 0 alone
    EXPECT_EQ(readUnsigned32("0xg"), 0u);
    EXPECT_EQ(readUnsigned32(" \t+7 ; comment"), 7u);
    EXPECT_EQ(readUnsigned32("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(readUnsigned32("-0x10"), 0xFFFFFFF0u);
    EXPECT_EQ(readUnsigned32("\"2\""), 0u);
    EXPECT_EQ(readUnsigned32("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(readUnsigned32("4294967296"), 0xFFFFFFFFu);
    EXPECT_EQ(readUnsigned32("0x123456789"), 0xFFFFFFFFu);
    EXPECT_EQ(readUnsigned32("-4294967296"), 0xFFFFFFFFu);
    EXPECT_EQ(readUnsigned32("0x00020000"), 0x00020000u);
}

TEST(Text, ComposePathFitsAtMost259Characters) {
    char path[PATH_SIZE] = "untouched";
    std::string first(200, 'a');
    EXPECT_TRUE(composePath(path, first.c_str(), std::string(59, 'b').c_str()));
    EXPECT_EQ(std::string(path).size(), 259u);
    EXPECT_FALSE(composePath(path, "x", std::string(259, 'c').c_str()));
    EXPECT_EQ(std::string(path).size(), 259u); // left as it was
}
