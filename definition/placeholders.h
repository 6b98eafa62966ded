// Folder, date and user-parameter placeholders: "%Windows%", "%4y%", names
// from the "@param" block.
#pragma once

#include <cstddef>

#include "core/platform.h"

constexpr size_t kPlaceholderTextSize = 3900;

// Replaces every placeholder of text and writes the result, cut to fit, to
// out. The date tokens use the local date, read once.
void expand_placeholders(const char *text, char *out, size_t out_size);

// The same with the date given, so that date formats can be checked.
void expand_placeholders_on(const char *text, const SysTime &today, char *out, size_t out_size);

// 1 when the length bytes at token ("%...%") are one of the placeholders or
// the name of a user parameter, letter case ignored.
int is_own_token(const char *token, size_t length);

// Expands text when "@param" switched placeholders on, else copies it; both
// cut to fit out. Returns the length of the result.
size_t expand_if_enabled(const char *text, char *out, size_t out_size);
