// The fake machine's registry below HKEY_LOCAL_MACHINE (support/fake.h):
// keys with their values, keys that cannot be opened for reading, and the
// handles the programs open, enumerate and close.

#include <cstdio>
#include <cstring>
#include <iterator>

#include "platform/platform.h"
#include "support/fake_state.h"

namespace {

struct FakeHandle {
    std::string key; // folded path
};

// Each lookup folds its key here, and closed handles wait here for the
// next open: no heap block once they have grown (the fuzzing harnesses
// open millions of keys, and each block costs much under
// AddressSanitizer).
std::string g_foldedKey;
std::string g_part;
// (Never destroyed, so that what they hold stays reachable at exit.)
std::vector<FakeHandle *> &g_closedHandles = *new std::vector<FakeHandle *>;

FakeKey *findKey(const std::string &folded) {
    auto found = g_fake.keys.find(folded);
    return found == g_fake.keys.end() ? nullptr : &found->second;
}

FakeKey *openKey(PlatformRegKey *key) {
    return findKey(reinterpret_cast<FakeHandle *>(key)->key);
}

// Makes the key of the first `end` bytes of the folded `path`, held by
// the key of its first `parentEnd` bytes, and gives it the letter case of
// its last part in `original` (the same bytes unfolded).
void makeKey(const std::string &path, const char *original, size_t end, size_t parentEnd,
             bool top) {
    g_part.assign(path, 0, end);
    auto found = g_fake.keys.find(g_part);
    if (found == g_fake.keys.end()) {
        found = g_fake.keys.emplace(g_part, FakeKey()).first;
        found->second.parent.assign(path, 0, top ? 0 : parentEnd);
    }
    FakeKey &key = found->second;
    if (key.name.empty()) {
        size_t start = top ? 0 : parentEnd + 1;
        key.name.assign(original + start, end - start);
    }
}

PlatformRegKey *newHandle(const std::string &folded) {
    ++g_fake.openRegKeys;
    FakeHandle *handle = g_closedHandles.empty() ? new FakeHandle : g_closedHandles.back();
    if (!g_closedHandles.empty())
        g_closedHandles.pop_back();
    handle->key = folded;
    return reinterpret_cast<PlatformRegKey *>(handle);
}

// The subkey at `index` of the key at the folded `path` ("" for the top),
// in the order of the keys' table, where the keys below a key follow it;
// null past the last.
const FakeKey *subkeyAt(const std::string &path, unsigned long index) {
    g_part = path;
    g_part += '\\';
    auto at = path.empty() ? g_fake.keys.begin() : g_fake.keys.lower_bound(g_part);
    for (; at != g_fake.keys.end(); ++at) {
        if (!path.empty() && at->first.compare(0, g_part.size(), g_part) != 0)
            break;
        if (at->second.parent == path && index-- == 0)
            return &at->second;
    }
    return nullptr;
}

// As Win32 answers: a name that does not fit is no name at all.
int enumName(const std::string &found, char *name, unsigned long size) {
    if (found.size() >= size)
        return -1;
    snprintf(name, size, "%s", found.c_str());
    return 1;
}

} // namespace

bool fakeFoldKey(const char *key, std::string *folded) {
    folded->assign(key);
    size_t size = folded->size();
    char *text = &(*folded)[0];
    size_t previous = std::string::npos; // the separator before
    bool valid = true;
    for (size_t at = 0, step; at < size; at += step) {
        step = fakeCharacterLength(text, size, at);
        if (step == 2)
            continue;
        char &c = text[at];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != '\\')
            continue;
        // One trailing separator is dropped; two separators in a row
        // leave an empty part.
        if (at == size - 1)
            --size;
        else if (previous != std::string::npos && previous + 1 == at)
            valid = false;
        previous = at;
    }
    folded->resize(size);
    if (!valid || size == 0 || (*folded)[0] == '\\') {
        folded->clear();
        return false;
    }
    return true;
}

void fakeFoldName(const char *name, std::string *folded) {
    folded->assign(name);
    size_t size = folded->size();
    char *text = &(*folded)[0];
    for (size_t at = 0, step; at < size; at += step) {
        step = fakeCharacterLength(text, size, at);
        if (step == 1 && text[at] >= 'A' && text[at] <= 'Z')
            text[at] = static_cast<char>(text[at] - 'A' + 'a');
    }
}

// The key and every key that holds it.
static void addKey(const char *key) {
    static std::string path;
    fakeFoldKey(key, &path);
    FakeKey *existing = findKey(path);
    if (existing && !existing->name.empty())
        return; // and so are the keys that hold it
    // Each part, up to a separator of its own ('/' is a character of a
    // key's name, and a kanji's trail byte 0x5C is no separator).
    bool top = true;
    size_t parentEnd = 0;
    for (size_t at = 0, step; at < path.size(); at += step) {
        step = fakeCharacterLength(path.data(), path.size(), at);
        if (step == 1 && path[at] == '\\') {
            makeKey(path, key, at, parentEnd, top);
            top = false;
            parentEnd = at;
        }
    }
    makeKey(path, key, path.size(), parentEnd, top);
}

void fakeAddRegKey(const std::string &key) {
    addKey(key.c_str());
}

void fakeAddUnreadableRegKey(const std::string &key) {
    fakeAddRegKey(key);
    std::string path;
    fakeFoldKey(key.c_str(), &path);
    g_fake.unreadableKeys.insert(path);
}

bool fakeRegKeyExists(const std::string &key) {
    return fakeFoldKey(key.c_str(), &g_foldedKey) && findKey(g_foldedKey);
}

FakeRegValue fakeRegValue(const std::string &key, const std::string &name) {
    fakeFoldKey(key.c_str(), &g_foldedKey);
    const FakeKey *found = findKey(g_foldedKey);
    if (!found)
        return FakeRegValue{false, 0, std::string()};
    std::string folded;
    fakeFoldName(name.c_str(), &folded);
    auto value = found->values.find(folded);
    if (value == found->values.end())
        return FakeRegValue{false, 0, std::string()};
    return value->second.second;
}

int fakeRegValueCount(const std::string &key) {
    fakeFoldKey(key.c_str(), &g_foldedKey);
    const FakeKey *found = findKey(g_foldedKey);
    return found ? static_cast<int>(found->values.size()) : 0;
}

int fakeOpenRegKeys() {
    return g_fake.openRegKeys;
}

// The platform operations.

PlatformKeyProbe platformRegProbeKey(const char *key) {
    if (fakeCall(FAKE_REG_PROBE_KEY))
        return PLATFORM_KEY_OPEN_FAILED;
    if (!fakeFoldKey(key, &g_foldedKey) || !findKey(g_foldedKey))
        return PLATFORM_KEY_NOT_FOUND;
    return g_fake.unreadableKeys.count(g_foldedKey) ? PLATFORM_KEY_OPEN_FAILED
                                                    : PLATFORM_KEY_OPENED;
}

PlatformRegKey *platformRegCreateKey(const char *key) {
    if (fakeCall(FAKE_REG_CREATE_KEY) || !fakeFoldKey(key, &g_foldedKey))
        return nullptr;
    addKey(key);
    return newHandle(g_foldedKey);
}

int platformRegSetValue(PlatformRegKey *key, const char *name, unsigned long type, const void *data,
                        unsigned long size) {
    FakeKey *open = openKey(key);
    if (fakeCall(FAKE_REG_SET_VALUE) || !open)
        return 0;
    fakeFoldName(name, &g_foldedKey);
    auto found = open->values.find(g_foldedKey);
    if (found == open->values.end())
        found =
            open->values.emplace(g_foldedKey, std::make_pair(std::string(), FakeRegValue())).first;
    found->second.first = name;
    found->second.second.exists = true;
    found->second.second.type = type;
    found->second.second.bytes.assign(static_cast<const char *>(data), size);
    return 1;
}

void platformRegCloseKey(PlatformRegKey *key) {
    fakeCall(FAKE_REG_CLOSE_KEY);
    --g_fake.openRegKeys;
    g_closedHandles.push_back(reinterpret_cast<FakeHandle *>(key));
}

PlatformRegKey *platformRegOpenKey(const char *key) {
    if (fakeCall(FAKE_REG_OPEN_KEY) || !fakeFoldKey(key, &g_foldedKey) || !findKey(g_foldedKey) ||
        g_fake.unreadableKeys.count(g_foldedKey))
        return nullptr;
    return newHandle(g_foldedKey);
}

PlatformValueQuery platformRegQueryValue(PlatformRegKey *key, const char *name, unsigned long *type,
                                         void *data, unsigned long *size) {
    if (fakeCall(FAKE_REG_QUERY_VALUE))
        return PLATFORM_VALUE_FAILED;
    const FakeKey *open = openKey(key);
    if (!open)
        return PLATFORM_VALUE_NOT_FOUND;
    fakeFoldName(name, &g_foldedKey);
    auto found = open->values.find(g_foldedKey);
    if (found == open->values.end())
        return PLATFORM_VALUE_NOT_FOUND;
    const FakeRegValue &value = found->second.second;
    if (value.bytes.size() > *size)
        return PLATFORM_VALUE_TOO_LARGE;
    *type = value.type;
    *size = static_cast<unsigned long>(value.bytes.size());
    memcpy(data, value.bytes.data(), value.bytes.size());
    return PLATFORM_VALUE_READ;
}

int platformRegEnumValue(PlatformRegKey *key, unsigned long index, char *name, unsigned long size) {
    if (fakeCall(FAKE_REG_ENUM_VALUE))
        return -1;
    const FakeKey *open = openKey(key);
    if (!open || index >= open->values.size())
        return 0;
    return enumName(std::next(open->values.begin(), static_cast<long>(index))->second.first, name,
                    size);
}

int platformRegEnumKey(PlatformRegKey *key, unsigned long index, char *name, unsigned long size) {
    if (fakeCall(FAKE_REG_ENUM_KEY))
        return -1;
    const FakeKey *subkey = subkeyAt(reinterpret_cast<FakeHandle *>(key)->key, index);
    return subkey ? enumName(subkey->name, name, size) : 0;
}

int platformRegDeleteValue(const char *key, const char *name) {
    if (fakeCall(FAKE_REG_DELETE_VALUE) || !fakeFoldKey(key, &g_foldedKey))
        return 0;
    FakeKey *found = findKey(g_foldedKey);
    if (!found)
        return 0;
    fakeFoldName(name, &g_foldedKey);
    return found->values.erase(g_foldedKey) == 1;
}

int platformRegDeleteKey(const char *key) {
    if (fakeCall(FAKE_REG_DELETE_KEY) || !fakeFoldKey(key, &g_foldedKey))
        return 0;
    auto found = g_fake.keys.find(g_foldedKey);
    if (found == g_fake.keys.end())
        return 0;
    if (subkeyAt(g_foldedKey, 0))
        return 0;
    g_fake.unreadableKeys.erase(g_foldedKey);
    g_fake.keys.erase(found);
    return 1;
}
