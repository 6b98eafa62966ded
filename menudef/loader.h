// Loads the menu definition file into the launcher settings and the item table.
#pragma once

#include <cstddef>

// Chooses, reads and parses the menu definition file (definition_path, with
// its fallbacks). On a file that cannot be opened or read it reports the
// error through definition_error_report and returns 0; otherwise 1.
int load_definition(void *launcher_window);

// Picks the file to read as load_definition does: definition_path when
// anything is there, else the default name, else "Tavrik.ini", else the
// default name. Returns 1 when that last choice is to be created empty.
int choose_definition_file();

// Parses definition text that is already in memory: initial values, the
// [system] pass and its post-processing, the [launch] pass. length excludes
// the NUL that must follow the text.
void load_definition_text(const char *text, size_t length);

// Shows the loader's error message box; tests replace it.
extern void (*definition_error_report)(void *launcher_window);
