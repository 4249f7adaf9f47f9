// Copy sections: each body line names one file, copied from the INF
// file's directory into the section's destination directory. The
// installation pass (inf/inf_passes.h) checks the line and composes both
// paths; this is what the installer does with them. Each copy is noted in
// the installation record (record/record.h) before it is made, and a file
// it replaces is saved beside the record first.

#ifndef INFINST_COPY_SECTION_H
#define INFINST_COPY_SECTION_H

// Copies one file, asking before it replaces an existing one that differs
// (one that is byte for byte the file to copy is left as it is), and
// clears the read-only attribute of the copy; reports and counts in the
// shortfall what it did not copy. False when the record could not be
// written: the run must stop. `context` is not used.
bool installFile(const char *source, const char *destination, void *context);

#endif
