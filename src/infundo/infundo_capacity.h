// Every fixed capacity of the uninstaller. Like the installer, it never
// grows a table: what does not fit is reported and kept, never removed
// unchecked. Its paths and registry fields are the installer's own
// (common/capacity.h), since it takes back what the installer noted.

#ifndef INFUNDO_CAPACITY_H
#define INFUNDO_CAPACITY_H

#include "common/capacity.h"

// The items one run looks at: the pending items of the record it takes
// back, and the items of other records taken back before that concern the
// same files, values and keys.
const int UNDO_ENTRY_CAPACITY = 256;

// The records of the folder one run reads.
const int UNDO_RECORD_CAPACITY = 64;

// A key path and a subkey's name below it, while keys are looked into.
const size_t UNDO_KEY_PATH_SIZE = 2 * REG_KEY_FIELD_SIZE;

// How deep the trees below a service's Enum and Security keys are
// followed when they go with it.
const int UNDO_TREE_DEPTH = 8;

#endif
