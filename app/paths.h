// Start-up state: the program's paths, screen metrics and main handles.
#pragma once

#include <cstddef>

struct AppState {
    void *instance;         // HINSTANCE of the program
    void *launcher_window;  // HWND of the hidden launcher window
    void *target_window;    // HWND that was in front at start, or named by "/#w="
    const char *command_line;
    char program_file[520];
    char program_base[260];
    char default_definition_name[260];
    char program_folder[260];  // ends with a backslash
    char program_drive[260];
    char help_path[260];
    char definition_path[260];
    int screen_width;
    int maximised_height;
    int mouse_buttons;  // 0: no mouse installed
};

extern AppState g_app;

constexpr size_t kPathPartSize = 260;

// The four parts of a path, each cut to 259 bytes: drive ("C:", empty when
// none), folder (after the drive, up to and including the last backslash),
// base name (up to the last dot of the name) and extension (from that dot).
struct PathParts {
    char drive[kPathPartSize];
    char folder[kPathPartSize];
    char base[kPathPartSize];
    char ext[kPathPartSize];
};

// Splits a path; double-byte characters are kept whole, so a trail byte that
// looks like a backslash does not end a folder.
void path_split(const char *path, PathParts *parts);

// Fills program_base, default_definition_name, program_folder, program_drive
// and help_path from program_file.
void paths_from_program_file(AppState *app);
