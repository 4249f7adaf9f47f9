// Shared by the tests of the parts of the conversion (conv_copy_test.cpp,
// conv_addreg_test.cpp, conv_services_test.cpp): a row of a rule's table,
// converted as a line of a small INF file and looked for in the file
// written or in the report.

#ifndef INFCONV_CONV_CONVERT_TEST_H
#define INFCONV_CONV_CONVERT_TEST_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/converter.h"

const char CONV_HEAD[] = "[Version]\nSignature=\"$Windows NT$\"\n";
const char CONV_SERVICE_KEY[] = "HKLM,\"System\\CurrentControlSet\\Services\\Drv";

struct ConvRow {
    std::string input;    // the line the rule is about
    std::string expected; // the line written, or the reason it was left out
    bool written;
};

// Converts `inf`; checks that the row's input line, at `number`, became
// `row.expected` in the file written, or was reported as left out.
inline void expectConvRow(const std::string &inf, int number, const std::string &reported,
                          const ConvRow &row, const std::vector<std::string> &files = {}) {
    ConvResult result = convertInf(inf, files);
    if (row.written) {
        EXPECT_NE(result.inf.find("\r\n" + row.expected + "\r\n"), std::string::npos)
            << row.input << "\n"
            << result.inf << result.said;
        EXPECT_EQ(result.said.find("×"), std::string::npos) << row.input << "\n" << result.said;
    } else {
        EXPECT_NE(result.said.find(leftOutLine(number, row.expected, reported)), std::string::npos)
            << row.input << "\n"
            << result.said;
    }
}

// How many times `part` occurs in `text`.
inline size_t occurrences(const std::string &text, const std::string &part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

#endif
