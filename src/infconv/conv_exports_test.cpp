// The names NT 3.5x exports, as the converter holds them: every name of
// every list in tools/nt35-exports is found in its module, needing the
// version the lists say, and names no list holds are not.

#include "infconv/conv_exports.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace {

// The names of a list, after its first line (where they come from).
std::set<std::string> readList(const std::string &list) {
    std::ifstream in(std::string(INFINST_EXPORTS_DIR) + "/" + list + ".txt");
    std::set<std::string> names;
    std::string line;
    for (std::getline(in, line); std::getline(in, line);)
        names.insert(line);
    return names;
}

TEST(ConvExports, EveryListedNameIsFoundWithTheVersionItNeeds) {
    const std::set<std::string> nt35 = readList("ntoskrnl350");
    for (std::string list : {"ntoskrnl", "hal", "kernel32", "advapi32", "crtdll"}) {
        int module = convExportModule((list + (list == "ntoskrnl" ? ".EXE" : ".Dll")).c_str());
        ASSERT_GE(module, 0) << list;
        for (const std::string &name : readList(list)) {
            // The last lines of ntoskrnl.txt: one name of SP2, three of SP5.
            unsigned pack = name == "RtlIsNameLegalDOS8Dot3"                 ? 2
                            : name.find("LogonSession") != std::string::npos ? 5
                                                                             : 0;
            ConvExportNeed need = list != "ntoskrnl" || nt35.count(name) ? CONV_NEED_NT35
                                  : pack                                 ? CONV_NEED_SERVICE_PACK
                                                                         : CONV_NEED_NT351;
            unsigned servicePack = 0;
            EXPECT_EQ(convExportNeed(module, name.c_str(), &servicePack), need) << name;
            EXPECT_EQ(servicePack, pack) << name;
        }
    }
}

TEST(ConvExports, NamesNoListHoldsAreNotFound) {
    EXPECT_EQ(convExportModule("scsiport.sys"), -1);
    unsigned pack;
    for (const char *name : {"MmGetSystemRoutineAddress", "IoAllocateWorkItem", "ExFreePoolWithTag",
                             "ZwQueryValueKeY", ""})
        EXPECT_EQ(convExportNeed(convExportModule("ntoskrnl.exe"), name, &pack), CONV_NEED_MISSING);
    // kernel32.txt leaves out the names a service pack added.
    EXPECT_EQ(convExportNeed(convExportModule("kernel32.dll"), "CreateFiber", &pack),
              CONV_NEED_MISSING);
    // Made-up names: about 1 in 10,240 lookups finds one, none of this sample.
    int found = 0;
    for (int i = 0; i < 15000; ++i) {
        std::string name = "Made" + std::to_string(i * 7919) + "Up";
        found +=
            convExportNeed(i % CONV_EXPORT_MODULE_COUNT, name.c_str(), &pack) != CONV_NEED_MISSING;
    }
    EXPECT_EQ(found, 0);
}

} // namespace
