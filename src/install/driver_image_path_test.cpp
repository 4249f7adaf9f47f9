// The warning about a driver the kernel cannot load, in whole runs: one
// row per rule of what makes a key a driver's and its ImagePath one the
// kernel cannot load.

#include "install/driver_image_path.h"

#include <algorithm>
#include <string>

#include "support/installer.h"

namespace {

const std::string SERVICES = "System\\CurrentControlSet\\Services\\";

std::string line(const std::string &service, const char *name, const char *flags,
                 const std::string &data) {
    return "HKLM,\"" + SERVICES + service + "\",\"" + name + "\"," + flags + "," + data + "\n";
}

std::string warning(const std::string &service, const std::string &data) {
    return "警告: " + SERVICES + service + " のImagePathはカーネルが読み込めない形式です: " + data +
           "\nカーネルは%SystemRoot%などを展開しません。"
           "System32\\Drivers\\ファイル名の形で指定してください。\n";
}

class ImagePathTest : public InstallerTest {};

TEST_F(ImagePathTest, ADriverWhosePathTheKernelCannotLoadIsWarnedOfOnce) {
    const std::string expand = "\"%SystemRoot%\\System32\\Drivers\\x.sys\"";
    const std::string relative = "\"System32\\Drivers\\x.sys\"";
    struct {
        const char *what;
        std::string lines;
        std::string warnings;
    } rows[] = {
        {"a driver with %SystemRoot%",
         line("A", "Type", "0x10001", "1") + line("A", "ImagePath", "0x20000", expand),
         warning("A", expand)},
        {"a file system driver with a drive",
         line("A", "ImagePath", "0", "\"C:\\x.sys\"") + line("A", "Type", "0x10001", "2"),
         warning("A", "\"C:\\x.sys\"")},
        {"a driver's own form",
         line("A", "Type", "0x10001", "8") + line("A", "ImagePath", "0", relative), ""},
        {"a Win32 service",
         line("A", "Type", "0x10001", "0x10") + line("A", "ImagePath", "0x20000", expand), ""},
        {"a Type written as a string",
         line("A", "Type", "0", "1") + line("A", "ImagePath", "0", expand), ""},
        {"the last Type counts",
         line("A", "Type", "0x10001", "1") + line("A", "ImagePath", "0", expand) +
             line("A", "type", "0x10001", "0x20"),
         ""},
        {"the last ImagePath counts",
         line("A", "Type", "0x10001", "1") + line("A", "ImagePath", "0", expand) +
             line("a", "IMAGEPATH", "0", relative),
         ""},
        {"in the order first written, the key as first spelled",
         line("B", "Start", "0x10001", "3") + line("A", "Type", "0x10001", "1") +
             line("A", "ImagePath", "0", expand) + line("b", "Type", "0x10001", "1") +
             line("B", "ImagePath", "0", "%x%"),
         warning("B", "%x%") + warning("A", expand)},
        {"a line that failed to write",
         line("A", "Type", "0x10001", "1") + line("A", "ImagePath", "1", expand), ""},
    };
    for (const auto &row : rows) {
        fakeReset();
        std::string inf = std::string(INF_HEAD) + "[Drv.Copy]\n[Drv.AddReg]\n" + row.lines;
        EXPECT_EQ(runInf(inf), 0) << row.what;
        // What follows the section's last line (and its own message, when
        // it failed), up to the end of the run.
        std::string output = withoutRecordLine(outputAfterNotices());
        size_t start = output.find('\n', output.rfind("○対象値: ")) + 1;
        if (output.compare(start, 6, "未サポ") == 0)
            start = output.find('\n', start) + 1;
        size_t end = std::min(output.find("\n注意: "), output.find("\n処理が終了しました。"));
        std::string after = output.substr(start, end - start);
        EXPECT_EQ(after, row.warnings) << row.what;
    }
}

} // namespace
