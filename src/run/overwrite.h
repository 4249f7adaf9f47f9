// The one overwrite question of a run. Before the first existing file is
// replaced, or the first existing registry key that this run has not
// claimed is written, the user is asked once; the answer then holds for
// every later file and key, yes or no.

#ifndef INFINST_OVERWRITE_H
#define INFINST_OVERWRITE_H

// Asks unless already answered; true for yes. With no console to read a
// key from, the answer is no: nothing is overwritten unless a person says so.
bool confirmOverwrite();

// -1 while not asked, then 1 for yes or 0 for no.
int overwriteAnswer();

// Back to "not asked", as at the start of a process.
void resetOverwriteAnswer();

#endif
