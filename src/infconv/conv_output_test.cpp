// The file written: the order of its registry lines, and each of its
// tables and parts at its capacity and past it.

#include "infconv/conv_output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/capacity.h"
#include "infconv/conv_convert_test.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"
#include "support/installer.h"

namespace {

TEST(ConvOutput, ParentKeysComeBeforeTheirSubkeys) {
    ConvResult result = convertInf(std::string(CONV_HEAD) +
                                   "[DefaultInstall]\nAddReg = R\n[R]\n"
                                   "HKLM,System\\CurrentControlSet\\Services\\Drv\\P,A,0,a\n"
                                   "HKLM,System\\CurrentControlSet\\Services\\Drv,B,0,b\n");
    EXPECT_NE(result.inf.find("\\Drv\",\"B\",0,\"b\"\r\nHKLM,\"System\\CurrentControlSet\\"
                              "Services\\Drv\\P\",\"A\",0,\"a\"\r\n"),
              std::string::npos)
        << result.inf;
}

const char DESTINATIONS[] = "[DestinationDirs]\nDefaultDestDir=12\n";
const std::string KEY = "System\\CurrentControlSet\\Services\\Drv";

// A name of `length` characters that `number` sets apart.
std::string name(int number, size_t length) {
    std::string text = "n" + std::to_string(number);
    return text + std::string(length - text.size(), 'x');
}

std::vector<std::string> names(int count, size_t length) {
    std::vector<std::string> all;
    for (int i = 0; i < count; ++i)
        all.push_back(name(i, length));
    return all;
}

// INF files whose tables hold `count` items each: copy sections, files
// the install section names itself, distinct keys (in any letter case).
std::string copySections(int count) {
    std::string inf = "[DefaultInstall]\nCopyFiles = @x.sys\n";
    for (const std::string &section : names(count, 8))
        inf += "CopyFiles = " + section + "\n[" + section + "]\n[DefaultInstall]\n";
    return inf + DESTINATIONS;
}

std::string ownFiles(int count) {
    std::string inf = "[DefaultInstall]\n";
    for (const std::string &file : names(count, 8))
        inf += "CopyFiles = @" + file + "\n";
    return inf + DESTINATIONS;
}

std::string keys(int count) {
    std::string inf = "[DefaultInstall]\nCopyFiles = @x.sys\nAddReg = R\n[R]\n";
    for (int i = 0; i < count; ++i)
        inf += "HKLM," + KEY + std::to_string(i) + ",A,0,a\n";
    return inf + "HKLM,SYSTEM\\CURRENTCONTROLSET\\SERVICES\\DRV0,B,0,b\n" + DESTINATIONS;
}

// One entry of the installer's [DestinationDirs] table stays free for the
// files the install section names itself: a file written with every
// table at its capacity installs whole.
TEST(ConvOutput, TablesAtTheirCapacityAndPastIt) {
    const struct {
        std::string (*inf)(int count);
        int capacity;
    } tables[] = {
        {copySections, DESTINATION_CAPACITY - 1},
        {ownFiles, CONV_FILE_CAPACITY},
        {keys, CLAIMED_KEY_CAPACITY},
    };
    for (const auto &table : tables) {
        for (int count : {table.capacity, table.capacity + 1}) {
            ConvResult result = convertInf(table.inf(count), names(count, 8));
            size_t past = count > table.capacity ? 1 : 0;
            EXPECT_EQ(occurrences(result.said, "行目: "), past) << result.said;
            EXPECT_EQ(occurrences(result.said, CONV_WHY_TOO_MANY), past) << result.said;
            if (past)
                continue;
            fakeSetInput("1\n");
            EXPECT_EQ(runInstallerWith({"C:\\work\\out.inf"}), 0);
            EXPECT_EQ(outputAfterNotices().find("注意"), std::string::npos) << outputAfterNotices();
        }
    }
}

// An INF file and its files that fill a part of the file written with
// CONV_PART_SIZE + `extra` bytes: lines of their greatest size, CR LF
// included, then one of what is left.
struct PartFilled {
    std::string inf;
    std::vector<std::string> files;
};

std::vector<size_t> lineSizes(size_t total, size_t largest) {
    std::vector<size_t> sizes(total / largest, largest);
    sizes.push_back(total % largest);
    return sizes;
}

// The AddReg part: 58 bytes around the data of each line.
PartFilled regPart(size_t extra) {
    PartFilled filled = {"[DefaultInstall]\nAddReg = R\n[R]\n", {}};
    int i = 0;
    for (size_t size : lineSizes(CONV_PART_SIZE + extra, 58 + REG_DATA_FIELD_SIZE - 3))
        filled.inf +=
            "HKLM," + KEY + "," + name(i++, 4) + ",0," + std::string(size - 58, 'd') + "\n";
    return filled;
}

// The copy part: 63 sections of 257 bytes (each "[name]" after a blank
// line), then the lines of the files of the last one. The files the
// install section names itself cannot fill their part: 128 of 197 bytes.
PartFilled copyPart(size_t extra) {
    const int sections = DESTINATION_CAPACITY - 1;
    std::vector<std::string> sectionNames = names(sections, CONV_SECTION_NAME_SIZE - 1);
    PartFilled filled = {"[DefaultInstall]\n", {}};
    for (const std::string &section : sectionNames)
        filled.inf += "CopyFiles = " + section + "\n[" + section + "]\n[DefaultInstall]\n";
    filled.inf += DESTINATIONS;
    filled.inf += "[" + sectionNames.back() + "]\n";
    int i = 0;
    for (size_t size :
         lineSizes(CONV_PART_SIZE + extra - sections * 257, CONV_FILE_NAME_SIZE + 1)) {
        filled.files.push_back(name(i++, size - 2));
        filled.inf += filled.files.back() + "\n";
    }
    return filled;
}

TEST(ConvOutput, PartsAtTheirCapacityAndPastIt) {
    for (PartFilled (*part)(size_t) : {regPart, copyPart}) {
        for (size_t extra : {0, 1}) {
            PartFilled filled = part(extra);
            ConvResult result = convertInf(filled.inf, filled.files);
            EXPECT_EQ(occurrences(result.said, "行目: "), extra) << result.said;
            EXPECT_EQ(occurrences(result.said, CONV_WHY_OUTPUT_FULL), extra) << result.said;
        }
    }
}

} // namespace
