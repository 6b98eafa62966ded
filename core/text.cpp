// Bounded copy, append and format into fixed byte buffers; decimal parsing.
#include "core/text.h"

#include <cstdio>
#include <cstring>

#include "core/platform.h"

size_t text_length(const char *s, size_t max) {
    size_t n = 0;
    while (n < max && s[n]) ++n;
    return n;
}

size_t text_cut_length(const char *text, size_t length) {
    size_t at = 0, last = 0;
    while (at < length) {
        last = at;
        at += plat_is_lead_byte((unsigned char)text[at]) ? 2 : 1;
    }
    return at > length ? last : length;
}

size_t text_copy_n(char *dst, size_t dst_size, const char *src, size_t n) {
    if (dst_size == 0) return 0;
    size_t limit = n < dst_size - 1 ? n : dst_size - 1;
    size_t len = text_length(src, limit);
    // Cut short of the source (or at the n bytes asked for): never keep half
    // of a double-byte character. Bytes past n are never read.
    if (len == limit && (limit == n || src[len])) len = text_cut_length(src, len);
    memmove(dst, src, len);
    dst[len] = 0;
    return len;
}

size_t text_copy(char *dst, size_t dst_size, const char *src) {
    return text_copy_n(dst, dst_size, src, (size_t)-1);
}

size_t text_append_n(char *dst, size_t dst_size, const char *src, size_t n) {
    if (dst_size == 0) return 0;
    size_t have = text_length(dst, dst_size - 1);
    return have + text_copy_n(dst + have, dst_size - have, src, n);
}

size_t text_append(char *dst, size_t dst_size, const char *src) {
    return text_append_n(dst, dst_size, src, (size_t)-1);
}

static size_t text_vformat(char *dst, size_t dst_size, const char *format, va_list args) {
    if (dst_size == 0) return 0;
    int n = vsnprintf(dst, dst_size, format, args);
    if (n < 0) {
        dst[0] = 0;
        return 0;
    }
    if ((size_t)n < dst_size) return (size_t)n;
    size_t len = text_cut_length(dst, dst_size - 1);
    dst[len] = 0;
    return len;
}

size_t text_format(char *dst, size_t dst_size, const char *format, ...) {
    va_list args;
    va_start(args, format);
    size_t n = text_vformat(dst, dst_size, format, args);
    va_end(args);
    return n;
}

int text_to_int(const char *s) {
    while (*s == ' ' || *s == '\t') ++s;
    int negative = 0;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    uint32_t value = 0;
    for (; *s >= '0' && *s <= '9'; ++s) value = value * 10u + (uint32_t)(*s - '0');
    if (negative) value = 0u - value;
    return (int)value;
}

int text_ends_with_backslash(const char *text) {
    const char *last = nullptr;
    for (const char *p = text; *p; ++p) {
        last = p;
        if (plat_is_lead_byte((unsigned char)*p) && p[1]) ++p;
    }
    return last && *last == '\\';
}

int text_remove_final_backslash(char *text) {
    if (!text_ends_with_backslash(text)) return 0;
    text[strlen(text) - 1] = 0;
    return 1;
}

void text_unquote(char *text) {
    size_t len = strlen(text);
    if (len >= 2 && text[0] == '"' && text[len - 1] == '"') {
        memmove(text, text + 1, len - 2);
        text[len - 2] = 0;
    }
}

int text_quote_spaces(char *text, size_t size) {
    size_t len = strlen(text);
    if (!strchr(text, ' ') || len + 3 > size) return 0;
    memmove(text + 1, text, len);
    text[0] = '"';
    text[len + 1] = '"';
    text[len + 2] = 0;
    return 1;
}

static bool is_blank_byte(char c) { return c == ' ' || c == '\t'; }

size_t text_leading_blanks(const char *text) {
    size_t n = 0;
    while (is_blank_byte(text[n])) ++n;
    return n;
}

int text_is_blank(const char *text) { return text[text_leading_blanks(text)] == 0; }

void text_remove_blanks(char *text) {
    size_t start = text_leading_blanks(text);
    size_t end = strlen(text);
    while (end > start && is_blank_byte(text[end - 1])) --end;
    memmove(text, text + start, end - start);
    text[end - start] = 0;
}
