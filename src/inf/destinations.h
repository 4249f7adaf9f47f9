// The destination directory table, read from [DestinationDirs]: for each
// copy section by name the id of the directory its files go to, and the
// default id for every section the table does not name. Directory ids
// 10, 11 and 12 (inf/directory_ids.h) are the Windows directory, its
// System32 and its System32\Drivers; no other id is supported, nor a subfolder
// of one ("11,mysub"): such an entry keeps its id, but its sections have
// no destination. An entry's number is read only when it is one decimal
// number and nothing else ("11abc", "11 sub", "11.5" and 4294967306 are
// none): an entry whose number cannot be read is reported and kept with no
// directory, so that its sections are refused rather than sent where the
// file never said.

#ifndef INFINST_DESTINATIONS_H
#define INFINST_DESTINATIONS_H

#include <cstdint>

struct InfStream;

// Reads the [DestinationDirs] body from the current position into the
// table and the default id; leaves the stream at the next header. A line
// that is neither an entry (key = value) nor blank nor a comment is
// reported and counted: its section would go elsewhere in silence. The
// value of an entry is the text after '=', cut at a ';' comment and at a
// ',' (after which anything but spaces and tabs names a subfolder), and
// trimmed of spaces and tabs.
void readDestinationDirs(InfStream *stream);

// What an entry gives the sections that take it: the directory of its id,
// or no directory at all, for a subfolder after the number or for a value
// that is no number.
enum DestinationForm { DESTINATION_DIRECTORY, DESTINATION_SUBFOLDER, DESTINATION_UNREADABLE };

// Adds an entry, or updates the entry of the same name (case matters).
void setDestination(const char *name, int32_t id, DestinationForm form = DESTINATION_DIRECTORY);

// Whether some entry is named `name` exactly, or only when ASCII letter
// case is ignored (an entry Drv.Copy for a section drv.copy).
enum DestinationMatch {
    DESTINATION_MATCH_NONE,
    DESTINATION_MATCH_EXACT,
    DESTINATION_MATCH_IGNORING_CASE
};
DestinationMatch destinationNameMatch(const char *name);

// The id of the first entry named `name`, else the default id.
int32_t lookupDirectoryId(const char *name);

// True when the line is "[" + some entry's name + "]", exactly.
bool isListedSectionHeader(const char *line);

// Writes the directory of a supported id into a PATH_SIZE buffer, ending
// in a backslash; false, writing nothing, for any other id or when the
// Windows directory cannot be had.
bool directoryForId(int32_t id, char *path);
// The same for the id of a section; false as well when its entry, or the
// default it falls back to, names a subfolder or holds no number.
bool destinationForSection(const char *name, char *path);

// True once a DefaultDestDir was given: a number other than -1 (which
// means none), or a value that is no number (its sections then have no
// directory, and each is reported where it is installed).
bool hasDefaultDestDir();

// Releases the names and empties the table; the default id stays.
void clearDestinations();

// Back to the state at the start of a process: no entries, no default.
void resetDestinations();

#endif
