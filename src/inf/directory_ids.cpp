// The supported directory ids; see directory_ids.h.

#include "inf/directory_ids.h"

#include <cstddef>

static const DirectoryIdFolder DIRECTORY_IDS[] = {
    {10, "", ""},
    {11, "System32\\", "System32\\"},
    {12, "System32\\Drivers\\", "System32\\drivers\\"},
};

const DirectoryIdFolder *directoryIdFolder(unsigned long id) {
    for (size_t i = 0; i < sizeof DIRECTORY_IDS / sizeof DIRECTORY_IDS[0]; ++i) {
        if (DIRECTORY_IDS[i].id == id)
            return &DIRECTORY_IDS[i];
    }
    return nullptr;
}
