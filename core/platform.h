// The operating-system calls of the portable code, behind one seam.
//
// The definition stage (loader, directives, resolution, listing, placeholders)
// and the portable parts of the menu and the launch reach files, the search
// path, special folders, the clock and the ANSI code page only through these
// procedures, so that the text logic itself carries no window or GDI call.
// platform_win.cpp answers them with the Win32 API, the native test build
// with a drive of its own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

// Same layout as the Win32 SYSTEMTIME: eight unsigned 16-bit fields.
struct SysTime {
    uint16_t year, month, day_of_week, day, hour, minute, second, milliseconds;
};

// --- ANSI code page text ---------------------------------------------------
int plat_is_lead_byte(unsigned char c);
// Leftmost occurrence of needle in hay, letter case ignored, at a
// character's first byte; null for an empty needle (as StrStrIA).
const char *plat_find_ci(const char *hay, const char *needle);
// 1 when the first n characters of a and b match, letter case ignored (StrCmpNIA).
int plat_starts_ci(const char *text, const char *prefix, int n);
// Collation of the system locale, letter case ignored: <0, 0 or >0.
int plat_collate_ci(const char *a, const char *b);
// 1 when the ANSI code page is 932: the program's own texts are Japanese
// there and English on every other system, which cannot show them.
int plat_ansi_is_japanese();
// 1 when the user's interface language is Japanese (Help opens the Japanese
// manual then, the English one otherwise).
int plat_ui_is_japanese();

// What a character the ANSI code page lacks becomes (SUB): a control byte,
// which no file name and no URL may hold.
constexpr char kLostCharacter = 0x1a;
// Converts count UTF-16 code units to the ANSI code page at out (out_size
// bytes; three per unit always suffice; no NUL added), exactly, without
// look-alike replacements. A character the code page lacks, or a lone
// surrogate, becomes kLostCharacter (one for each of its code units) and
// sets *lost to 1. Returns the bytes written.
size_t plat_from_utf16(const uint16_t *units, size_t count, char *out, size_t out_size, int *lost);

// --- files and paths -------------------------------------------------------
int plat_exists(const char *path);        // a file or a folder is there
int plat_is_directory(const char *path);  // a folder is there
// Full-path form of name into out; 0 when it cannot be formed or does not fit.
int plat_full_path(const char *name, char *out, size_t out_size);
// Removes "." and ".." steps; 0 on failure (out then undefined).
int plat_canonicalize(const char *path, char *out, size_t out_size);
// Searches name in the ";"-separated folders (or, with folders null, in the
// system's default order); 1 when found with a path that fits out.
int plat_search_path(const char *folders, const char *name, char *out, size_t out_size);
// Adds a final backslash when missing and there is room.
void plat_add_backslash(char *path, size_t size);

// Reads a whole file into a new NUL-terminated buffer (free it with
// plat_free_file). With create 1 a missing file is created empty first. The
// last-write time is given in UTC. Returns 0 when the file cannot be opened
// or read.
int plat_read_file(const char *path, int create, char **data, size_t *size, SysTime *written);
void plat_free_file(char *data);

// Folder search: one entry at a time, in the order the file system gives.
struct PlatFindEntry {
    char name[kPathSize];
    int is_directory;
};
void *plat_find_first(const char *pattern, PlatFindEntry *entry);  // null: nothing found
int plat_find_next(void *search, PlatFindEntry *entry);            // 0 at the end
void plat_find_close(void *search);

// Lists the folder that prefix followed by a file name is looked for in
// (prefix "" the current folder, otherwise ending in a backslash), for the
// resolution to answer many names from one listing. Calls take(name,
// is_directory, context) with the name and the 8.3 name of every entry that
// a plain ASCII name could match, in ASCII. Returns 1 when listed, 0 when
// there is no such folder (nothing can be found in it), -1 when only asking
// the file system for each name can tell: the folder cannot be listed, or
// holds a name that letter case might fold onto an ASCII one.
int plat_list_folder(const char *prefix,
                     void (*take)(const char *name, int is_directory, void *context),
                     void *context);
// The folders SearchPathA searches when given none, ";"-separated in its
// order, into out (out_size bytes); 0 when the system cannot give them
// exactly in the ANSI code page.
int plat_default_search_order(char *out, size_t out_size);

// --- system facts ----------------------------------------------------------
// The value of environment variable name; 0 when it is not set or does not fit.
int plat_environment(const char *name, char *out, size_t out_size);
// The default value of the App Paths registration exe_name ("name.exe") of
// the current user (machine 0) or of the machine (1), expanded when the
// registry holds it as an expandable text; 0 when there is none or it does
// not fit. Only read, never written.
int plat_app_path(int machine, const char *exe_name, char *out, size_t out_size);
// The path of a special folder (CSIDL value) into a kPathSize buffer; 0 when
// the system has no such folder.
int plat_special_folder(int csidl, char *out);
void plat_local_time(SysTime *now);
// Milliseconds since the process was created (the start-up timing's clock).
double plat_ms_since_start();
// The system's small-icon size at dpi (96 DPI: 100 %).
void plat_small_icon_size(int dpi, int *width, int *height);
// The primary screen's width, the height of a maximised window and the
// number of mouse buttons (0: no mouse).
void plat_screen(int *width, int *maximised_height, int *mouse_buttons);
