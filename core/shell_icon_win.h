// The icons the program shows: the shell's small icon of a file and its own
// system icon.
#pragma once

#include <windows.h>

// The shell's small icon of a file or folder (of an Internet shortcut for a
// URL or shell location), or null when it has none; the caller destroys it.
HICON shell_small_icon(const char *path);

// The program's system icon ("MYSYS"), shared by every caller: never destroyed.
HICON program_system_icon();
