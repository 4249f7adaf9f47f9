// i386 images made in the tests and the converter's fuzzing harness, for
// its import check: headers NT 3.5 loads, one section at address 0x1000
// holding bytes of the test's own from file offset 0x200, and the import
// directory where the test says.

#ifndef INFINST_SUPPORT_PE_IMAGE_H
#define INFINST_SUPPORT_PE_IMAGE_H

#include <cstdint>
#include <string>
#include <vector>

inline void pePut(std::string &bytes, size_t at, uint32_t value, int size = 4) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The image, its section `data`, its import directory at `imports`.
inline std::string peImage(const std::string &data, uint32_t imports = 0x1000) {
    std::string image(0x200, '\0');
    image.replace(0, 2, "MZ");
    pePut(image, 0x3C, 0x40);
    image.replace(0x40, 4, std::string("PE\0\0", 4));
    pePut(image, 0x44, 0x14C, 2);  // machine
    pePut(image, 0x46, 1, 2);      // one section
    pePut(image, 0x54, 0xE0, 2);   // the optional header's size
    pePut(image, 0x58, 0x10B, 2);  // PE32
    pePut(image, 0x58 + 48, 3, 2); // subsystem version 3.10
    pePut(image, 0x58 + 50, 10, 2);
    pePut(image, 0x58 + 60, 0x200);    // the headers' size
    pePut(image, 0x58 + 92, 16);       // data directories
    pePut(image, 0x58 + 104, imports); // the import directory
    image.replace(0x138, 6, ".idata");
    pePut(image, 0x138 + 8, static_cast<uint32_t>(data.size()));
    pePut(image, 0x138 + 12, 0x1000);
    pePut(image, 0x138 + 16, static_cast<uint32_t>(data.size()));
    pePut(image, 0x138 + 20, 0x200);
    return image + data;
}

// A module an image imports from and the names it imports ("#5": the
// ordinal 5).
struct PeImport {
    std::string module;
    std::vector<std::string> names;
};

// An import table at address 0x1000: the descriptors, then each module's
// names' table, its name and its hints and names.
inline std::string peImportTable(const std::vector<PeImport> &imports) {
    std::string table((imports.size() + 1) * 20, '\0');
    for (size_t i = 0; i < imports.size(); ++i) {
        size_t thunks = table.size();
        table.append((imports[i].names.size() + 1) * 4, '\0');
        pePut(table, i * 20, 0x1000 + static_cast<uint32_t>(thunks));
        pePut(table, i * 20 + 16, 0x1000 + static_cast<uint32_t>(thunks));
        pePut(table, i * 20 + 12, 0x1000 + static_cast<uint32_t>(table.size()));
        table += imports[i].module + '\0';
        for (size_t j = 0; j < imports[i].names.size(); ++j) {
            const std::string &name = imports[i].names[j];
            uint32_t thunk = name[0] == '#' ? 0x80000000u | std::stoul(name.substr(1))
                                            : 0x1000 + static_cast<uint32_t>(table.size());
            if (name[0] != '#')
                table += std::string(2, '\0') + name + '\0';
            pePut(table, thunks + 4 * j, thunk);
        }
    }
    return table;
}

#endif
