// Helpers of the installer's unit tests (and of the INF reader's, the
// converter's and the uninstaller's, which read what the installer reads):
// a fresh fake machine for every test, and runs of the whole installer on
// it.

#ifndef INFINST_SUPPORT_INSTALLER_H
#define INFINST_SUPPORT_INSTALLER_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake.h"

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override { fakeReset(); }
};

// Runs the installer as "infinst.exe" followed by `arguments`.
int runInstallerWith(const std::vector<std::string> &arguments);

// Writes `inf` to C:\work\driver.inf, agrees, and runs the installer on it
// by its full path.
int runInf(const std::string &inf);

// The output from just after the agreement notices to the end.
std::string outputAfterNotices();

// The notice printed before the end message when `count` items were not
// installed.
std::string notInstalledNotice(int count);

// The notice of pass 1 for an over-long physical line.
std::string longLineNotice(unsigned long line);

// Where the installer keeps the record of the INF file with these bytes,
// and the line that names it at the end of a run that changed something.
std::string recordPathOf(const std::string &inf);
std::string recordLine(const std::string &inf);
// The output without that line, for tests about other things.
std::string withoutRecordLine(std::string output);

// The header lines every accepted INF file needs, and its default
// destination: the Drivers directory.
extern const char *const INF_HEAD;

#endif
