// Shared set-up of the fuzz targets: a small native drive and a clean state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Stops the run with a finding when a property of the result is broken.
#define FUZZ_CHECK(condition)                                        \
    do {                                                             \
        if (!(condition)) fuzz_fail(#condition, __FILE__, __LINE__); \
    } while (0)

[[noreturn]] void fuzz_fail(const char *what, const char *file, int line);

// The program folder C:\Tavrik\ holds ed.exe, a folder "list" with files to
// list and a search-list file; C:\windows holds notepad.exe. Made once.
void fuzz_prepare_drive();

// Settings, table and launch state as at program start, program in C:\Tavrik\.
void fuzz_reset_state();

// Cuts the input into at most max_parts parts at NUL bytes; the last part
// keeps the rest.
std::vector<std::string> fuzz_split(const uint8_t *data, size_t size, size_t max_parts);

// 1 when text has a NUL within size bytes.
bool fuzz_terminated(const char *text, size_t size);
