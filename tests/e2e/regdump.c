/* A small registry tool for the installer's end-to-end tests, built with
 * mingw at test time and run under Wine in the test prefix.
 *
 *   regdump dump KEY...    for each key below HKEY_LOCAL_MACHINE prints
 *                            "key KEY" and then either "missing", or one
 *                            line per subkey ("subkey NAME") and one line
 *                            per value ("value NAME TYPE COUNT HEX"), the
 *                            HEX being every byte of the data, lower case
 *   regdump create KEY...  creates each key (and its parents) with no values
 *
 * The output is plain ASCII, one item per line; names are printed as they
 * are, so the tests keep them free of spaces. */

#include <stdio.h>
#include <string.h>
#include <windows.h>

static int dumpKey(const char *path) {
    HKEY key;
    DWORD i;
    printf("key %s\n", path);
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        printf("missing\n");
        return 0;
    }
    for (i = 0;; ++i) {
        char name[512];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        printf("subkey %s\n", name);
    }
    for (i = 0;; ++i) {
        char name[512];
        BYTE data[4096];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0, j;
        if (RegEnumValueA(key, i, name, &nameSize, NULL, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        printf("value %s %lu %lu ", name, (unsigned long)type, (unsigned long)dataSize);
        for (j = 0; j < dataSize; ++j)
            printf("%02x", data[j]);
        printf("\n");
    }
    RegCloseKey(key);
    return 0;
}

static int createKey(const char *path) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        NULL, &key, NULL) != ERROR_SUCCESS) {
        printf("cannot create %s\n", path);
        return 1;
    }
    RegCloseKey(key);
    return 0;
}

int main(int argc, char **argv) {
    int i, failed = 0;
    if (argc < 3 || (strcmp(argv[1], "dump") != 0 && strcmp(argv[1], "create") != 0)) {
        fprintf(stderr, "usage: regdump dump|create KEY...\n");
        return 2;
    }
    for (i = 2; i < argc; ++i)
        failed |= strcmp(argv[1], "dump") == 0 ? dumpKey(argv[i]) : createKey(argv[i]);
    return failed;
}
