// The faults of the fake machine (support/fake.h): which call of which
// platform operation fails, and the counts that show what failed.

#include "support/fake_state.h"

const char *fakeOperationName(FakeOperation operation) {
    static const char *const NAMES[FAKE_OPERATION_COUNT] = {
        "platformGetVersion",
        "platformIsLeadByte",
        "platformFindFirstFile",
        "platformFindNextFile",
        "platformFindClose",
        "platformGetCurrentDirectory",
        "platformGetWindowsDirectory",
        "platformGetFileAttributes",
        "platformSetFileAttributes",
        "platformCopyFile",
        "platformRegProbeKey",
        "platformRegCreateKey",
        "platformRegSetValue",
        "platformRegCloseKey",
        "platformReadKey",
        "platformReadInputChar",
        "platformWriteOutput",
        "platformReportError",
        "platformOpenFile",
        "platformReadFile",
        "platformSeekFile",
        "platformCloseFile",
        "platformWriteNewFile",
        "platformFindPath",
        "platformMakeDirectory",
        "platformCopyNewFile",
        "platformRemoveDirectory",
        "platformDeleteFile",
        "platformDeleteFileAtRestart",
        "platformRegOpenKey",
        "platformRegQueryValue",
        "platformRegEnumValue",
        "platformRegEnumKey",
        "platformRegDeleteValue",
        "platformRegDeleteKey",
        "platformSameFile",
        "platformPathSeparator",
        "platformAllocate",
        "platformRelease",
        "platformAppendFile",
        "platformFlushFile",
        "platformGetLocalTime",
        "platformGetFullPath",
    };
    return operation < FAKE_OPERATION_COUNT ? NAMES[operation] : "none";
}

void fakeFailCall(FakeOperation operation, int nth, bool fromThenOn) {
    g_fake.failAt[operation] = nth == 0 ? 0 : g_fake.calls[operation] + nth;
    g_fake.failOn[operation] = fromThenOn;
}

int fakeCallCount(FakeOperation operation) {
    return g_fake.calls[operation];
}

int fakeFaultsFired() {
    return g_fake.faultsFired;
}

size_t fakeOutputAtFirstFault() {
    return g_fake.outputAtFirstFault;
}
