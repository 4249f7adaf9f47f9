// The fake machine's console (support/fake.h): the keys pressed, standard
// input, and what reached standard output and standard error.

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"
#include "support/fake_state.h"

void fakeQueueKeys(const std::vector<int> &keys) {
    g_fake.keyQueue.insert(g_fake.keyQueue.end(), keys.begin(), keys.end());
}

int fakeKeyReads() {
    return g_fake.keyReads;
}

void fakeSetInput(const std::string &input) {
    g_fake.input = input;
    g_fake.inputPosition = 0;
}

const std::string &fakeOutput() {
    return g_fake.output;
}

const std::string &fakeErrorOutput() {
    return g_fake.errorOutput;
}

// The platform operations (platformReportError is the files' own, as the
// runtime's error of a file it describes).

int platformReadKey() {
    ++g_fake.keyReads;
    if (fakeCall(FAKE_READ_KEY) || g_fake.keyQueue.empty())
        return PLATFORM_KEY_UNAVAILABLE;
    int key = g_fake.keyQueue.front();
    g_fake.keyQueue.pop_front();
    return key;
}

int platformReadInputChar() {
    if (fakeCall(FAKE_READ_INPUT_CHAR) || g_fake.inputPosition >= g_fake.input.size())
        return -1;
    return static_cast<unsigned char>(g_fake.input[g_fake.inputPosition++]);
}

void platformWriteOutput(const char *format, va_list args) {
    if (fakeCall(FAKE_WRITE_OUTPUT))
        return;
    // Most texts fit the buffer; a longer one is formatted again into the
    // output itself.
    char text[1024];
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(text, sizeof text, format, copy);
    va_end(copy);
    if (length < 0)
        return;
    if (static_cast<size_t>(length) < sizeof text) {
        g_fake.output.append(text, static_cast<size_t>(length));
        return;
    }
    size_t at = g_fake.output.size();
    g_fake.output.resize(at + static_cast<size_t>(length) + 1);
    vsnprintf(&g_fake.output[at], static_cast<size_t>(length) + 1, format, args);
    g_fake.output.resize(at + static_cast<size_t>(length));
}
