// The parts of a path: drive, folder, base name and extension.
#pragma once

#include <cstddef>

#include "core/text.h"

// The four parts of a path, each cut to 259 bytes: drive ("C:", empty when
// none), folder (after the drive, up to and including the last backslash),
// base name (up to the last dot of the name) and extension (from that dot).
struct PathParts {
    char drive[kPathSize];
    char folder[kPathSize];
    char base[kPathSize];
    char ext[kPathSize];
};

// Splits a path; double-byte characters are kept whole, so a trail byte that
// looks like a backslash does not end a folder.
void path_split(const char *path, PathParts *parts);

// The folder a path is in, with its drive and final backslash ("C:\a\" for
// "C:\a\b.exe"); returns the length written (see text_format).
size_t path_folder(const char *path, char *out, size_t out_size);

// 1 when text is a URL or shell location rather than a path: a scheme of two
// or more characters (a letter, then letters, digits, "+", "-" or "."), a
// colon and the rest ("https://...", "mailto:...", "ms-settings:",
// "shell:startup"), without control bytes. A drive letter has one.
int path_is_shell_location(const char *text);
