// Copy sections: each body line names one file, copied from the INF
// file's directory into the section's destination directory. The
// installation pass (inf/inf_passes.h) checks the line and composes both
// paths; this is what the installer does with them.

#ifndef INFINST_COPY_SECTION_H
#define INFINST_COPY_SECTION_H

// Copies one file, asking before it replaces an existing one, and clears
// the read-only attribute of the copy; reports and counts in the shortfall
// what it did not copy. `context` is not used.
void installFile(const char *source, const char *destination, void *context);

#endif
