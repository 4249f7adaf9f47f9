// The install section's CopyFiles lines, converted into the copy sections
// of the file written (conv_output.h): each copy section they name goes to
// the directory id 10, 11 or 12 its [DestinationDirs] entry or
// DefaultDestDir gives, and a "@name" goes among the files the install
// section names itself. Every file is carried over where the INF file's
// source disk tables say it lies (conv_files.h) and said with its
// directory; what cannot be is left out (conv_report.h).

#ifndef INFCONV_CONV_COPY_H
#define INFCONV_CONV_COPY_H

// "CopyFiles = <list>": `line` the whole line, at the input's line `number`.
void convConvertCopyFiles(const char *list, const char *line, unsigned long number);

#endif
