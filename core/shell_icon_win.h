// The icons the program shows: the shell's small icon of a file and its own
// system icon.
#pragma once

#include <windows.h>
#include <commctrl.h>

// The shell's small icon of a file or folder (of an Internet shortcut for a
// URL or shell location), or null when it has none; the caller destroys it.
HICON shell_small_icon(const char *path);

// Where the shell keeps that icon: an image list of its own and a place in it.
// Files that show the same icon share the place.
struct ShellPicture {
    HIMAGELIST list;
    int index;
};

// Finds the place of the icon shell_small_icon gives for path: 2 when asked
// through its folder, 1 by the whole path, 0 when there is none. The files of
// a folder after its first are asked through the folder, bound once until
// shell_pictures_end: the shell reads a whole path from the desktop down at
// every call.
int shell_small_picture(const char *path, ShellPicture *out);

// The icon at a place (the caller destroys it), or null.
HICON shell_picture_icon(const ShellPicture &picture);

// Lets go of the folders shell_small_picture has bound.
void shell_pictures_end();

// The program's system icon ("MYSYS"), shared by every caller: never destroyed.
HICON program_system_icon();
