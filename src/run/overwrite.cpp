// The overwrite question; see overwrite.h.

#include "run/overwrite.h"

#include "common/say.h"
#include "platform/platform.h"
#include "run/infinst_messages.h"

static int g_overwriteAnswer = -1;

bool confirmOverwrite() {
    if (g_overwriteAnswer != -1)
        return g_overwriteAnswer == 1;
    say(INST_MSG_CONFIRM_OVERWRITE);
    int key;
    for (;;) {
        key = platformReadKey();
        if (key == PLATFORM_KEY_UNAVAILABLE) {
            key = 'N';
            break;
        }
        if (key == 'Y' || key == 'y' || key == 'N' || key == 'n')
            break;
        // Every other key, and keys without a character, are swallowed.
    }
    say(INST_MSG_CONFIRM_ANSWER, key);
    g_overwriteAnswer = (key == 'Y' || key == 'y') ? 1 : 0;
    return g_overwriteAnswer == 1;
}

int overwriteAnswer() {
    return g_overwriteAnswer;
}

void resetOverwriteAnswer() {
    g_overwriteAnswer = -1;
}
