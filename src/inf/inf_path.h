// Where the INF file is and where its driver's files are: the search of
// the current folder when no path was given, and the INF file's folder,
// from which every copy line's file is taken. Shared by every program that
// reads an INF file the way the installer does.

#ifndef INFINST_INF_PATH_H
#define INFINST_INF_PATH_H

enum InfSearch { INF_NOT_FOUND, INF_FOUND, INF_PATH_TOO_LONG };

// Composes "<current directory>\<first *.inf>" into a PATH_SIZE buffer: the
// first file (never a folder) the search gives whose name really ends in
// ".inf".
InfSearch findInfInCurrentDirectory(char *path);

// The INF file's folder into a PATH_SIZE buffer, its last separator ('\'
// or '/') included, or the empty text when the path has none. A path with
// a drive and no separator at all ("A:SAMPLE.INF") names a file in that
// drive's current folder, which "A:" names as well. `infPath` fits
// PATH_SIZE.
void infDirectoryOf(const char *infPath, char *infDirectory);

#endif
