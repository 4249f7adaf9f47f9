// The copy sections; see conv_copy.h.

#include "infconv/conv_copy.h"

#include <cstdint>
#include <cstring>

#include "common/capacity.h"
#include "common/say.h"
#include "inf/directory_ids.h"
#include "inf/text.h"
#include "infconv/conv_files.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/conv_report.h"
#include "infconv/infconv_messages.h"

namespace {

// The directory id 10, 11 or 12 of a copy section (null: the default's),
// from its [DestinationDirs] entry or else DefaultDestDir; why not, when
// none of those.
const char *destinationOf(const char *section, unsigned long *id) {
    const char *entry = section ? convFindEntry("DestinationDirs", section) : nullptr;
    if (!entry)
        entry = convFindEntry("DestinationDirs", "DefaultDestDir");
    if (!entry)
        return CONV_WHY_NO_DESTINATION;
    ConvFields fields;
    convReadFields(entry, &fields);
    if (fields.tooLong)
        return CONV_WHY_TOO_LONG;
    if (convField(&fields, 1)[0] != '\0')
        return CONV_WHY_SUBFOLDER;
    uint32_t number = 0;
    if (!readStrictNumber(convField(&fields, 0), &number) || !directoryIdFolder(number))
        return CONV_WHY_DESTINATION_ID;
    *id = number;
    return nullptr;
}

// Carries one file over into directory `id`: found where the INF file's
// source disk tables say, then written into the copy section started
// last, or among the files the install section names itself. Says the
// file, or why it was left out; nothing once an image stopped the
// conversion.
void carryFile(const char *name, unsigned long id, bool own, const char *line,
               unsigned long number) {
    char where[PATH_SIZE];
    const char *why = convCarryFile(name, id, where);
    if (convImageRefused())
        return;
    if (why) {
        // The path looked at, once it is known.
        convLeftOut(number, why, where[0] != '\0' ? where : line);
        return;
    }
    why = own ? convAddOwnFile(name, id) : convAddFile(name);
    if (why) {
        convDropLastFile();
        convLeftOut(number, why, line);
    } else {
        char directory[PATH_SIZE];
        say(CONV_MSG_FILE, where + strlen(convInputFolder()), convDirectoryName(id, directory));
    }
}

void convertCopySection(const char *name, unsigned long number) {
    if (convHasCopySection(name))
        return;
    unsigned long id = 0;
    const char *why = !convHasSection(name) ? CONV_WHY_NO_SECTION : destinationOf(name, &id);
    if (!why)
        why = convAddCopySection(name, id);
    if (why) {
        convLeftOut(number, why, name);
        return;
    }
    char directory[PATH_SIZE];
    say(CONV_MSG_COPY_SECTION, name, convDirectoryName(id, directory));
    ConvCursor cursor = {0, 0};
    const char *line;
    ConvFields fields;
    while (convNextLine(name, &cursor, &line, &number)) {
        convReadFields(line, &fields);
        // A second field that differs is the name the file has on the
        // disk: the installer copies a file under its own name only.
        const char *target = convField(&fields, 0);
        const char *source = convField(&fields, 1);
        if (fields.tooLong)
            convLeftOut(number, CONV_WHY_TOO_LONG, line);
        else if (source[0] != '\0' && !equalsIgnoreCase(source, target))
            convLeftOut(number, CONV_WHY_RENAME, line);
        else
            carryFile(target, id, false, line, number);
        if (convImageRefused())
            return;
    }
}

} // namespace

void convConvertCopyFiles(const char *list, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    if (fields.tooLong)
        convLeftOut(number, CONV_WHY_TOO_LONG, line);
    for (int i = 0; i < fields.count; ++i) {
        const char *name = fields.text[i];
        if (name[0] == '\0')
            continue;
        unsigned long id = 0;
        const char *why = name[0] == '@' ? destinationOf(nullptr, &id) : nullptr;
        if (name[0] != '@')
            convertCopySection(name, number);
        else if (why)
            convLeftOut(number, why, name);
        else
            carryFile(name + 1, id, true, name, number);
        if (convImageRefused())
            return;
    }
}
