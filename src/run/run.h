// The whole of one run of the installer: banner, operating-system gate,
// finding the INF file, notices and agreement, the three passes over the
// file with the checks between them, the end message, the key wait and the
// exit code (0 when the installation pass ran, 1 on every other end).

#ifndef INFINST_RUN_H
#define INFINST_RUN_H

int runInstaller(int argc, char **argv);

#endif
