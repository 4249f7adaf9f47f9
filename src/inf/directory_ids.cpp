// The supported directory ids; see directory_ids.h.

#include "inf/directory_ids.h"

static const DirectoryIdFolder DIRECTORY_IDS[] = {
    {10, "", ""},
    {11, "System32\\", "System32\\"},
    {12, "System32\\Drivers\\", "System32\\drivers\\"},
};

const DirectoryIdFolder *directoryIdFolder(unsigned long id) {
    for (const DirectoryIdFolder &entry : DIRECTORY_IDS) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}
