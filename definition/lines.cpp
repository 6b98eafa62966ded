// Reads the lines of the menu definition text.
#include "definition/lines.h"

#include <cstring>

#include "core/text.h"

size_t read_line(const char *text, size_t start, size_t length, char *line) {
    size_t kept = 0;
    size_t dropped = 0;
    size_t pos = start;
    for (; pos < length && text[pos] != '\n'; ++pos) {
        char c = text[pos];
        if (c == '\r' || c == '\t') continue;
        if (kept < kMaxLineBytes) {
            line[kept++] = c;
        } else {
            ++dropped;
        }
    }
    if (dropped) {
        diag_report_at(start, DiagLineCut, (long)(kept + dropped));
        kept = text_cut_length(line, kept);  // no half character at the cut
    }
    line[kept] = 0;
    return pos - start + 1;  // the LF, or one past the end
}

void remove_leading_blanks(char *line) {
    size_t skip = text_leading_blanks(line);
    if (line[skip] && skip) memmove(line, line + skip, strlen(line + skip) + 1);
}

// A section that ran to the end of the text: its last line may have gone
// unread for want of a line end, and a later section header was read as one
// of its lines.
void report_open_end(const char *text, size_t length, size_t pos, const char *header_at,
                     const char *other_header, long section) {
    if (pos < length) {
        char line[kLineSize];
        read_line(text, pos, length, line);
        remove_leading_blanks(line);
        if (line[0] && line[0] != ' ') diag_report_at(pos, DiagLastLineNoEol);
    }
    diag_report(DiagSectionEnd, 0);
    const char *other = plat_find_ci(text, other_header);
    if (other && other > header_at)
        diag_report_at((size_t)(other - text), DiagSectionRunsOn, section);
}

// The first header counts wherever it stands, a comment above the real one
// included; an LF is never part of a double-byte character, so the line's
// start is found by stepping back to one.
void report_header_in_comment(const char *text, const char *header_at, long section) {
    const char *start = header_at;
    while (start > text && start[-1] != '\n') --start;
    start += strspn(start, " \t\r");
    if (*start == ';') diag_report_at((size_t)(start - text), DiagHeaderInComment, section);
}
