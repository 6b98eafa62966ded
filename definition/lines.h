// Lines of the menu definition text and the walk over a section's lines.
#pragma once

#include <cstddef>

#include "core/diagnostics.h"
#include "core/platform.h"

constexpr size_t kMaxLineBytes = 517;
constexpr size_t kLineSize = kMaxLineBytes + 1;
// A line with CR LF appended, as the value parsers expect it.
constexpr size_t kLineWithEolSize = kMaxLineBytes + 3;

// Copies the line that starts at offset start (up to the first LF or the end
// of the text) into line, dropping CR and TAB bytes and keeping at most 517
// bytes. Returns the bytes consumed: up to and including the LF, or, when no
// LF comes, the bytes up to the end of the text plus one.
size_t read_line(const char *text, size_t start, size_t length, char *line);

// A line that read_line took from pos, consuming consumed bytes, is read only
// when a line end closes it: the last line of a text without one is not.
inline bool line_has_end(size_t pos, size_t consumed, size_t length) {
    return pos + consumed <= length;
}

// Moves the line's text behind its leading blanks to the front; a line of
// blanks only stays as it is.
void remove_leading_blanks(char *line);

// Diagnostics only: a section that ran to the end of the text (see walk_section).
void report_open_end(const char *text, size_t length, size_t pos, const char *header_at,
                     const char *other_header, long section);

// Diagnostics only: the header found at header_at stands in a comment line.
void report_header_in_comment(const char *text, const char *header_at, long section);

// Walks the lines of the section whose header is found in text. For each line
// (blanks removed) calls handle(line, line_start); a nonzero return is the
// number of bytes to skip from the line's start instead of the line itself, a
// return of kEndSection ends the section. section and other_header only tell
// the diagnostics which section this is and which header may follow it.
constexpr size_t kEndSection = (size_t)-1;

template <typename Handler>
void walk_section(const char *text, size_t length, const char *header, const char *other_header,
                  long section, Handler handle) {
    const char *found = plat_find_ci(text, header);
    if (!found) return;
    char line[kLineSize];
    size_t pos = (size_t)(found - text);
    diag_report_at(pos, DiagSectionStart, section, header);
    if (g_diag_sink) report_header_in_comment(text, found, section);
    pos += read_line(text, pos, length, line);  // the header's own line
    while (pos <= length) {
        size_t consumed = read_line(text, pos, length, line);
        if (!line_has_end(pos, consumed, length)) break;
        diag_line(pos, section);
        remove_leading_blanks(line);
        size_t skip = handle(line, pos);
        if (skip == kEndSection) {
            diag_report(DiagSectionEnd, 1);
            return;
        }
        pos += skip ? skip : consumed;
    }
    if (g_diag_sink) report_open_end(text, length, pos, found, other_header, section);
}
