// The driver's files the converter carries over: where each one lies, as
// [SourceDisksFiles.x86] (else [SourceDisksFiles]) and the disks of
// [SourceDisksNames.x86] (else [SourceDisksNames]) say, that it is there,
// that an image is one NT 3.x on i386 can load (its machine, its
// subsystem version, its imports: conv_imports.h), and the copies that
// put every file beside the INF file written, where the installer takes
// them. A file already in the installer's form has its files checked the
// same way, and nothing written.

#ifndef INFCONV_CONV_FILES_H
#define INFCONV_CONV_FILES_H

// Forgets every file and the input's folder.
void convFilesReset();

// The input INF file's folder becomes that of `inputPath` (infinst's own
// rule on Windows, where "A:NAME.INF" lies in "A:"; on POSIX systems that
// name is a file's).
void convFilesSetInput(const char *inputPath);

// The input INF file's folder, its last separator included, or "".
const char *convInputFolder();

// The folder of `path` by the same rule, into a PATH_SIZE buffer.
void convFolderOf(const char *path, char *folder);

// Carries the file `name` over into directory 10, 11 or 12: found where
// the INF file says, its name safe to copy, an image checked. Answers why
// not (one of the CONV_WHY_ texts), or null. `where` (a PATH_SIZE buffer)
// receives the path looked for once it is known: on success too, and
// when the file is not there or cannot be read; "" before. What the image
// check finds is said at once; an image for another machine stops the
// conversion (convImageRefused), and one that imports a name NT 3.51
// lacks is carried all the same: the service that loads it cannot pass
// its gate (convCarriedImageMissing).
const char *convCarryFile(const char *name, unsigned long directoryId, char *where);

// Takes back the file carried last.
void convDropLastFile();

// True when a file of that name (ASCII case ignored) goes to the directory.
bool convCarriesFile(const char *name, unsigned long directoryId);

// True when a carried file is an image for another machine than i386.
bool convImageRefused();

// The names NT 3.51 lacks that a carried file of that name (ASCII case
// ignored) in the directory imports, as the report shows them; null when
// it imports none.
const char *convCarriedImageMissing(const char *name, unsigned long directoryId);

// For a file already in the installer's form: checks each file its copy
// sections name beside it (the input's folder), as the files of a
// conversion are, and says whether the installer may install it. Answers
// the exit code: 0 when no image was found that cannot load, 1 otherwise.
int convCheckFilesBeside();

// When every carried file lies in one folder (or none was carried): that
// folder, its separator included, into a PATH_SIZE buffer.
bool convFilesInOneFolder(char *folder);

// Checks that every carried file can go into `folder` (its separator
// included): none is there already as a different file, no two differ
// under one name. False, with the reason said, when one stands in the way.
// convPlaceFiles then puts them there, first making the folder when
// `makeFolder`.
bool convCheckPlace(const char *folder, bool makeFolder);

// Copies each file convCheckPlace found not yet there and says so; does
// nothing when it was not called. False, with the reason said, when the
// folder or a copy failed; what was copied is taken back then.
bool convPlaceFiles();

// Removes the copies convPlaceFiles made and the folder it made, naming
// whatever could not be removed; for a run that fails after placing them.
void convTakeBackFiles();

#endif
