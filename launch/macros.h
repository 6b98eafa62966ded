// Command macros of parameter texts, expanded at launch time: value prompts,
// clipboard paths and text, the target window, the working folder and
// multi-file tokens.
#pragma once

#include <cstddef>

// Returned instead of a parameter text when the launch is to be abandoned.
constexpr char kCancelSentinel[] = "CancelData_Kesto";

// Turns a parameter template into the parameter text (at most 1039 bytes) in
// out, or writes the cancel sentinel. program is what will be launched.
void expand_command_macros(void *owner, const char *parameter_template, const char *program,
                           char *out, size_t out_size);

// Reads the clipboard: its file list, or its text cut into candidate paths.
// 1 when it held files or non-empty text. Tests replace it.
extern int (*read_clipboard_input)(void *owner);

// Cuts text into lines and quoted parts and keeps those that name an
// existing file or folder in the selected path list.
void parse_path_list(const char *text);
