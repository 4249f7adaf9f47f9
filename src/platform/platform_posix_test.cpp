// The converter's Linux platform (platform-posix.cpp) in a real temporary
// folder: the case-matching path search, and the exclusive creation of a
// new file with its retry after an interrupted write and the removal of a
// part-written one. Its own test program, linked with the POSIX platform
// instead of the fake, with write() wrapped (-Wl,--wrap=write) so that a
// test can make a write interrupted, short or failing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/capacity.h"
#include "platform/platform.h"

// What the next writes answer: a byte count to write at most, or -errno.
static std::deque<long> g_writes;

extern "C" ssize_t __real_write(int file, const void *data, size_t size);
extern "C" ssize_t __wrap_write(int file, const void *data, size_t size) {
    if (g_writes.empty())
        return __real_write(file, data, size);
    long next = g_writes.front();
    g_writes.pop_front();
    if (next < 0) {
        errno = static_cast<int>(-next);
        return -1;
    }
    return __real_write(file, data, std::min(size, static_cast<size_t>(next)));
}

namespace {

class PosixPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/infconv-posix-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        g_writes.clear();
    }
    void TearDown() override {
        g_writes.clear();
        std::string command = "rm -rf '" + root + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    void makeFile(const std::string &path, const std::string &content) {
        int file = open((root + path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(file, 0);
        ASSERT_EQ(write(file, content.data(), content.size()),
                  static_cast<ssize_t>(content.size()));
        close(file);
    }
    // The file's bytes, or "<none>".
    std::string content(const std::string &path) {
        FILE *file = fopen((root + path).c_str(), "rb");
        if (!file)
            return "<none>";
        std::string bytes;
        for (int c; (c = fgetc(file)) != EOF;)
            bytes += static_cast<char>(c);
        fclose(file);
        return bytes;
    }

    std::string root;
};

// A part with no entry of that exact name is matched with ASCII case
// ignored; the path is answered as found.
TEST_F(PosixPlatformTest, FindPathMatchesEachPartIgnoringCase) {
    ASSERT_EQ(mkdir((root + "/Disk1").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((root + "/Disk1/I386").c_str(), 0755), 0);
    makeFile("/Disk1/I386/DRV.SYS", "driver");
    makeFile("/Disk1/I386/drv.sys", "the exact name first");
    makeFile("/Disk1/I386/ONLY.SYS", "upper case only");
    struct {
        const char *path;
        unsigned long attributes;
        const char *found;
    } rows[] = {
        {"/Disk1/I386/DRV.SYS", 0x20ul, "/Disk1/I386/DRV.SYS"},
        {"/Disk1/I386/drv.sys", 0x20ul, "/Disk1/I386/drv.sys"},
        {"/disk1/i386/only.sys", 0x20ul, "/Disk1/I386/ONLY.SYS"},
        {"/DISK1/i386", PLATFORM_ATTRIBUTE_DIRECTORY, "/Disk1/I386"},
        {"/disk1//i386/Only.Sys", 0x20ul, "/Disk1//I386/ONLY.SYS"},
        {"/disk1/i386/missing.sys", PLATFORM_NO_ATTRIBUTES, nullptr},
        {"/disk2/i386/only.sys", PLATFORM_NO_ATTRIBUTES, nullptr},
        {"/disk1/i386/only.sy", PLATFORM_NO_ATTRIBUTES, nullptr},
    };
    for (const auto &row : rows) {
        char found[PATH_SIZE] = "";
        EXPECT_EQ(platformFindPath((root + row.path).c_str(), found), row.attributes) << row.path;
        if (row.found) {
            EXPECT_EQ(std::string(found), root + row.found) << row.path;
        }
    }
}

// A new file is made only where none is; a write that the system
// interrupts is tried again, and a file that cannot be written whole is
// removed.
TEST_F(PosixPlatformTest, WriteNewFileIsExclusiveAndWhole) {
    const std::string text(10000, 't');
    makeFile("/old.inf", "old");
    struct {
        const char *what;
        const char *path;
        std::deque<long> writes;
        PlatformNewFile expected;
        std::string left; // what the path then holds
    } rows[] = {
        {"written", "/new.inf", {}, PLATFORM_NEW_FILE_WRITTEN, text},
        {"interrupted, then written",
         "/new.inf",
         {-EINTR, -EINTR},
         PLATFORM_NEW_FILE_WRITTEN,
         text},
        {"written in short pieces",
         "/new.inf",
         {1, 4096, -EINTR, 7},
         PLATFORM_NEW_FILE_WRITTEN,
         text},
        {"the disk full halfway", "/new.inf", {5000, -ENOSPC}, PLATFORM_NEW_FILE_FAILED, "<none>"},
        {"nothing written", "/new.inf", {0}, PLATFORM_NEW_FILE_FAILED, "<none>"},
        {"already there", "/old.inf", {}, PLATFORM_NEW_FILE_EXISTS, "old"},
        {"no such folder", "/none/new.inf", {}, PLATFORM_NEW_FILE_FAILED, "<none>"},
    };
    for (const auto &row : rows) {
        unlink((root + "/new.inf").c_str());
        g_writes = row.writes;
        EXPECT_EQ(platformWriteNewFile((root + row.path).c_str(), text.data(), text.size()),
                  row.expected)
            << row.what;
        EXPECT_TRUE(g_writes.empty()) << row.what;
        g_writes.clear();
        EXPECT_EQ(content(row.path), row.left) << row.what;
    }
}

} // namespace
