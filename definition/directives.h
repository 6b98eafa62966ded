// Directives of the [system] section and their value parsers.
#pragma once

#include <cstddef>

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
