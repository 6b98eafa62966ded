// Start-up facts: the program's own paths, the menu definition file to read,
// the screen and the window the menu refers to.
#pragma once

#include <cstdint>

#include "core/text.h"

struct StartupFacts {
    char program_base[kPathSize];
    char default_definition_name[kPathSize];  // program_base with ".ini"
    char program_folder[kPathSize];           // ends with a backslash
    char program_drive[kPathSize];
    char help_path[kPathSize];  // Tavrik.txt, or Tavrik-en.txt for a user not in Japanese
    char definition_path[kPathSize];
    int screen_width;
    int maximised_height;
    int mouse_buttons;       // 0: no mouse installed
    intptr_t target_window;  // HWND in front at start, or named by "/#w="
};

extern StartupFacts g_startup;

// Takes the start-up facts of the program at program_file, started while
// foreground_window (an HWND) was in front: the definition path is the
// default one, the settings are as at program start (nothing chosen yet).
void startup_begin(const char *program_file, intptr_t foreground_window);

// The default definition file: the program folder and default_definition_name.
void startup_use_default_definition();

// Another name in the program folder, cut to fit; 0 when it was cut.
int startup_use_definition_name(const char *name);

// A definition file given by its full path, as the checker reads it.
void startup_use_definition_path(const char *path);
