// The installer's entry point.

#include "run/run.h"

int main(int argc, char **argv) {
    return runInstaller(argc, argv);
}
