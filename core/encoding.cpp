// Tells UTF-8 and UTF-16 files from ANSI ones and converts them.
#include "core/encoding.h"

#include <cstdint>
#include <cstdlib>

#include "core/diagnostics.h"
#include "core/platform.h"

namespace {

// The length of the well-formed UTF-8 sequence at p (at most left bytes),
// with its code point; 0 when there is none: a stray or missing trail byte,
// an overlong form, a surrogate or a value past U+10FFFF.
size_t utf8_sequence(const unsigned char *p, size_t left, uint32_t *code_point) {
    unsigned char c = p[0];
    size_t length;
    uint32_t value, lowest;
    if (c < 0x80) {
        *code_point = c;
        return 1;
    } else if (c >= 0xc2 && c <= 0xdf) {
        length = 2, value = c & 0x1fu, lowest = 0x80;
    } else if (c >= 0xe0 && c <= 0xef) {
        length = 3, value = c & 0x0fu, lowest = 0x800;
    } else if (c >= 0xf0 && c <= 0xf4) {
        length = 4, value = c & 0x07u, lowest = 0x10000;
    } else {
        return 0;
    }
    if (left < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xc0) != 0x80) return 0;
        value = value << 6 | (p[i] & 0x3fu);
    }
    if (value < lowest || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff)) return 0;
    *code_point = value;
    return length;
}

bool is_high_surrogate(uint16_t unit) { return unit >= 0xd800 && unit <= 0xdbff; }
bool is_low_surrogate(uint16_t unit) { return unit >= 0xdc00 && unit <= 0xdfff; }

// The text as UTF-16 code units, its mark left out. A byte that starts no
// well-formed sequence (possible only behind a UTF-8 mark) becomes U+FFFD.
uint16_t *to_utf16(const char *data, size_t size, TextEncoding encoding, size_t *count) {
    const unsigned char *p = (const unsigned char *)data;
    // Never more units than bytes: a four-byte sequence makes two.
    uint16_t *units = (uint16_t *)malloc((size + 1) * sizeof(uint16_t));
    if (!units) return nullptr;
    size_t n = 0;
    if (encoding == EncodingUtf16Le || encoding == EncodingUtf16Be) {
        int high = encoding == EncodingUtf16Le ? 1 : 0;  // which byte of a pair is the high one
        for (size_t at = 2; at + 1 < size; at += 2)
            units[n++] = (uint16_t)(p[at + high] << 8 | p[at + 1 - high]);
    } else {
        for (size_t at = encoding == EncodingUtf8Bom ? 3 : 0; at < size;) {
            uint32_t value = 0xfffd;
            size_t length = utf8_sequence(p + at, size - at, &value);
            at += length ? length : 1;
            if (value >= 0x10000) {
                units[n++] = (uint16_t)(0xd800 + ((value - 0x10000) >> 10));
                units[n++] = (uint16_t)(0xdc00 + (value & 0x3ff));
            } else {
                units[n++] = (uint16_t)value;
            }
        }
    }
    *count = n;
    return units;
}

// Diagnostics only: the characters of one line that the code page lacks,
// converted one at a time to find them.
void report_lost_characters(const uint16_t *units, size_t count, int line) {
    uint32_t first = 0;
    long lost_count = 0;
    for (size_t at = 0; at < count;) {
        size_t width =
            is_high_surrogate(units[at]) && at + 1 < count && is_low_surrogate(units[at + 1]) ? 2
                                                                                              : 1;
        char bytes[8];
        int lost = 0;
        plat_from_utf16(units + at, width, bytes, sizeof bytes, &lost);
        if (lost && lost_count++ == 0)
            first = width == 2 ? 0x10000 + ((units[at] - 0xd800u) << 10) + (units[at + 1] - 0xdc00u)
                               : units[at];
        at += width;
    }
    diag_report_line(line, DiagCharacterLost, (long)first, (long)lost_count);
}

}  // namespace

TextEncoding detect_encoding(const char *data, size_t size) {
    const unsigned char *p = (const unsigned char *)data;
    if (size >= 3 && p[0] == 0xef && p[1] == 0xbb && p[2] == 0xbf) return EncodingUtf8Bom;
    if (size >= 2 && p[0] == 0xff && p[1] == 0xfe) return EncodingUtf16Le;
    if (size >= 2 && p[0] == 0xfe && p[1] == 0xff) return EncodingUtf16Be;
    bool multi_byte = false;
    for (size_t at = 0; at < size;) {
        uint32_t value;
        size_t length = utf8_sequence(p + at, size - at, &value);
        if (!length) return EncodingAnsi;
        multi_byte = multi_byte || length > 1;
        at += length;
    }
    return multi_byte ? EncodingUtf8 : EncodingAnsi;
}

char *convert_to_ansi(const char *data, size_t size, TextEncoding encoding, size_t *length) {
    // The buffers below take up to three bytes for each byte of the file.
    if (size >= SIZE_MAX / 4) return nullptr;
    size_t count = 0;
    uint16_t *units = to_utf16(data, size, encoding, &count);
    // Three bytes hold any character of a UTF-16 unit in every ANSI code page.
    char *out = units ? (char *)malloc(3 * count + 1) : nullptr;
    if (!out) {
        free(units);
        return nullptr;
    }
    size_t kept = 0;
    // Line by line, so that a line that lost characters is known.
    for (size_t start = 0, line = 1; start < count; ++line) {
        size_t end = start;
        while (end < count && units[end] != '\n') ++end;
        if (end < count) ++end;  // the LF goes with its line
        int lost = 0;
        kept += plat_from_utf16(units + start, end - start, out + kept, 3 * count - kept, &lost);
        if (lost && g_diag_sink) report_lost_characters(units + start, end - start, (int)line);
        start = end;
    }
    out[kept] = 0;
    *length = kept;
    free(units);
    return out;
}
