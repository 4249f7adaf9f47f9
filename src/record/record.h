// The installer's record of the INF file it installs: found or chosen when
// the run begins, started at the first item the run has to note, and
// extended, one line written through to the disk, before each change is
// made. What the machine held before a change is noted with it: a value's
// old type and bytes, a replaced file's copy saved beside the record
// first. So a run cut off at any point (a power failure, a crash, a
// failing disk) leaves a record of every change it may have made, and the
// uninstaller can take each one back.
//
// A run that changes nothing writes nothing: what it found already there
// is noted only once it changes something. (A record started by a run cut
// short before its first change is taken away again at its end.)

#ifndef INFINST_RECORD_H
#define INFINST_RECORD_H

#include "record/record_item.h"

enum RecordPrepared { RECORD_READY, RECORD_INF_UNREADABLE, RECORD_UNAVAILABLE };

// Finds the record of the INF file at `infPath` from its bytes, or the
// name a new one takes, and this run's number; writes nothing.
RecordPrepared recordPrepare(const char *infPath);

// The record's full path ("" before recordPrepare).
const char *recordPath();

// Notes an item before its change is made, its run set here; the record is
// started (its folder made, its head written) when this is the first. An
// item that changes nothing (a file or value found there) waits until the
// run's first change instead. False when the record could not be written:
// the change must not be made.
bool recordNote(RecordItem *item);

// Saves a copy of the file `path` is about to replace beside the record,
// written through to the disk, read-only attribute cleared; its name into
// `saved` (RECORD_SAVED_NAME_SIZE). False when it could not be saved.
bool recordSaveCopy(const char *path, char *saved);

// Deletes a saved copy that no line of the record names.
void recordDropCopy(const char *saved);

// Tells the record that the change just noted was made: a file copied, a
// key created, a value written.
void recordMarkChanged();

// The end of the run: a record it started but needs not (it changed
// nothing) is deleted with what it saved, and so is the folder it made.
// True when the record holds what this run changed.
bool recordFinish();

// Back to the state of a fresh process.
void recordReset();

#endif
