// The report of a conversion. What could not be carried over is counted
// as left out (common/shortfall.h) and said after the conversion, in the
// order of the input's lines, with its line number and the reason,
// whichever part of the conversion found it; what NT 3.x does not need is
// listed apart after it, in the same order, and not counted.

#ifndef INFCONV_CONV_REPORT_H
#define INFCONV_CONV_REPORT_H

// Forgets everything noted.
void convReportReset();

// Notes that the input's line `number` was left out, `text` (the line, or
// the part of it left out) and `why` (one of the CONV_WHY_ texts, or one
// convReason filled in). Past the list's capacity, or for a text longer
// than a line, it is said at once rather than never.
void convLeftOut(unsigned long number, const char *why, const char *text);

// A reason that names what it is about: `format` (a CONV_WHY_ text) with
// each "%s" put in from `a`, `b`, `c` and `d` in turn, into `reason`
// (CONV_REASON_SIZE bytes, which a format with one field and a few short
// names fits). Answers `reason`.
const char *convReason(char *reason, const char *format, const char *a, const char *b = "",
                       const char *c = "", const char *d = "");

// A line number for a reason, into a NUMBER_TEXT_SIZE buffer.
const char *convLineNumber(unsigned long number, char *digits);

// The name the report gives directory id 10, 11 or 12: its folder below
// the Windows directory, or the Windows directory's own name; `name` is a
// PATH_SIZE buffer.
const char *convDirectoryName(unsigned long id, char *name);

// Notes a line NT 3.x does not need; `text` must outlive the report (the
// reader's buffer does). Past the list's capacity only the count grows.
void convNotNeeded(unsigned long number, const char *text);

// Says what was left out, then the grouped list of what NT 3.x does not
// need, when there is any.
void convSayLeftOut();

#endif
