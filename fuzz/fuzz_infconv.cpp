// libFuzzer harness: the whole converter, run on arbitrary bytes as the
// INF file to convert, against the in-memory platform; whatever it writes
// is then installed by the installer on the same machine.
//
// What follows a line ";image" in the input is the driver's image, placed
// as both driver.sys files: taken whole when it begins "MZ", else as the
// one section of an i386 image whose import directory points at its start
// (tests/support/pe_image.h), so that mutations reach every path of the
// import check. The INF file keeps the line as a comment and all that
// follows it.
//
// Each input is converted:
//  - into a named output file, after which the installer must take that
//    file: exit code 0, and none of its messages about a line it could not
//    read, a key it refused, a name or path too long, a full table or an
//    unsupported destination;
//  - into the default output file beside the driver's files (or, when
//    they lie in two folders, in a new folder with copies of them);
//  - once more with the writing of the new file failing.
// The harness aborts, and so reports a finding, when any run's exit code
// is neither 0 nor 1, leaves a file open, changes the input file or puts,
// changes or removes anything outside the input's folder C:\work (the
// registry included); when a run that refuses leaves the machine other
// than it found it; when the installer refuses any part of what the first
// run wrote or leaves heap blocks or keys behind; when a service the
// installer then registered would not pass the converter's gate (a Type
// NT 3.x runs, a Start and an ErrorControl it takes, an ImagePath in the
// form its type loads naming a file that is there, an image the converter
// did not find importing a name NT 3.51 lacks); when a run that wrote no
// file changed the machine (a file already in infinst's form, whose
// images are checked, exits 0 with nothing written); and when the failed
// write does not end its run with exit code 1 and the machine as it was
// (every copy taken back), in a run that would write.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "fuzz_runs.h"
#include "infconv/conv_run.h"
#include "platform/platform.h"
#include "run/run.h"
#include "support/fake.h"
#include "support/pe_image.h"

namespace {

const char INF_PATH[] = "C:\\work\\driver.inf";
const char OUTPUT_PATH[] = "C:\\work\\out.inf";
const char WORK[] = "C:\\work"; // the input's folder

[[noreturn]] void finding(const char *what, const std::string &detail) {
    fprintf(stderr, "infconv fuzz finding: %s\n%s\n", what, detail.c_str());
    abort();
}

enum Program { CONVERTER, INSTALLER };

int run(Program program, const std::vector<std::string> &arguments) {
    return program == CONVERTER ? fuzzRunProgram(runConverter, "infconv.exe", arguments)
                                : fuzzRunProgram(runInstaller, "infinst.exe", arguments);
}

// What the machine holds before a run, and outside the input's folder,
// to compare with after it.
std::string g_before;
std::string g_outsideBefore;

// The machine every input is converted on, made once and copied for
// every run, with the input as its INF file.
FakeMachineCopy machine;

// The driver's image an input carries, or "".
std::string imageOf(const std::string &inf) {
    static const std::string MARK = "\n;image\n";
    size_t at = inf.find(MARK);
    if (at == std::string::npos)
        return "";
    std::string tail = inf.substr(at + MARK.size());
    return tail.compare(0, 2, "MZ") == 0 ? tail : peImage(tail);
}

void prepareMachine(const std::string &inf) {
    static bool made = false;
    if (!made) {
        fakeReset();
        fakeAddFile(INF_PATH, "");
        fakeAddDirectory("C:\\work\\i386");
        fakeAddFile("C:\\work\\driver.sys", "driver");
        fakeAddFile("C:\\work\\i386\\driver.sys", "driver");
        // A second folder's file, and an image for another machine (x64).
        fakeAddFile("C:\\work\\other.sys", "other");
        std::string image(0x100, '\0');
        image.replace(0, 2, "MZ");
        image[0x3C] = 0x40;
        image.replace(0x40, 6, std::string("PE\0\0\x64\x86", 6));
        fakeAddFile("C:\\work\\i386\\x64.sys", image);
        g_outsideBefore = fakeMachineSnapshotOutside(WORK, "");
        machine.save();
        made = true;
    }
    machine.restore();
    fakeAddFile(INF_PATH, inf);
    std::string image = imageOf(inf);
    if (!image.empty()) {
        fakeAddFile("C:\\work\\driver.sys", image);
        fakeAddFile("C:\\work\\i386\\driver.sys", image);
    }
    g_before = fakeMachineSnapshot();
}

void checkRun(int exitCode, const std::string &inf) {
    if (exitCode != 0 && exitCode != 1)
        finding("exit code is neither 0 nor 1", std::to_string(exitCode));
    if (fakeOpenFiles() != 0)
        finding("files left open after the run", fakeOutput());
    if (fakeFileContent(INF_PATH) != inf)
        finding("the INF file was changed", fakeOutput());
    if (exitCode == 1 && fakeMachineSnapshot() != g_before)
        finding("a refused or failed run changed the machine", fakeOutput());
    if (fakeMachineSnapshotOutside(WORK, "") != g_outsideBefore)
        finding("something outside the input's folder was changed", fakeOutput());
}

// The beginnings of the installer's messages for anything in the file that
// it cannot take. Only a line's beginning counts: the installer's progress
// lines quote the file's own text, which may hold anything.
const char *const REFUSALS[] = {"AddRegの行を読み取れない",
                                "AddRegの行が長すぎる",
                                "キーが無効です",
                                "作成するレジストリキーが多すぎます",
                                "DestinationDirs内の定義が多すぎます",
                                "DestinationDirsの行が長すぎる",
                                "セクション ",
                                "ファイル名が不正です",
                                "パスが長すぎます",
                                "このINFファイル"};

bool isRefusalLine(const std::string &line) {
    for (const char *refusal : REFUSALS) {
        if (line.compare(0, strlen(refusal), refusal) == 0)
            return true;
    }
    size_t digits = line.find_first_not_of("0123456789");
    return digits > 0 && digits != std::string::npos &&
           line.compare(digits, strlen("行目は長すぎる"), "行目は長すぎる") == 0;
}

const char SERVICES[] = "System\\CurrentControlSet\\Services";

bool readDword(const FakeRegValue &value, uint32_t *number) {
    if (!value.exists || value.type != PLATFORM_REG_DWORD || value.bytes.size() != 4)
        return false;
    memcpy(number, value.bytes.data(), 4);
    return true;
}

// The file an ImagePath names on the test machine, whose Windows directory
// is C:\WINNT; "" when the path is not in the form the type loads: a
// driver's relative to the Windows directory, or "\SystemRoot\...", with
// nothing to expand; a Win32 service's "%SystemRoot%\..." in REG_EXPAND_SZ
// or a full path, arguments after it.
std::string imageFile(const FakeRegValue &image, bool driver) {
    std::string path = image.bytes.substr(0, image.bytes.find('\0'));
    const std::string root = driver ? "\\SystemRoot\\" : "%SystemRoot%\\";
    bool rooted = strncasecmp(path.c_str(), root.c_str(), root.size()) == 0;
    if (rooted)
        path = path.substr(root.size());
    if (driver)
        return path.find_first_of("%:") != std::string::npos || path[0] == '\\'
                   ? ""
                   : "C:\\WINNT\\" + path;
    path = path.substr(0, path.find(' '));
    if (rooted)
        return image.type == PLATFORM_REG_EXPAND_SZ ? "C:\\WINNT\\" + path : "";
    return path.size() > 3 && path.compare(1, 2, ":\\") == 0 ? path : "";
}

// Every key below the services key that the installer gave a Type, Start,
// ErrorControl or ImagePath holds a service that passes the gate; none
// loads a file the conversion, which `lowered` says (in lower case), found
// importing a name NT 3.51 lacks.
void checkServices(const std::string &said, std::string lowered) {
    std::vector<std::string> names;
    PlatformRegKey *services = platformRegOpenKey(SERVICES);
    char name[256];
    for (unsigned long i = 0; services && platformRegEnumKey(services, i, name, sizeof name) == 1;
         ++i)
        names.push_back(name);
    if (services)
        platformRegCloseKey(services);
    for (const std::string &service : names) {
        std::string key = std::string(SERVICES) + "\\" + service;
        FakeRegValue image = fakeRegValue(key, "ImagePath");
        FakeRegValue typeValue = fakeRegValue(key, "Type");
        FakeRegValue startValue = fakeRegValue(key, "Start");
        FakeRegValue errorControlValue = fakeRegValue(key, "ErrorControl");
        if (!image.exists && !typeValue.exists && !startValue.exists && !errorControlValue.exists)
            continue;
        uint32_t type = 0, start = 0, errorControl = 0;
        bool typed = readDword(typeValue, &type);
        bool started = readDword(startValue, &start);
        bool controlled = readDword(errorControlValue, &errorControl);
        bool driver = type == 1 || type == 2 || type == 8;
        bool win32 = (type & ~0x100u) == 0x10 || (type & ~0x100u) == 0x20;
        if (!typed || !started || !controlled || !image.exists || (!driver && !win32) ||
            start > 4 || errorControl > 3 || (win32 && start < 2))
            finding("a service registered that NT 3.x does not run", key + "\n" + said);
        std::string file = imageFile(image, driver);
        if (file.empty() || !fakeFileExists(file))
            finding("a service registered without its file, or in a form it cannot load",
                    key + ": " + image.bytes + "\n" + said);
        // The converter names the file as a copy line does, in any case.
        std::string warning =
            "警告: " + file.substr(file.find_last_of('\\') + 1) + " はNT 3.51にない";
        for (std::string *text : {&warning, &lowered})
            for (char &c : *text)
                c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (lowered.find(warning) != std::string::npos)
            finding("a service registered whose image cannot load on NT 3.51", key + "\n" + said);
    }
}

void convertAndInstall(const std::string &inf) {
    prepareMachine(inf);
    int exitCode = run(CONVERTER, {INF_PATH, OUTPUT_PATH});
    checkRun(exitCode, inf);
    std::string converted = fakeOutput();
    if (exitCode == 1)
        return;
    if (!fakeFileExists(OUTPUT_PATH)) {
        if (fakeMachineSnapshot() != g_before)
            finding("a run that wrote no file changed the machine", converted);
        return;
    }
    std::string written = fakeFileContent(OUTPUT_PATH);
    fakeSetInput("1\n");
    int installed = run(INSTALLER, {OUTPUT_PATH});
    std::string said = fakeOutput().substr(converted.size());
    if (installed != 0)
        finding("the installer refused the file written", written + said);
    for (size_t at = 0; at < said.size(); at = said.find('\n', at) + 1) {
        if (isRefusalLine(said.substr(at, said.find('\n', at) - at)))
            finding("the installer could not take part of the file written", written + said);
        if (said.find('\n', at) == std::string::npos)
            break;
    }
    if (fakeHeapBlocks() != 0 || fakeOpenRegKeys() != 0)
        finding("the installer left heap blocks or keys behind", said);
    checkServices(written + said, converted);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string inf(reinterpret_cast<const char *>(data), size);
    convertAndInstall(inf);

    prepareMachine(inf);
    checkRun(run(CONVERTER, {INF_PATH}), inf);

    prepareMachine(inf);
    fakeFailCall(FAKE_WRITE_NEW_FILE, 1);
    int exitCode = run(CONVERTER, {INF_PATH, OUTPUT_PATH});
    checkRun(exitCode, inf);
    // A file in infinst's form is checked, and nothing written.
    bool checkedOnly =
        fakeOutput().find("\nこのINFファイルは既にinfinstの形式です") != std::string::npos;
    if (exitCode != 1 && !checkedOnly)
        finding("a failed write did not end the run with exit code 1", fakeOutput());
    // The fake as every input finds it: libFuzzer looks for a leak (and
    // runs the input once more) whenever an input ends with more heap
    // blocks than it began with.
    machine.restore();
    return 0;
}
