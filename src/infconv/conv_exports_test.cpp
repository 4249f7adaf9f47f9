// The names NT 3.5x exports, as the converter holds them: every name of
// every list in tools/nt35-exports is found in its module, needing the
// version the lists say, and names no list holds are not.

#include "infconv/conv_exports.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

// The names of a list, after its first line (where they come from).
std::vector<std::string> readList(const std::string &file) {
    std::ifstream in(std::string(INFINST_EXPORTS_DIR) + "/" + file);
    std::vector<std::string> names;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (!line.empty())
            names.push_back(line);
    }
    EXPECT_FALSE(names.empty()) << file;
    return names;
}

TEST(ConvExports, EveryListedNameIsFoundWithTheVersionItNeeds) {
    std::vector<std::string> older = readList("ntoskrnl350.txt");
    const std::set<std::string> nt35(older.begin(), older.end());
    const std::vector<std::pair<std::string, unsigned>> servicePacks = {
        {"RtlIsNameLegalDOS8Dot3", 2},
        {"SeMarkLogonSessionForTerminationNotification", 5},
        {"SeRegisterLogonSessionTerminatedRoutine", 5},
        {"SeUnregisterLogonSessionTerminatedRoutine", 5}};
    for (const char *module :
         {"NTOSKRNL.EXE", "hal.dll", "Kernel32.dll", "advapi32.dll", "crtdll.dll"}) {
        int index = convExportModule(module);
        ASSERT_GE(index, 0) << module;
        bool kernel = index == convExportModule("ntoskrnl.exe");
        std::string list = std::string(module).substr(0, std::string(module).find('.')) + ".txt";
        for (char &c : list)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        for (const std::string &name : readList(list)) {
            unsigned servicePack = 0;
            unsigned expectedPack = 0;
            for (const auto &pack : servicePacks)
                expectedPack = pack.first == name ? pack.second : expectedPack;
            ConvExportNeed expected = !kernel || nt35.count(name) ? CONV_NEED_NT35
                                      : expectedPack              ? CONV_NEED_SERVICE_PACK
                                                                  : CONV_NEED_NT351;
            EXPECT_EQ(convExportNeed(index, name.c_str(), &servicePack), expected)
                << module << " " << name;
            EXPECT_EQ(servicePack, expectedPack) << name;
        }
    }
}

TEST(ConvExports, NamesNoListHoldsAreNotFound) {
    EXPECT_EQ(convExportModule("scsiport.sys"), -1);
    EXPECT_EQ(convExportModule("ntoskrnl"), -1);
    int kernel = convExportModule("ntoskrnl.exe");
    unsigned servicePack;
    // Later kernels' names, and the service pack names kernel32.txt leaves out.
    for (const char *name :
         {"MmGetSystemRoutineAddress", "IoAllocateWorkItem", "ExFreePoolWithTag",
          "KeAcquireInStackQueuedSpinLock", "PoCallDriver", "ZwQueryValueKeY", ""})
        EXPECT_EQ(convExportNeed(kernel, name, &servicePack), CONV_NEED_MISSING) << name;
    for (const char *name : {"CreateFiber", "ReadDirectoryChangesW"})
        EXPECT_EQ(convExportNeed(convExportModule("kernel32.dll"), name, &servicePack),
                  CONV_NEED_MISSING)
            << name;
    // Made-up names: about 1 in 10,240 lookups finds one, none of this sample.
    int found = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string name = "Made" + std::to_string(i * 7919) + "Up";
        for (int module = 0; module < CONV_EXPORT_MODULE_COUNT; ++module)
            found += convExportNeed(module, name.c_str(), &servicePack) != CONV_NEED_MISSING;
    }
    EXPECT_EQ(found, 0);
}

} // namespace
