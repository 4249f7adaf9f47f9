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

// Notes the copy about to be made, saving the file it replaces first.
// `ok` false (the answer) when the record could not be written; false with
// `ok` true when the copy must not be made, its reason said.
bool noteCopy(const char *source, const char *destination, bool replaces, bool *ok) {
    *ok = true;
    recordItemStart(&g_item, RECORD_FILE_CREATED); // its kind set below
    strcpy(g_item.path, destination);
    if (!recordFileOf(source, &g_item.file)) {
        say(INST_MSG_COPY_FAILED, source);
        return false;
    }
    g_item.kind = replaces ? RECORD_FILE_REPLACED : RECORD_FILE_CREATED;
    if (replaces) {
        if (!recordFileOf(destination, &g_item.oldFile)) {
            say(INST_MSG_OLD_FILE_UNREADABLE, destination);
            return false;
        }
        if (!recordSaveCopy(destination, g_item.saved)) {
            *ok = false;
            return false;
        }
    }
    if (recordNote(&g_item))
        return true;
    if (replaces)
        recordDropCopy(g_item.saved);
    *ok = false;
    return false;
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
    bool ok;
    if (!noteCopy(source, destination, replaces, &ok)) {
        if (ok)
            shortfallAdd();
        return ok;
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
