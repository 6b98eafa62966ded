// Command macros of parameter texts, expanded at launch time.
#pragma once

#include <cstddef>

// Returned instead of a parameter text when the launch is to be abandoned.
constexpr char kCancelSentinel[] = "CancelData_Kesto";

// Turns a parameter template into the parameter text (at most 1039 bytes) in
// out, or writes the cancel sentinel. program is what will be launched.
void expand_command_macros(void *owner, const char *parameter_template, const char *program,
                           char *out, size_t out_size);
