// The INF stream's text mode and the section-body protocol: what every
// section reader sees, and where it leaves the stream for the next one.

#include "inf/inf_stream.h"

#include <string>
#include <vector>

#include "support/installer.h"

namespace {

class InfStreamTest : public InstallerTest {
protected:
    void open(const std::string &content) {
        fakeAddFile("C:\\work\\s.inf", content);
        ASSERT_TRUE(infOpen(&stream, "C:\\work\\s.inf"));
    }
    void TearDown() override { infClose(&stream); }

    std::string nextLine() {
        char line[LINE_SIZE];
        return readLine(&stream, line) ? std::string(line) : std::string("<end>");
    }

    // The lines a section reader is handed, from the current position.
    std::vector<std::string> body() {
        std::vector<std::string> lines;
        readSectionBody(
            &stream,
            [](char *line, void *context) {
                static_cast<std::vector<std::string> *>(context)->push_back(line);
            },
            &lines);
        return lines;
    }

    InfStream stream{};
};

TEST_F(InfStreamTest, CrLfAndBareLfFilesReadAlike) {
    for (const char *end : {"\r\n", "\n"}) {
        std::string e = end;
        // Blank lines ask for nothing; an indented header is a header.
        open("[A]" + e + "one" + e + "; note" + e + e + " \t" + e + "  ; kept" + e + "\t [B]" + e +
             "two");
        EXPECT_EQ(nextLine(), "[A]");
        EXPECT_EQ(body(), (std::vector<std::string>{"one", "  ; kept"}));
        EXPECT_EQ(nextLine(), "\t [B]"); // the header is read again by the caller
        EXPECT_EQ(body(), std::vector<std::string>{"two"});
        EXPECT_EQ(nextLine(), "<end>");
        infClose(&stream);
    }
}

TEST_F(InfStreamTest, PositionsHoldWhereverTheBufferSplitsACrLf) {
    // Every split of "\r\n" and of a header across the internal buffer.
    for (size_t pad = 1; pad < 1020; ++pad) {
        open("[A]\r\n" + std::string(pad, 'x') + "\r\n[B]\r\nb\r\n");
        nextLine();
        ASSERT_EQ(body(), std::vector<std::string>{std::string(pad, 'x')}) << pad;
        ASSERT_EQ(nextLine(), "[B]") << pad;
        ASSERT_EQ(body(), std::vector<std::string>{"b"}) << pad;
        infClose(&stream);
    }
}

TEST_F(InfStreamTest, LongLinesAreSkippedWholeAndReportedByNumber) {
    const std::string e1023(1023, 'e');
    const std::string f1024(1024, 'f');
    struct {
        std::string content;
        std::vector<std::string> body;
        std::string after; // the line read after the body
        std::string notices;
    } cases[] = {
        {"[A]\n" + e1023 + "\n" + f1024 + "\nnext\n", {e1023, "next"}, "<end>", longLineNotice(3)},
        {"[A]\r\n" + e1023 + "\r\n" + f1024 + "\r\nnext\r\n[B]\r\n",
         {e1023, "next"},
         "[B]",
         longLineNotice(3)},
        {"[A]\n" + e1023, {e1023}, "<end>", ""},
        {"[A]\n" + f1024, {}, "<end>", longLineNotice(2)},
        {"[A]\n" + f1024 + "\x1A" + "after", {}, "<end>", longLineNotice(2)},
        {"[A]\n" + e1023 + "\r\r\n", {}, "<end>", longLineNotice(2)}, // a lone CR counts
        // Neither a header nor the end of the body, however it begins.
        {"[A]\none\n[" + e1023 + "]\ntwo\n" + f1024 + "\n" + f1024 + "\n[B]\n",
         {"one", "two"},
         "[B]",
         longLineNotice(3) + longLineNotice(5) + longLineNotice(6)},
    };
    for (auto &c : cases) {
        for (bool report : {true, false}) {
            fakeReset();
            open(c.content);
            stream.reportLongLines = report;
            EXPECT_EQ(nextLine(), "[A]");
            EXPECT_EQ(body(), c.body);
            EXPECT_EQ(nextLine(), c.after);
            EXPECT_EQ(fakeOutput(), report ? c.notices : "") << c.content.substr(0, 40);
            infClose(&stream);
        }
    }
}

TEST_F(InfStreamTest, APositionCarriesItsLineNumber) {
    open("[A]\r\none\r\n" + std::string(1500, 'x') + "\r\n[B]\n" + std::string(1024, 'y'));
    stream.reportLongLines = true;
    nextLine();
    body();
    InfPosition header = infTell(&stream);
    EXPECT_EQ(header.line, 4u);
    EXPECT_EQ(nextLine(), "[B]");
    EXPECT_EQ(nextLine(), "<end>");
    infSeek(&stream, header); // seeking back restores the count
    EXPECT_EQ(nextLine(), "[B]");
    EXPECT_EQ(nextLine(), "<end>"); // line 5 again, by the same number
    EXPECT_EQ(fakeOutput(), longLineNotice(3) + longLineNotice(5) + longLineNotice(5));
}

TEST_F(InfStreamTest, CtrlZEndsTheDataForGood) {
    open("[A]\r\none\r\ntwo\x1Athree\r\n[B]\r\n");
    nextLine();
    EXPECT_EQ(body(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(nextLine(), "<end>");
    EXPECT_EQ(nextLine(), "<end>");
}

// A NUL, or a CR that does not end its line, makes the line one no reader
// can be sure of: it is skipped whole, as a comment, and reported once by
// its number.
TEST_F(InfStreamTest, LinesWithAStrayCrOrNulAreSkippedWholeAndReportedByNumber) {
    auto stray = [](unsigned long line) {
        return std::to_string(line) + "行目に改行以外のCRまたはNUL文字があるため無視しました。\n";
    };
    const std::string e1022(1022, 'e');
    const struct {
        std::string content; // after "[A]\n", line 2 on
        std::vector<std::string> body;
        std::string notices;
    } cases[] = {
        {"drva.sys\rdrvb.sys\r\nnext\r\n", {"next"}, stray(2)},
        {std::string("ghi\0jkl\n\0\nnext\n", 15), {"next"}, stray(2) + stray(3)},
        {"x\r\r\nok\r\nlast\r", {"ok"}, stray(2) + stray(4)},
        {"ok\nlast\r\x1A", {"ok"}, stray(3)},
        {std::string("[B]\0\nnext\n", 10), {"next"}, stray(2)}, // no header
        {e1022 + "\r\nnext\n", {e1022, "next"}, ""},
        {e1022 + std::string("\0\nnext\n", 7), {"next"}, stray(2)},
        {e1022 + std::string("e\0\nnext\n", 8), {"next"}, longLineNotice(2)},
        {e1022 + "\r\r\n", {}, stray(2)}, // 1023 bytes before the CR LF
    };
    for (auto &c : cases) {
        for (bool report : {true, false}) {
            fakeReset();
            open("[A]\n" + c.content);
            stream.reportLongLines = report;
            EXPECT_EQ(nextLine(), "[A]");
            EXPECT_EQ(body(), c.body) << c.content.substr(0, 20);
            EXPECT_EQ(nextLine(), "<end>");
            EXPECT_EQ(fakeOutput(), report ? c.notices : "") << c.content.substr(0, 20);
            infClose(&stream);
        }
    }
}

TEST_F(InfStreamTest, OnlyAUtf16ByteOrderMarkIsSeen) {
    struct {
        std::string content;
        bool mark;
    } cases[] = {{"\xFF\xFE[", true},        {"\xFE\xFF", true}, {"\xFF", false},
                 {"\xFF[Version]", false},   {"\xFE", false},    {"", false},
                 {"\xEF\xBB\xBF[V]", false}, {"\xFE\xFE", false}};
    for (auto &c : cases) {
        fakeReset();
        open(c.content);
        EXPECT_EQ(infHasUtf16Mark(&stream), c.mark) << c.content;
        infClose(&stream);
    }
}

TEST_F(InfStreamTest, OpeningAMissingFileFails) {
    EXPECT_FALSE(infOpen(&stream, "C:\\work\\missing.inf"));
    EXPECT_EQ(fakeOpenFiles(), 0);
}

// Reads that answer fewer bytes than asked (a pipe, a network drive) give
// every reader the same lines, in the stream's buffer and across it.
TEST_F(InfStreamTest, ShortReadsGiveTheSameLines) {
    const std::string content = "[A]\r\n" + std::string(700, 'x') + "\r\n\r\n[B]\nb\r" +
                                std::string(1100, 'y') + "\n\x1A" + "after";
    std::vector<std::string> expected;
    open(content);
    for (std::string line = nextLine(); line != "<end>"; line = nextLine())
        expected.push_back(line);
    infClose(&stream);
    ASSERT_EQ(expected.size(), 4u); // the 1101 characters are skipped
    for (size_t most : {1u, 2u, 3u, 511u, 513u}) {
        fakeLimitReads(most);
        open(content);
        std::vector<std::string> lines;
        for (std::string line = nextLine(); line != "<end>"; line = nextLine())
            lines.push_back(line);
        EXPECT_EQ(lines, expected) << most;
        infClose(&stream);
    }
}

} // namespace
