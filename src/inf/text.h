// Small byte-string operations shared by every reader of the INF file:
// cutting line ends, trimming, quotes, the loose comparison that finds the
// class line, reading numbers, and the heap copies of names that outlive
// a call.
//
// Everything works on bytes. Only ASCII characters mean anything; bytes of
// 0x80 and above (the Shift-JIS text of Japanese INF files) pass through.
// Where a byte's meaning depends on the character it belongs to (path
// separators, letters compared without case), the text is walked character
// by character: in code page 932 the trail byte of a double-byte character
// can be 0x5C, the backslash (0x95 0x5C is a kanji), or an ASCII letter,
// and then it is neither a separator nor a letter.

#ifndef INFINST_TEXT_H
#define INFINST_TEXT_H

#include <cstddef>
#include <cstdint>

// True when the byte leads a double-byte character in the system's code
// page (the platform's answer).
bool textIsLeadByte(char c);

// The character after the one at `text`: two bytes on for a lead byte with
// its trail byte, else one.
const char *textNextChar(const char *text);

// The last '\' or '/' of the text that is a character of its own, or null.
const char *textLastSeparator(const char *text);

// The first '\' or '/' that is a character of its own, or the text's NUL.
const char *textFindSeparator(const char *text);

// The first `c` (an ASCII character) that is a character of its own, or
// the text's NUL.
const char *textFindChar(const char *text, char c);

// The space and the bytes 0x09 to 0x0D.
bool isAsciiSpace(char c);

// Ends the text at its first CR or LF.
void cutLineEnd(char *text);

// Removes white space at both ends and moves the rest to the start.
void trimSpace(char *text);

// Removes one outer pair of double quotes, when the text has both.
void stripQuotes(char *text);

// The form in which the run sequence reads every line: line end cut,
// everything from the first ';' dropped, white space trimmed.
void normaliseLine(char *text);

// Equal once spaces and tabs are left out, letters compared without case.
bool looseEquals(const char *a, const char *b);

// Equal, or `text` begins with `prefix`, ASCII letters compared without
// case and double-byte characters byte for byte.
bool equalsIgnoreCase(const char *a, const char *b);
bool startsWithIgnoreCase(const char *text, const char *prefix);

// True when the text ends in `suffix` (ASCII) from a character of its own
// on, ASCII letters compared without case.
bool endsWithIgnoreCase(const char *text, const char *suffix);

// A field that is one decimal number and nothing else: an optional '+' or
// '-', then decimal digits ("011" is eleven, "-0" is 0), within the signed
// 32-bit range. False, `value` untouched, for anything else: no digits, a
// space anywhere, text after the digits, a number out of range.
bool readDecimal32(const char *text, int32_t *value);

// A field that is one number and nothing else: an optional '+' or '-',
// then "0x" or "0X" and hexadecimal digits, or '0' and octal digits, or
// decimal digits. Its magnitude is at most 0xFFFFFFFF; a minus gives the
// unsigned negation ("-1" is 0xFFFFFFFF). False, `value` untouched, for
// anything else: no digits, a space anywhere, text after the digits,
// "08", "0x", a number past 32 bits.
bool readStrictNumber(const char *text, uint32_t *value);

// Writes `number` into `digits` (NUMBER_TEXT_SIZE bytes) as INF files
// write numbers: in decimal, or with `hex` as "0x" and eight upper-case
// hexadecimal digits. Answers `digits`.
const size_t NUMBER_TEXT_SIZE = 12;
const char *writeNumberText(uint32_t number, bool hex, char *digits);

// True for a space or a tab: the blanks INF readers drop around fields.
bool isBlankChar(char c);

// True when the text holds nothing but spaces and tabs (or nothing).
bool isBlankText(const char *text);

// True for a blank text, or one whose first character after spaces and
// tabs is ';' (an indented comment): a body line that asks for nothing.
bool isBlankOrComment(const char *text);

// True when the `size` bytes begin with a UTF-16 byte-order mark, FF FE
// (little-endian) or FE FF (big-endian).
bool startsWithUtf16Mark(const unsigned char *bytes, size_t size);

// True when the `size` bytes begin with the UTF-8 byte-order mark EF BB BF.
bool startsWithUtf8Mark(const unsigned char *bytes, size_t size);

// True when the text from the last '.' of the path is `extension` (".inf"),
// in any case.
bool hasExtension(const char *path, const char *extension);

// True for ".inf": the only files the installer takes.
bool hasInfExtension(const char *path);

// Writes `first` followed by `second` into a PATH_SIZE buffer; false,
// leaving it untouched, when the two would not fit 259 characters.
bool composePath(char *path, const char *first, const char *second);

// A heap copy of the text, or null when the heap is exhausted; released
// with platformRelease.
char *heapCopy(const char *text);

#endif
