// Copying the files of copy sections; see copy_section.h.

#include "install/copy_section.h"

#include <cstring>

#include "common/files.h"
#include "common/say.h"
#include "common/shortfall.h"
#include "platform/platform.h"
#include "record/record.h"
#include "record/record_file.h"
#include "run/infinst_messages.h"
#include "run/overwrite.h"

namespace {

RecordItem g_item; // large: kept off the stack

// Notes a file found at the destination and left as it is (or left there
// by a copy that failed, `kind` RECORD_FILE_NOT_COPIED). A file that cannot
// be read is noted as such: what another INF file may need is its path.
bool noteFound(const char *destination, RecordItemKind kind = RECORD_FILE_FOUND) {
    recordItemStart(&g_item, kind);
    strcpy(g_item.path, destination);
    if (!recordFileOf(destination, &g_item.file))
        g_item.file = RecordFile{RECORD_SIZE_UNREAD, 0};
    return recordNote(&g_item);
}

// How noting a copy ended: noted, so the copy may be made; the copy must
// not be made, its reason said; the record could not be written, and the
// run must stop.
enum Noted { NOTED, NOT_TO_COPY, RECORD_FAILED };

// Notes the copy about to be made, saving the file it replaces first.
Noted noteCopy(const char *source, const char *destination, bool replaces) {
    recordItemStart(&g_item, RECORD_FILE_CREATED); // its kind set below
    strcpy(g_item.path, destination);
    if (!recordFileOf(source, &g_item.file)) {
        say(INST_MSG_COPY_FAILED, source);
        return NOT_TO_COPY;
    }
    g_item.kind = replaces ? RECORD_FILE_REPLACED : RECORD_FILE_CREATED;
    if (replaces) {
        if (!recordFileOf(destination, &g_item.oldFile)) {
            say(INST_MSG_OLD_FILE_UNREADABLE, destination);
            return NOT_TO_COPY;
        }
        if (!recordSaveCopy(destination, g_item.saved))
            return RECORD_FAILED;
    }
    if (recordNote(&g_item))
        return NOTED;
    if (replaces)
        recordDropCopy(g_item.saved);
    return RECORD_FAILED;
}

} // namespace

bool installFile(const char *source, const char *destination, void *) {
    say(INST_MSG_COPYING, source, destination);
    bool replaces = isExistingFile(destination);
    if (replaces && compareFiles(source, destination) == FILES_SAME) {
        say(INST_MSG_SAME_FILE, destination);
        return noteFound(destination);
    }
    if (replaces && !confirmOverwrite()) {
        say(INST_MSG_FILE_EXISTS, destination);
        say(INST_MSG_FILE_NOT_COPIED);
        shortfallAdd();
        return noteFound(destination);
    }
    switch (noteCopy(source, destination, replaces)) {
    case NOTED: break;
    case NOT_TO_COPY: shortfallAdd(); return true;
    case RECORD_FAILED: return false;
    }
    // A file believed absent is never replaced: had it been there after
    // all, its bytes would not be in the record.
    if (!(replaces ? platformCopyFile(source, destination)
                   : platformCopyNewFile(source, destination))) {
        say(INST_MSG_COPY_FAILED, source);
        shortfallAdd();
        // The record must not say that the copy it noted happened.
        return !isExistingFile(destination) || noteFound(destination, RECORD_FILE_NOT_COPIED);
    }
    recordMarkChanged();
    clearReadOnly(destination);
    return true;
}
