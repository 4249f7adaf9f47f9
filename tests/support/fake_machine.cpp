// The fake machine as a whole (support/fake.h): a fresh machine, its
// Windows version and code page, and the snapshot of everything on it.

#include <algorithm>
#include <cstring>

#include "platform/platform.h"
#include "support/fake_state.h"

FakeState g_fake;

static void useCodePage(bool doubleByte) {
    for (int byte = 0; byte < 256; ++byte)
        g_fake.leadBytes[byte] =
            doubleByte && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

// A fresh machine, made once and copied at each reset.
static const FakeState &freshMachine() {
    static const FakeState *fresh = [] {
        FakeState kept = g_fake; // made on the machine itself, which stays as it is
        g_fake = FakeState();
        g_fake.versionSucceeds = true;
        g_fake.platformId = 2;
        g_fake.majorVersion = 3;
        useCodePage(true);
        g_fake.currentDirectory = "C:\\work";
        g_fake.windowsDirectory = "C:\\WINNT";
        fakeAddDirectory("C:\\");
        fakeAddDirectory("C:\\work");
        fakeAddDirectory("C:\\WINNT");
        fakeAddDirectory("C:\\WINNT\\System32");
        fakeAddDirectory("C:\\WINNT\\System32\\Drivers");
        fakeAddRegKey("System\\CurrentControlSet\\Services");
        FakeState *made = new FakeState(g_fake);
        g_fake = kept;
        return made;
    }();
    return *fresh;
}

void fakeReset() {
    g_fake = freshMachine();
}

FakeMachineCopy::FakeMachineCopy() : saved_(new FakeState(freshMachine())) {}

FakeMachineCopy::~FakeMachineCopy() {
    delete saved_;
}

void FakeMachineCopy::save() {
    *saved_ = g_fake;
}

void FakeMachineCopy::restore() const {
    g_fake = *saved_;
}

void fakeSetVersion(bool succeeds, unsigned long platformId, unsigned long majorVersion) {
    g_fake.versionSucceeds = succeeds;
    g_fake.platformId = platformId;
    g_fake.majorVersion = majorVersion;
}

void fakeUseSingleByteCodePage() {
    useCodePage(false);
}

size_t fakeLastSeparator(const std::string &text, bool slashToo) {
    size_t last = std::string::npos;
    for (size_t at = 0, step; at < text.size(); at += step) {
        step = fakeCharacterLength(text.data(), text.size(), at);
        if (step == 1 && (text[at] == '\\' || (slashToo && text[at] == '/')))
            last = at;
    }
    return last;
}

bool fakeLiesIn(const std::string &path, const std::string &folder) {
    return !folder.empty() && path.size() > folder.size() &&
           path.compare(0, folder.size(), folder) == 0 &&
           (path[folder.size()] == '\\' || folder.back() == '\\');
}

static void appendNode(std::string *text, const std::string &folded, const FakeNode &node) {
    *text += folded;
    *text += node.directory ? " dir" : " file";
    *text += node.readOnly ? " ro " : " rw ";
    *text += node.content;
    *text += '\n';
}

// Every key and its values, less what lies below the folded key `skipped`.
static void appendKeys(std::string *text, const std::string &skipped) {
    for (const auto &entry : g_fake.keys) {
        if (fakeLiesIn(entry.first, skipped))
            continue;
        *text += "key ";
        *text += entry.first;
        *text += '\n';
        for (const auto &value : entry.second.values) {
            *text += ' ';
            *text += value.first;
            *text += ' ';
            *text += std::to_string(value.second.second.type);
            *text += ' ';
            *text += value.second.second.bytes;
            *text += '\n';
        }
    }
}

static std::string foldedKey(const std::string &key) {
    std::string folded;
    if (!key.empty())
        fakeFoldKey(key.c_str(), &folded);
    return folded;
}

std::string fakeMachineSnapshotOutside(const std::string &folder, const std::string &key) {
    std::string foldedFolder;
    if (!folder.empty())
        fakeFoldPath(folder.c_str(), &foldedFolder);
    std::string text;
    for (const auto &node : g_fake.nodes) {
        if (!fakeLiesIn(node.first, foldedFolder))
            appendNode(&text, node.first, node.second);
    }
    appendKeys(&text, foldedKey(key));
    return text;
}

std::string fakeMachineSnapshot() {
    return fakeMachineSnapshotOutside(std::string(), std::string());
}

std::string fakeFilesSnapshotBeside(const std::vector<std::string> &folders) {
    std::vector<std::string> folded(folders.size());
    for (size_t i = 0; i < folders.size(); ++i)
        fakeFoldPath(folders[i].c_str(), &folded[i]);
    std::string text;
    auto listed = [&folded](const std::string &path) {
        return std::find(folded.begin(), folded.end(), path) != folded.end();
    };
    for (const auto &node : g_fake.nodes) {
        if (node.second.directory ? !listed(node.first) : !listed(fakeParentOf(node.first)))
            appendNode(&text, node.first, node.second);
    }
    return text;
}

std::string fakeRegistrySnapshotOutside(const std::string &key) {
    std::string text;
    appendKeys(&text, foldedKey(key));
    return text;
}

// The platform operations.

int platformGetVersion(unsigned long *platformId, unsigned long *majorVersion) {
    if (fakeCall(FAKE_GET_VERSION) || !g_fake.versionSucceeds)
        return 0;
    *platformId = g_fake.platformId;
    *majorVersion = g_fake.majorVersion;
    return 1;
}

int platformIsLeadByte(unsigned char byte) {
    if (fakeCall(FAKE_IS_LEAD_BYTE))
        return 0;
    return g_fake.leadBytes[byte] ? 1 : 0;
}

char platformPathSeparator() {
    return fakeCall(FAKE_PATH_SEPARATOR) ? '/' : '\\';
}

// A fixed time, so that a record's bytes are the same in every run.
void platformGetLocalTime(PlatformTime *time) {
    if (fakeCall(FAKE_GET_LOCAL_TIME))
        *time = PlatformTime{0, 0, 0, 0, 0, 0};
    else
        *time = PlatformTime{2026, 12, 9, 10, 0, 0};
}
