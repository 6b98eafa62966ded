// The native build's Windows-style drive: "C:\..." paths live in a host folder.
//
// Drive X: is the folder <root>/x, UNC paths lie below <root>/unc, names match
// in any ASCII letter case, relative names start from a current folder kept
// here (C:\temp\ at first). The root is $TAVRIK_NATIVE_ROOT, or a new folder
// under /tmp; the drive starts with C:\windows\notepad.exe and
// C:\windows\system32\cmd.exe.
#pragma once

#include <string>

// The host path of a Windows path; empty when it has no full path.
std::string native_host_path(const char *windows_path);
void native_set_current_folder(const char *windows_folder);
// Each creates the missing parent folders.
void native_make_folder(const std::string &windows_folder);
void native_write_file(const std::string &windows_path, const std::string &bytes);
// Registers (value null: removes) an App Paths entry of the current user
// (machine 0) or of the machine (1).
void native_set_app_path(int machine, const char *exe_name, const char *value);
