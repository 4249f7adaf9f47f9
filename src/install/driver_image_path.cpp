// The warning about a driver the kernel cannot load; see
// driver_image_path.h. What counts for a key is the last Type and the last
// ImagePath the run wrote to it; a line that failed to write takes its
// key's warning away.

#include "install/driver_image_path.h"

#include <cstring>

#include "common/say.h"
#include "inf/addreg_line.h"
#include "inf/text.h"
#include "platform/platform.h"
#include "run/infinst_messages.h"

namespace {

struct WrittenKey {
    char key[REG_KEY_FIELD_SIZE];   // as spelled on its first written line
    bool driverType;                // the last Type is the REG_DWORD 1, 2 or 8
    bool unloadablePath;            // the last ImagePath begins with '%' or a drive
    bool failed;                    // a Type or ImagePath line failed to write
    char path[REG_DATA_FIELD_SIZE]; // that ImagePath as its line holds it
};

WrittenKey g_keys[WRITTEN_KEY_CAPACITY];
int g_keyCount = 0;

// The key's entry, made at its first line; null when the table is full.
WrittenKey *entryOf(const char *key) {
    for (int i = 0; i < g_keyCount; ++i) {
        if (equalsIgnoreCase(g_keys[i].key, key))
            return &g_keys[i];
    }
    if (g_keyCount == WRITTEN_KEY_CAPACITY)
        return nullptr;
    WrittenKey &made = g_keys[g_keyCount++];
    memset(&made, 0, sizeof made);
    strcpy(made.key, key);
    return &made;
}

bool isLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

void imagePathReset() {
    g_keyCount = 0;
}

void imagePathWritten(const AddRegLine &line, const AddRegValue &value) {
    bool isType = equalsIgnoreCase(line.name, "Type");
    bool isPath = equalsIgnoreCase(line.name, "ImagePath");
    WrittenKey *key = entryOf(line.key); // every key, in the order first written
    if (!key || !(isType || isPath))
        return;
    if (isType) {
        uint32_t type = line.dwordValue; // 0 unless the line writes a REG_DWORD
        key->driverType = type == 1 || type == 2 || type == 8;
        return;
    }
    const unsigned char *data = value.bytes;
    bool text = value.type == PLATFORM_REG_SZ || value.type == PLATFORM_REG_EXPAND_SZ;
    key->unloadablePath = text && (data[0] == '%' || (isLetter(data[0]) && data[1] == ':'));
    strcpy(key->path, line.data);
}

void imagePathNotWritten(const AddRegLine &line) {
    if (equalsIgnoreCase(line.name, "Type") || equalsIgnoreCase(line.name, "ImagePath")) {
        WrittenKey *key = entryOf(line.key);
        if (key)
            key->failed = true;
    }
}

void imagePathSayWarnings() {
    for (int i = 0; i < g_keyCount; ++i) {
        const WrittenKey &key = g_keys[i];
        if (key.driverType && key.unloadablePath && !key.failed) {
            say(INST_MSG_IMAGE_PATH_WARNING, key.key, key.path);
            say("%s", INST_MSG_IMAGE_PATH_ADVICE);
        }
    }
}
