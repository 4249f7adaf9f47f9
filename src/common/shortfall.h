// The shortfall of a run: how many of the things the INF file asked for
// the installation pass did not do (a file not copied, a registry value
// not written, a section or line skipped), so that the end of the run can
// say so instead of a plain success. Every place that drops such an item
// adds one. So do an over-long line and a dropped [DestinationDirs] entry,
// counted by the first pass: what the one asked for cannot be known, and
// the files of the other may land nowhere or in the wrong directory.

#ifndef INFINST_SHORTFALL_H
#define INFINST_SHORTFALL_H

// One more item not done.
void shortfallAdd();

// The items not done since the last reset.
int shortfallCount();

// Back to none, as at the start of a process.
void shortfallReset();

#endif
