// Helpers of the installer's unit tests; see installer.h.

#include "support/installer.h"

#include <cstdio>

#include "record/record_item.h"
#include "run/run.h"
#include "support/run_program.h"

const char *const INF_HEAD = "[Version]\n"
                             "Class=LegacyDriver\n"
                             "[DestinationDirs]\n"
                             "DefaultDestDir=12\n";

int runInstallerWith(const std::vector<std::string> &arguments) {
    return runProgram(runInstaller, "infinst.exe", arguments);
}

int runInf(const std::string &inf) {
    fakeAddFile("C:\\work\\driver.inf", inf);
    fakeSetInput("1\n");
    return runInstallerWith({"C:\\work\\driver.inf"});
}

std::string outputAfterNotices() {
    const std::string &output = fakeOutput();
    const std::string last = "同意できない場合はそのままEnterを押して中断して下さい。\n";
    size_t at = output.find(last);
    return at == std::string::npos ? output : output.substr(at + last.size());
}

std::string notInstalledNotice(int count) {
    return "\n注意: " + std::to_string(count) +
           "件のファイルまたはレジストリ値がインストールされていません。"
           "上のメッセージを確認してください。\n";
}

std::string longLineNotice(unsigned long line) {
    return std::to_string(line) + "行目は長すぎるため無視しました。\n";
}

std::string recordPathOf(const std::string &inf) {
    char name[16];
    snprintf(name, sizeof name, "%08X.REC",
             static_cast<unsigned>(recordCrc32(0, inf.data(), inf.size())));
    return std::string("C:\\WINNT\\INFINST\\") + name;
}

std::string recordLine(const std::string &inf) {
    return "\nインストールの記録: " + recordPathOf(inf) + "\n";
}

std::string withoutRecordLine(std::string output) {
    const std::string start = "\nインストールの記録: ";
    size_t at = output.find(start);
    if (at != std::string::npos)
        output.erase(at, output.find('\n', at + start.size()) + 1 - at);
    return output;
}
