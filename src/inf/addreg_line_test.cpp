// The AddReg line the converter writes reads back through the installer's
// reader as the value it was written for; a value whose line would not
// is not written.

#include "inf/addreg_line.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

const std::string KEY = "System\\CurrentControlSet\\Services\\Drv";

struct Value {
    std::string key, name;
    uint32_t flags;
    std::string text;
    uint32_t number;
};

TEST(AddRegLine, WhatIsWrittenReadsBack) {
    // Every field at its size: 15 bytes of format and 1008 of fields.
    const std::string longKey = KEY + std::string(255 - KEY.size(), 'k');
    const struct {
        Value value;
        std::string line; // "" where only the reading back counts
    } rows[] = {
        {{KEY, "Start", ADDREG_FLAGS_DWORD, "", 0xFFFFFFFFu},
         "HKLM,\"" + KEY + "\",\"Start\",0x00010001,4294967295"},
        {{KEY, "Type", ADDREG_FLAGS_DWORD, "", 0}, "HKLM,\"" + KEY + "\",\"Type\",0x00010001,0"},
        {{KEY + "\\表", "P", ADDREG_FLAGS_EXPAND_SZ, "%SystemRoot%\\x; y", 0},
         "HKLM,\"" + KEY + "\\表\",\"P\",0x00020000,\"%SystemRoot%\\x; y\""},
        {{KEY, "Empty", ADDREG_FLAGS_SZ, "", 0}, "HKLM,\"" + KEY + "\",\"Empty\",0,\"\""},
        {{longKey, std::string(255, 'n'), ADDREG_FLAGS_SZ, std::string(498, 't'), 0}, ""},
    };
    for (const auto &row : rows) {
        const Value &value = row.value;
        char line[LINE_SIZE];
        ASSERT_EQ(writeAddRegLine(value.key.c_str(), value.name.c_str(), value.flags,
                                  value.text.c_str(), value.number, line),
                  ADDREG_WRITTEN)
            << value.name;
        if (!row.line.empty()) {
            EXPECT_EQ(line, row.line);
        }
        AddRegLine read;
        AddRegValue written;
        ASSERT_TRUE(readAddRegLine(line, &read)) << line;
        ASSERT_TRUE(addRegValueOf(read, &written)) << line;
        EXPECT_EQ(read.key, value.key);
        EXPECT_EQ(read.name, value.name);
        EXPECT_EQ(read.flagsValue, value.flags);
        std::string bytes(reinterpret_cast<const char *>(written.bytes), written.size);
        if (value.flags == ADDREG_FLAGS_DWORD) {
            EXPECT_EQ(written.type, PLATFORM_REG_DWORD);
            EXPECT_EQ(read.dwordValue, value.number);
        } else {
            EXPECT_EQ(bytes, value.text + '\0') << line;
        }
    }
}

TEST(AddRegLine, WhatWouldNotReadBackIsNotWritten) {
    const std::string longKey = KEY + std::string(255 - KEY.size(), 'k');
    const struct {
        Value value;
        AddRegWriteResult result;
    } rows[] = {
        {{"Software\\Drv", "A", ADDREG_FLAGS_SZ, "x", 0}, ADDREG_WRITE_NOT_SERVICE_KEY},
        {{KEY + "\"", "A", ADDREG_FLAGS_SZ, "x", 0}, ADDREG_WRITE_QUOTE},
        {{longKey + "k", "A", ADDREG_FLAGS_SZ, "x", 0}, ADDREG_WRITE_TOO_LONG},
        {{KEY, "", ADDREG_FLAGS_SZ, "x", 0}, ADDREG_WRITE_NO_NAME},
        {{KEY, "\"A", ADDREG_FLAGS_DWORD, "", 1}, ADDREG_WRITE_QUOTE},
        {{KEY, "A", ADDREG_FLAGS_SZ, "say \"hi\"", 0}, ADDREG_WRITE_QUOTE},
        {{KEY, std::string(256, 'n'), ADDREG_FLAGS_SZ, "x", 0}, ADDREG_WRITE_TOO_LONG},
        {{KEY, "A", ADDREG_FLAGS_EXPAND_SZ, std::string(510, 't'), 0}, ADDREG_WRITE_TOO_LONG},
        {{longKey, std::string(255, 'n'), ADDREG_FLAGS_SZ, std::string(499, 't'), 0},
         ADDREG_WRITE_TOO_LONG},
    };
    for (const auto &row : rows) {
        const Value &value = row.value;
        char line[LINE_SIZE] = "untouched";
        EXPECT_EQ(writeAddRegLine(value.key.c_str(), value.name.c_str(), value.flags,
                                  value.text.c_str(), value.number, line),
                  row.result)
            << value.name;
        EXPECT_STREQ(line, "untouched");
    }
}

} // namespace
