// Environment variables in paths: "%LOCALAPPDATA%\Programs\tool.exe".
#pragma once

#include <cstddef>

// Replaces each "%NAME%" of text whose NAME is set in the environment and is
// neither a placeholder nor a user parameter name by the variable's value;
// every other "%" stays as written. The result is cut to fit out; returns
// its length.
size_t expand_environment(const char *text, char *out, size_t out_size);
