// Directives of the [system] section, their value parsers, the line reader
// and program resolution through the search list and the system search order.
#pragma once

#include <cstddef>

constexpr size_t kMaxLineBytes = 517;
constexpr size_t kLineSize = kMaxLineBytes + 1;
// A line with CR LF appended, as the value parsers expect it.
constexpr size_t kLineWithEolSize = kMaxLineBytes + 3;

// Copies the line that starts at offset start (up to the first LF or the end
// of the text) into line, dropping CR and TAB bytes and keeping at most 517
// bytes. Returns the bytes consumed: up to and including the LF, or, when no
// LF comes, the bytes up to the end of the text plus one.
size_t read_line(const char *text, size_t start, size_t length, char *line);

// Applies one [system] line (leading blanks already removed). The line starts
// at line_start in text. Returns 0, or, for "@param", how many bytes from the
// line's start the parameter block took, so that the caller skips them.
size_t dispatch_directive(const char *line, const char *text, size_t line_start, size_t length);

// Reads the lines after "@param" into the user parameters; returns the bytes
// from the "@param" line's start to the end of the last parameter line.
size_t read_param_block(const char *text, size_t start, size_t length);

// Value parsers. Each takes text that ends with CR or LF; without one the
// open field is not applied.
void parse_position(const char *text, size_t start);
void parse_font(const char *line);
void parse_delays(const char *line);
void parse_folder_options(const char *line);
void parse_filter(const char *line);

// Finds an existing file or folder for target: as named, with ".exe" added
// (when try_exe is 1), in the search list, then in the system search order.
// Writes the full path to out (260 bytes) and returns 1; when nothing is
// found writes target itself (cut to fit) and returns 0.
int resolve_program(const char *target, int try_exe, char *out);

// Takes the program search list from a search-list file.
void read_search_list_file(const char *path);
