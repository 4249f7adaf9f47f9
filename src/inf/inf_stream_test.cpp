// The INF stream's text mode and the section-body protocol: what every
// section reader sees, and where it leaves the stream for the next one.

#include "inf/inf_stream.h"

#include <string>
#include <vector>

#include "run/test_support.h"

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
        open("[A]" + e + "one" + e + "; note" + e + e + "  [Indented]" + e + "  ; kept" + e +
             "[B]" + e + "two");
        EXPECT_EQ(nextLine(), "[A]\n");
        EXPECT_EQ(body(), (std::vector<std::string>{"one", "  [Indented]", "  ; kept"}));
        EXPECT_EQ(nextLine(), "[B]\n"); // the header is read again by the caller
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
        ASSERT_EQ(nextLine(), "[B]\n") << pad;
        ASSERT_EQ(body(), std::vector<std::string>{"b"}) << pad;
        infClose(&stream);
    }
}

TEST_F(InfStreamTest, LongLinesArriveInPiecesOf1023) {
    open("[A]\n" + std::string(1023, 'e') + "\n" + std::string(1024, 'f') + "\n");
    nextLine();
    EXPECT_EQ(body(),
              (std::vector<std::string>{std::string(1023, 'e'), std::string(1023, 'f'), "f"}));
    infClose(&stream);

    open("[A]\n" + std::string(1023, 'a') + "[B]\nrest\n");
    nextLine();
    EXPECT_EQ(body(), std::vector<std::string>{std::string(1023, 'a')});
    EXPECT_EQ(nextLine(), "[B]\n"); // the rest began with '[' and ended the body
}

TEST_F(InfStreamTest, CtrlZEndsTheDataForGood) {
    open("[A]\r\none\r\ntwo\x1Athree\r\n[B]\r\n");
    nextLine();
    EXPECT_EQ(body(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(nextLine(), "<end>");
    EXPECT_EQ(nextLine(), "<end>");
}

TEST_F(InfStreamTest, LoneCrAndNulEndALinesText) {
    open(std::string("[A]\nabc\rdef\nghi\0jkl\nlast", 24));
    nextLine();
    std::vector<std::string> lines = body();
    EXPECT_EQ(lines, (std::vector<std::string>{"abc", "ghi", "last"}));
    EXPECT_EQ(nextLine(), "<end>");
}

TEST_F(InfStreamTest, OpeningAMissingFileFails) {
    EXPECT_FALSE(infOpen(&stream, "C:\\work\\missing.inf"));
    EXPECT_EQ(fakeOpenFiles(), 0);
}

} // namespace
