// The encodings a definition file may come in, and their conversion to the
// ANSI code page the program works in.
#pragma once

#include <cstddef>

enum TextEncoding : int {
    EncodingAnsi,     // no mark and not UTF-8: the bytes are taken as they are
    EncodingUtf8,     // no mark, valid UTF-8 with at least one multi-byte sequence
    EncodingUtf8Bom,  // EF BB BF
    EncodingUtf16Le,  // FF FE
    EncodingUtf16Be,  // FE FF
};

// Which encoding data is in. Pure ASCII is EncodingAnsi: it reads the same
// either way.
TextEncoding detect_encoding(const char *data, size_t size);

// Converts data (in encoding, not EncodingAnsi) to the ANSI code page, its
// mark left out: a new NUL-terminated buffer (free it with free()) of
// *length bytes, or null when there is no memory. Line ends stay where they
// were, so line numbers keep. A character the code page lacks becomes
// plat_from_utf16's lost byte; with a diagnostics sink each line that lost
// some is reported, with its first lost character.
char *convert_to_ansi(const char *data, size_t size, TextEncoding encoding, size_t *length);
