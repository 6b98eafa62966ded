// Loads the menu definition file into the launcher settings and the item table.
#pragma once

#include <cstddef>

// Chooses, reads and parses the menu definition file (definition_path, with
// its fallbacks). Returns 0 when the file cannot be opened or read (the
// caller tells the user), else 1.
int load_definition();

// Parses the bytes of a definition file: a UTF-8 or UTF-16 file (see
// detect_encoding) is first converted to the ANSI code page, any other is
// taken as it is. Returns 0 when there is no memory for the conversion.
int load_definition_bytes(const char *data, size_t size);

// Runs work(context), which may load another definition, and then puts the
// settings, the item table and the folder listing back as they were, so
// that rows the menu refers to keep their meaning. Returns 0, without
// running work, when there is no memory to keep them.
int keep_loaded_definition(void (*work)(void *context), void *context);

// Picks the file to read as load_definition does: definition_path when
// anything is there, else the default name, else "Tavrik.ini", else the
// default name. Returns 1 when that last choice is to be created empty.
int choose_definition_file();

// Parses definition text that is already in memory: the [system] pass with
// the settings it starts from and the defaults after it, then the [launch]
// pass. length excludes the NUL that must follow the text.
void load_definition_text(const char *text, size_t length);
