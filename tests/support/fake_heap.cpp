// The fake machine's heap (support/fake.h): the blocks a program holds,
// counted, so that a run can be shown to release every one.

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "support/fake_state.h"

// Each block carries its size in front, for the counts.
static const size_t HEADER = 16;

size_t fakeHeapBlocks() {
    return g_fake.heapBlocks;
}

size_t fakeHeapPeakBytes() {
    return g_fake.heapPeakBytes;
}

size_t fakeHeapAllocations() {
    return g_fake.heapAllocations;
}

void *platformAllocate(size_t size) {
    if (fakeCall(FAKE_ALLOCATE))
        return nullptr;
    char *block = static_cast<char *>(malloc(size + HEADER));
    memcpy(block, &size, sizeof size);
    ++g_fake.heapBlocks;
    ++g_fake.heapAllocations;
    g_fake.heapBytes += size;
    if (g_fake.heapBytes > g_fake.heapPeakBytes)
        g_fake.heapPeakBytes = g_fake.heapBytes;
    return block + HEADER;
}

void platformRelease(void *block) {
    fakeCall(FAKE_RELEASE);
    if (!block)
        return;
    char *start = static_cast<char *>(block) - HEADER;
    size_t size;
    memcpy(&size, start, sizeof size);
    --g_fake.heapBlocks;
    g_fake.heapBytes -= size;
    free(start);
}
