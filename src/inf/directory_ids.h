// The directory ids an INF file may name, 10, 11 and 12, and the folders
// below the Windows directory they stand for: the Windows directory
// itself, its System32 and its System32\Drivers. The installer copies
// into them; the converter names them in its report, puts them into
// REG_EXPAND_SZ data and makes the ImagePath of a service from them. No
// other id is supported anywhere.

#ifndef INFINST_DIRECTORY_IDS_H
#define INFINST_DIRECTORY_IDS_H

struct DirectoryIdFolder {
    unsigned long id;
    // Below the Windows directory, each part followed by '\': "" for the
    // Windows directory, "System32\", "System32\Drivers\".
    const char *folder;
    // The same as NT's own registry values spell it ("System32\drivers\").
    const char *registryFolder;
};

// The folder of directory id 10, 11 or 12; null for any other id.
const DirectoryIdFolder *directoryIdFolder(unsigned long id);

#endif
