// Loads the menu definition file into the launcher settings and the item table.
#pragma once

#include <cstddef>

// Chooses, reads and parses the menu definition file (definition_path, with
// its fallbacks). Returns 0 when the file cannot be opened or read (the
// caller tells the user), else 1.
int load_definition();

// Picks the file to read as load_definition does: definition_path when
// anything is there, else the default name, else "Tavrik.ini", else the
// default name. Returns 1 when that last choice is to be created empty.
int choose_definition_file();

// Parses definition text that is already in memory: the [system] pass with
// the settings it starts from and the defaults after it, then the [launch]
// pass. length excludes the NUL that must follow the text.
void load_definition_text(const char *text, size_t length);
