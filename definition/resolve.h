// Program resolution: the file an entry, "@editor=" or "@filer=" names, found
// as written, in the search list and in the system search order.
#pragma once

// Finds an existing file or folder for target: as named, with ".exe" added
// (when try_exe is 1), in the search list, then in the system search order.
// Writes the full path to out (kPathSize bytes) and returns 1; when nothing
// is found writes target itself (cut to fit) and returns 0.
int resolve_program(const char *target, int try_exe, char *out);

// Whether a file that resolve_program found is a folder.
int resolved_is_folder(const char *path);

// Takes the program search list from a search-list file.
void read_search_list_file(const char *path);
