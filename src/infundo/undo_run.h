// The whole of one run of the uninstaller: banner, operating-system gate,
// finding the INF file, the checks and the installation pass read exactly
// as the installer reads them, the plan, the one agreement, the removal,
// the end message, the key wait and the exit code (0 when it ran to the
// end, 1 when refused or not agreed).

#ifndef INFUNDO_RUN_H
#define INFUNDO_RUN_H

int runUninstaller(int argc, char **argv);

#endif
