// Every fixed capacity of the uninstaller. Like the installer, it never
// grows a table: what does not fit is reported and kept, never removed
// unchecked. Its lines, paths and AddReg fields are the installer's own
// (common/capacity.h), since it reads the same file the same way.

#ifndef INFUNDO_CAPACITY_H
#define INFUNDO_CAPACITY_H

#include "common/capacity.h"

// Distinct destination files, registry values and registry keys (those
// the AddReg section writes into and their parents below the services
// key) that one run can take back.
const int UNDO_FILE_CAPACITY = 128;
const int UNDO_VALUE_CAPACITY = 128;
const int UNDO_KEY_CAPACITY = 128;

// A key path and a subkey's name below it, while keys are looked into.
const size_t UNDO_KEY_PATH_SIZE = 2 * REG_KEY_FIELD_SIZE;

// How deep the trees below a service's Enum and Security keys are
// followed when they go with it.
const int UNDO_TREE_DEPTH = 8;

#endif
