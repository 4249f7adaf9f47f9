// The uninstaller's entry point.

#include "infundo/undo_run.h"

int main(int argc, char **argv) {
    return runUninstaller(argc, argv);
}
