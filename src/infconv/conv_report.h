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
// the part of it left out) and `why` (one of the CONV_WHY_ texts). Past
// the list's capacity, or for a text longer than a line, it is said at
// once rather than never.
void convLeftOut(unsigned long number, const char *why, const char *text);

// Notes a line NT 3.x does not need; `text` must outlive the report (the
// reader's buffer does). Past the list's capacity only the count grows.
void convNotNeeded(unsigned long number, const char *text);

// Says what was left out, then the grouped list of what NT 3.x does not
// need, when there is any.
void convSayLeftOut();

#endif
