// Helpers of the converter's unit tests: runs of the whole converter on
// the fake machine.

#ifndef INFINST_SUPPORT_CONVERTER_H
#define INFINST_SUPPORT_CONVERTER_H

#include <string>
#include <vector>

#include "infconv/conv_run.h"
#include "support/fake.h"
#include "support/run_program.h"

struct ConvResult {
    int exitCode;
    std::string said; // standard output
    std::string inf;  // the file written, "" when none
};

// Runs "infconv.exe" with `arguments` on the machine as it stands.
inline int runConverterWith(const std::vector<std::string> &arguments) {
    return runProgram(runConverter, "infconv.exe", arguments);
}

// Converts `inf`, stored as C:\work\drv.inf beside the driver's files
// the tables name (and `files`), into C:\work\out.inf on a fresh machine.
inline ConvResult convertInf(const std::string &inf, std::vector<std::string> files = {}) {
    fakeReset();
    fakeAddFile("C:\\work\\drv.inf", inf);
    for (const char *name : {"x.sys", "d.sys", "a b.sys", "ファイル.sys"})
        files.push_back(name);
    for (const std::string &name : files)
        fakeAddFile("C:\\work\\" + name, "file " + name);
    int exitCode = runConverterWith({"C:\\work\\drv.inf", "C:\\work\\out.inf"});
    return ConvResult{exitCode, fakeOutput(), fakeFileContent("C:\\work\\out.inf")};
}

// The report line for something left out.
inline std::string leftOutLine(int line, const std::string &why, const std::string &text) {
    return "×" + std::to_string(line) + "行目: " + why + ": " + text + "\n";
}

#endif
