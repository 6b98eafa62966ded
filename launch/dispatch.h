// Carries out a choice from the menu: a system command, an entry's folder, the
// entry itself or its variant, then the marked rows.
#pragma once

#include <cstdint>

struct Choice {
    unsigned command;       // the chosen menu command; 0 for a dismissed menu
    int ctrl_held;          // Ctrl asks for the option prompt
    int folder_request;     // Shift or the right button asked for the entry's folder
    const int32_t *marked;  // per row, 1 when marked
    int marked_count;
};

// Runs the chosen command, then, after the first delay, the marked rows in
// row order with the next delay after each. A cancelled launch ends it all.
void run_choice(void *owner, const Choice &choice);

// Runs one row as chosen: the entry, its folder (folder_request with a
// filer), the option prompt (ctrl_held) or the variant with its expanded
// parameters. Returns 0 when the launch was cancelled.
int launch_row(void *owner, int row, int ctrl_held, int folder_request);

// Opens a file of the program's own (the definition, the help, a report) in
// the "@editor=" program, or, without one, as the shell opens it.
void open_in_editor(const char *path);

// The pause between launches; tests replace it to see the delays.
extern void (*launch_pause)(int milliseconds);

// The version box; tests replace it.
extern void (*show_version_box)(void *owner);
