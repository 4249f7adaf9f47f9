// Byte-string operations for the INF readers; see text.h.

#include "inf/text.h"

#include <cstring>

#include "common/capacity.h"
#include "platform/platform.h"

// The double-byte code pages NT uses for ANSI (932 Japanese, 936 and 950
// Chinese, 949 Korean) have no trail byte below 0x40, so a lead byte
// before a NUL, a '/', a '.' or a ':' is a character of its own: no
// separator is ever hidden by a stray lead byte.
static const unsigned char LOWEST_TRAIL_BYTE = 0x40;

bool textIsLeadByte(char c) {
    return platformIsLeadByte(static_cast<unsigned char>(c)) != 0;
}

const char *textNextChar(const char *text) {
    if (textIsLeadByte(text[0]) && static_cast<unsigned char>(text[1]) >= LOWEST_TRAIL_BYTE)
        return text + 2;
    return text + 1;
}

static bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

const char *textLastSeparator(const char *text) {
    const char *last = nullptr;
    for (; *text; text = textNextChar(text)) {
        if (isSeparator(*text))
            last = text;
    }
    return last;
}

const char *textFindSeparator(const char *text) {
    while (*text && !isSeparator(*text))
        text = textNextChar(text);
    return text;
}

const char *textFindChar(const char *text, char c) {
    while (*text && *text != c)
        text = textNextChar(text);
    return text;
}

bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

void cutLineEnd(char *text) {
    text[strcspn(text, "\r\n")] = '\0';
}

void trimSpace(char *text) {
    size_t length = strlen(text);
    while (length > 0 && isAsciiSpace(text[length - 1]))
        --length;
    size_t start = 0;
    while (start < length && isAsciiSpace(text[start]))
        ++start;
    memmove(text, text + start, length - start);
    text[length - start] = '\0';
}

void stripQuotes(char *text) {
    size_t length = strlen(text);
    if (length < 2 || text[0] != '"' || text[length - 1] != '"')
        return;
    memmove(text, text + 1, length - 2);
    text[length - 2] = '\0';
}

void normaliseLine(char *text) {
    cutLineEnd(text);
    char *comment = strchr(text, ';');
    if (comment)
        *comment = '\0';
    trimSpace(text);
}

static char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

static const char *skipSpacesAndTabs(const char *text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

// Compares the character at *a with the same bytes at *b, a single byte
// without regard to ASCII case, a double-byte character exactly, and
// steps both past it.
static bool sameCharacter(const char **a, const char **b) {
    const char *next = textNextChar(*a);
    bool same =
        next - *a == 2 ? (*a)[0] == (*b)[0] && (*a)[1] == (*b)[1] : foldCase(**a) == foldCase(**b);
    *b += next - *a;
    *a = next;
    return same;
}

bool looseEquals(const char *a, const char *b) {
    for (;;) {
        a = skipSpacesAndTabs(a);
        b = skipSpacesAndTabs(b);
        if (*a == '\0' && *b == '\0')
            return true;
        if (*a == '\0' || !sameCharacter(&a, &b))
            return false;
    }
}

bool startsWithIgnoreCase(const char *text, const char *prefix) {
    while (*prefix) {
        if (!sameCharacter(&prefix, &text))
            return false;
    }
    return true;
}

bool endsWithIgnoreCase(const char *text, const char *suffix) {
    size_t length = strlen(text);
    size_t suffixLength = strlen(suffix);
    if (suffixLength > length)
        return false;
    const char *start = text + (length - suffixLength);
    while (text < start)
        text = textNextChar(text);
    return text == start && startsWithIgnoreCase(text, suffix);
}

// True when the texts of `length` bytes differ byte for byte with ASCII
// case ignored. Texts that are equal as characters are equal so too (the
// bytes of a double-byte character are the same in both), so this settles
// most unequal pairs without asking the system for a lead byte at each
// step. From the end, where the keys and names of a table differ most.
static bool bytesDifferIgnoringCase(const char *a, const char *b, size_t length) {
    while (length > 0) {
        --length;
        if (foldCase(a[length]) != foldCase(b[length]))
            return true;
    }
    return false;
}

// The tables are searched with it for every line read: the same bytes
// are the same characters, and most unequal texts are told apart above.
bool equalsIgnoreCase(const char *a, const char *b) {
    size_t length = strlen(a);
    if (length != strlen(b))
        return false;
    if (memcmp(a, b, length) == 0)
        return true;
    return !bytesDifferIgnoringCase(a, b, length) && startsWithIgnoreCase(a, b);
}

bool readDecimal32(const char *text, int32_t *value) {
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (*text == '\0')
        return false;
    // The magnitude of INT32_MIN is one more than INT32_MAX's.
    const uint32_t most = negative ? 0x80000000u : 0x7FFFFFFFu;
    uint32_t number = 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9')
            return false;
        uint32_t digit = static_cast<uint32_t>(*text - '0');
        if (number > (most - digit) / 10)
            return false;
        number = number * 10 + digit;
    }
    *value = static_cast<int32_t>(negative ? 0u - number : number);
    return true;
}

static int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = foldCase(c);
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return 99;
}

bool readStrictNumber(const char *text, uint32_t *value) {
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    unsigned base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    } else if (text[0] == '0') {
        base = 8;
    }
    if (*text == '\0' && base != 8) // no digit ("", "+", "0x"); a lone 0 is octal 0
        return false;
    uint64_t number = 0;
    for (; *text; ++text) {
        int digit = digitValue(*text);
        if (digit >= static_cast<int>(base))
            return false;
        number = number * base + static_cast<unsigned>(digit);
        if (number > 0xFFFFFFFFu)
            return false;
    }
    uint32_t result = static_cast<uint32_t>(number);
    *value = negative ? 0u - result : result;
    return true;
}

const char *writeNumberText(uint32_t number, bool hex, char *digits) {
    size_t length = 0;
    if (hex) {
        digits[length++] = '0';
        digits[length++] = 'x';
        for (int shift = 28; shift >= 0; shift -= 4)
            digits[length++] = "0123456789ABCDEF"[(number >> shift) & 0xF];
    } else {
        char reversed[NUMBER_TEXT_SIZE];
        size_t count = 0;
        do {
            reversed[count++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number != 0);
        while (count > 0)
            digits[length++] = reversed[--count];
    }
    digits[length] = '\0';
    return digits;
}

bool isBlankChar(char c) {
    return c == ' ' || c == '\t';
}

bool isBlankText(const char *text) {
    return text[strspn(text, " \t")] == '\0';
}

bool isBlankOrComment(const char *text) {
    return isBlankText(text) || text[strspn(text, " \t")] == ';';
}

char *heapCopy(const char *text) {
    size_t size = strlen(text) + 1;
    char *copy = static_cast<char *>(platformAllocate(size));
    if (copy)
        memcpy(copy, text, size);
    return copy;
}

bool startsWithUtf16Mark(const unsigned char *bytes, size_t size) {
    return size >= 2 &&
           ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
}

bool startsWithUtf8Mark(const unsigned char *bytes, size_t size) {
    return size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
}

bool hasExtension(const char *path, const char *extension) {
    const char *dot = strrchr(path, '.');
    return dot && equalsIgnoreCase(dot, extension);
}

bool hasInfExtension(const char *path) {
    return hasExtension(path, ".inf");
}

bool composePath(char *path, const char *first, const char *second) {
    size_t firstLength = strlen(first);
    size_t secondLength = strlen(second);
    if (firstLength + secondLength >= PATH_SIZE)
        return false;
    memcpy(path, first, firstLength);
    memcpy(path + firstLength, second, secondLength + 1);
    return true;
}
