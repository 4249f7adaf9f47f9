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
    std::string image = "MZ" + std::string(0x3E, '\0') + "PE" + std::string(0x1BE, '\0') + data;
    const uint32_t size = static_cast<uint32_t>(data.size());
    const uint32_t fields[][3] = {
        {0x3C, 0x40, 4},       {0x44, 0x14C, 2},         // e_lfanew, machine
        {0x46, 1, 2},          {0x54, 0xE0, 2},          // one section, the optional header's size
        {0x58, 0x10B, 2},      {0x58 + 48, 3, 2},        // PE32, subsystem version 3.10
        {0x58 + 50, 10, 2},    {0x58 + 60, 0x200, 4},    // the headers' size
        {0x58 + 92, 16, 4},    {0x58 + 104, imports, 4}, // data directories, imports
        {0x138 + 8, size, 4},  {0x138 + 12, 0x1000, 4},  // the section: its size, its address,
        {0x138 + 16, size, 4}, {0x138 + 20, 0x200, 4}};  // its size and place in the file
    for (const auto &field : fields)
        pePut(image, field[0], field[1], static_cast<int>(field[2]));
    return image;
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
