// Copying the files of copy sections; see copy_section.h.

#include "install/copy_section.h"

#include <cstring>

#include "common/files.h"
#include "common/say.h"
#include "common/shortfall.h"
#include "platform/platform.h"
#include "run/infinst_messages.h"
#include "run/overwrite.h"

void installFile(const char *source, const char *destination, void *) {
    say(INST_MSG_COPYING, source, destination);
    if (isExistingFile(destination) && !confirmOverwrite()) {
        say(INST_MSG_FILE_EXISTS, destination);
        say(INST_MSG_FILE_NOT_COPIED);
        shortfallAdd();
        return;
    }
    if (!platformCopyFile(source, destination)) {
        say(INST_MSG_COPY_FAILED, source);
        shortfallAdd();
        return;
    }
    clearReadOnly(destination);
}
