// A Windows-style drive for the native build: "C:\..." paths live in a host folder.
//
// The native build answers the file seams with POSIX calls. Paths stay in
// their Windows form everywhere in the core; only here are they turned into
// host paths: drive X: is the folder <root>/x, a UNC path lies below
// <root>/unc, names match in any ASCII letter case as on Windows, and
// relative names start from a current folder kept here (C:\ at first).
// The root is $TAVRIK_NATIVE_ROOT, or a new folder under /tmp.
#pragma once

#include <cstddef>
#include <string>

// The host folder that holds the drives; created on first use.
const std::string &native_drive_root();

// GetFullPathNameA as documented: relative names start from the current
// folder, "/" becomes "\", "." and ".." steps and repeated separators go, a
// final separator stays. 0 when name is empty or the result does not fit.
int native_full_path(const char *name, char *out, size_t out_size);

// The host path of a Windows path (full path first, then letter case matched
// against what exists). Empty when the name has no full path.
std::string native_host_path(const char *windows_path);

// The current folder for relative names; a final backslash is kept.
void native_set_current_folder(const char *windows_folder);
const char *native_current_folder();

// Helpers for tests and fuzz set-up; each creates missing parent folders.
void native_make_folder(const std::string &windows_folder);
void native_write_file(const std::string &windows_path, const std::string &bytes);
void native_remove_tree(const std::string &windows_path);

// Registers (value null: removes) an App Paths entry of the current user
// (machine 0) or of the machine (1), as plat_app_path reads them.
void native_set_app_path(int machine, const char *exe_name, const char *value);

// A small system on drive C: C:\windows with notepad.exe, system32 and the
// special folders the placeholders name.
void native_make_system_folders();
