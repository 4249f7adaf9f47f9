// The converter's entry point.

#include "infconv/conv_run.h"

int main(int argc, char **argv) {
    return runConverter(argc, argv);
}
