// The report of a conversion; see conv_report.h.

#include "infconv/conv_report.h"

#include <cstdint>
#include <cstring>

#include "common/capacity.h"
#include "common/say.h"
#include "common/shortfall.h"
#include "inf/directory_ids.h"
#include "inf/text.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

// The lines NT 3.x does not need, for the grouped list at the end.
struct ConvNotNeeded {
    unsigned long number;
    const char *text; // the line, in the reader's buffer
};
ConvNotNeeded g_notNeeded[CONV_NOT_NEEDED_CAPACITY];
int g_notNeededCount;

// What was left out, said together after the conversion in the order of
// the input's lines, whichever section the conversion reached first.
struct ConvLeftOut {
    unsigned long number;
    char why[CONV_REASON_SIZE];
    char text[LINE_SIZE];
};
ConvLeftOut g_leftOut[CONV_LEFT_OUT_CAPACITY];
int g_leftOutCount;

} // namespace

void convReportReset() {
    g_notNeededCount = 0;
    g_leftOutCount = 0;
}

void convLeftOut(unsigned long number, const char *why, const char *text) {
    shortfallAdd();
    if (g_leftOutCount == CONV_LEFT_OUT_CAPACITY || strlen(text) >= LINE_SIZE) {
        say(CONV_MSG_LEFT_OUT, number, why, text); // at once, rather than never
        return;
    }
    ConvLeftOut &item = g_leftOut[g_leftOutCount++];
    item.number = number;
    strcpy(item.why, why);
    strcpy(item.text, text);
}

const char *convReason(char *reason, const char *format, const char *a, const char *b,
                       const char *c, const char *d) {
    const char *fields[] = {a, b, c, d};
    size_t length = 0;
    int next = 0;
    for (const char *p = format; *p && length + 1 < CONV_REASON_SIZE; ++p) {
        if (p[0] == '%' && p[1] == 's' && next < 4) {
            for (const char *f = fields[next++]; *f && length + 1 < CONV_REASON_SIZE; ++f)
                reason[length++] = *f;
            ++p;
        } else {
            reason[length++] = *p;
        }
    }
    reason[length] = '\0';
    return reason;
}

const char *convLineNumber(unsigned long number, char *digits) {
    return writeNumberText(static_cast<uint32_t>(number), false, digits);
}

const char *convDirectoryName(unsigned long id, char *name) {
    const char *folder = directoryIdFolder(id)->folder;
    if (folder[0] == '\0')
        return CONV_MSG_WINDOWS_DIRECTORY;
    strcpy(name, folder);
    name[strlen(name) - 1] = '\0'; // without its last '\'
    return name;
}

// Kept in the order of the input's lines, as the conversion reaches the
// services before the install section's AddReg lines.
void convNotNeeded(unsigned long number, const char *text) {
    int at = g_notNeededCount < CONV_NOT_NEEDED_CAPACITY ? g_notNeededCount
                                                         : CONV_NOT_NEEDED_CAPACITY - 1;
    for (; at > 0 && g_notNeeded[at - 1].number > number; --at)
        g_notNeeded[at] = g_notNeeded[at - 1];
    if (at < CONV_NOT_NEEDED_CAPACITY - 1 || g_notNeededCount < CONV_NOT_NEEDED_CAPACITY)
        g_notNeeded[at] = ConvNotNeeded{number, text};
    ++g_notNeededCount;
}

void convSayLeftOut() {
    // Sorted by line, those of one line in the order they were found.
    int order[CONV_LEFT_OUT_CAPACITY] = {};
    for (int i = 0; i < g_leftOutCount; ++i) {
        int at = i;
        for (; at > 0 && g_leftOut[order[at - 1]].number > g_leftOut[i].number; --at)
            order[at] = order[at - 1];
        order[at] = i;
    }
    for (int i = 0; i < g_leftOutCount; ++i) {
        const ConvLeftOut &item = g_leftOut[order[i]];
        say(CONV_MSG_LEFT_OUT, item.number, item.why, item.text);
    }
    if (g_notNeededCount == 0)
        return;
    say(CONV_MSG_NOT_NEEDED);
    int listed =
        g_notNeededCount < CONV_NOT_NEEDED_CAPACITY ? g_notNeededCount : CONV_NOT_NEEDED_CAPACITY;
    for (int i = 0; i < listed; ++i)
        say(CONV_MSG_NOT_NEEDED_LINE, g_notNeeded[i].number, g_notNeeded[i].text);
    if (g_notNeededCount > listed)
        say(CONV_MSG_NOT_NEEDED_MORE, g_notNeededCount - listed);
}
