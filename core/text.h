// Bounded text helpers: the only way our code writes into fixed byte buffers.
//
// Every helper takes the destination's full size, never writes past it, always
// leaves a terminating NUL and cuts longer text to size - 1 bytes, one less
// where the cut would keep only the lead byte of a double-byte character
// (a stray glyph on screen, a broken name for the file system). It poisons
// the unbounded C calls so that they cannot creep back in: a Win32 file
// includes <windows.h> before it.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
// The C headers that declare the calls poisoned below come first, so that
// including them later changes nothing.
#include <cstdio>
#include <cstring>

// Paths, titles and values: 259 bytes and a NUL (the system's MAX_PATH).
constexpr int kPathSize = 260;

// Copies src, cut to dst_size - 1 bytes; returns the length written.
size_t text_copy(char *dst, size_t dst_size, const char *src);
// Copies at most n bytes of src (stopping early at a NUL).
size_t text_copy_n(char *dst, size_t dst_size, const char *src, size_t n);
// Appends src behind the text already in dst, cut to fit.
size_t text_append(char *dst, size_t dst_size, const char *src);
// Appends at most n bytes of src.
size_t text_append_n(char *dst, size_t dst_size, const char *src, size_t n);
// printf-style formatting, cut to fit; returns the length written.
size_t text_format(char *dst, size_t dst_size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

// Where a text of more than length bytes may be cut: length, or one less when
// the last byte kept would be the lead byte of a double-byte character.
size_t text_cut_length(const char *text, size_t length);

// Length of s, but never reads more than max bytes.
size_t text_length(const char *s, size_t max);

// Decimal conversion as the shell's StrToInt documents it: leading blanks
// (space, TAB) skipped, an optional "+" or "-", then digits up to the first
// non-digit; no digits gives 0. Overflow wraps like 32-bit arithmetic.
int text_to_int(const char *s);

// 1 when text ends with a backslash that is a character of its own (not the
// trail byte of a double-byte character).
int text_ends_with_backslash(const char *text);
// Removes one final backslash (see above); returns 1 when one was removed.
int text_remove_final_backslash(char *text);

// Removes the double quotes around a whole text (PathUnquoteSpaces).
void text_unquote(char *text);
// Puts a text that holds a space in double quotes when it still fits
// (PathQuoteSpaces); returns 1 when it did.
int text_quote_spaces(char *text, size_t size);

// How many blanks (spaces, TABs) text starts with.
size_t text_leading_blanks(const char *text);
// 1 when text is empty or holds blanks only.
int text_is_blank(const char *text);
// Removes leading and trailing blanks (PathRemoveBlanks).
void text_remove_blanks(char *text);

// Array forms: the size comes from the array type, so it cannot be wrong.
template <size_t N>
inline size_t text_copy(char (&dst)[N], const char *src) {
    return text_copy(dst, N, src);
}
template <size_t N>
inline size_t text_copy_n(char (&dst)[N], const char *src, size_t n) {
    return text_copy_n(dst, N, src, n);
}
template <size_t N>
inline size_t text_append(char (&dst)[N], const char *src) {
    return text_append(dst, N, src);
}
template <size_t N>
inline size_t text_append_n(char (&dst)[N], const char *src, size_t n) {
    return text_append_n(dst, N, src, n);
}

#pragma GCC poison strcpy strcat sprintf vsprintf gets lstrcpyA lstrcatA wsprintfA wvsprintfA
