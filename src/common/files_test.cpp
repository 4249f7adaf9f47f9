// The byte-for-byte comparison of two files, whatever the size of each
// read the system answers.

#include "common/files.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake.h"

namespace {

TEST(Files, CompareFilesTakesShortReads) {
    const std::string big(1500, 'a'); // three chunks of the comparison
    struct {
        const char *what;
        std::string second;
        FileComparison expected;
    } rows[] = {
        {"the same", big, FILES_SAME},
        {"the last byte differs", big.substr(0, 1499) + "b", FILES_DIFFERENT},
        {"one byte longer", big + "a", FILES_DIFFERENT},
        {"one byte shorter", big.substr(0, 1499), FILES_DIFFERENT},
        {"a chunk shorter", big.substr(0, 1024), FILES_DIFFERENT},
    };
    for (size_t most : {0u, 1u, 7u, 511u, 512u}) {
        for (const auto &row : rows) {
            fakeReset();
            fakeAddFile("C:\\work\\a.sys", big);
            fakeAddFile("C:\\work\\b.sys", row.second);
            fakeLimitReads(most);
            EXPECT_EQ(compareFiles("C:\\work\\a.sys", "C:\\work\\b.sys"), row.expected)
                << row.what << ", reads of at most " << most;
            EXPECT_EQ(fakeOpenFiles(), 0);
        }
    }
}

} // namespace
