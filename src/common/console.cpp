// The console around a run; see console.h.

#include "common/console.h"

#include "common/messages.h"
#include "platform/platform.h"

static const unsigned long NT_PLATFORM_ID = 2;

bool osIsRefused() {
    unsigned long platformId = 0;
    unsigned long majorVersion = 0;
    if (!platformGetVersion(&platformId, &majorVersion))
        return true;
    return platformId == NT_PLATFORM_ID && majorVersion >= 4;
}

void waitForKey() {
    say(MSG_PRESS_ANY_KEY);
    platformReadKey();
}

bool readAgreement() {
    return platformReadInputChar() == '1';
}

int refuseAndWait(const char *message) {
    say("%s", message);
    waitForKey();
    return 1;
}
