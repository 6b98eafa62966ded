// The few functions of shell32, shlwapi, ole32 and comctl32 the program
// calls, each library loaded on first use: only a launch, the icon cache,
// special folders, the input dialog and paths with dot parts need them, and
// loading them costs the menu's start.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

// Same signatures and results as the system's functions; when the library
// or the function cannot be had, each answers as a failed call does.
namespace lazy {

HRESULT CoInitializeEx(void *reserved, DWORD flags);
HINSTANCE ShellExecuteA(HWND window, const char *verb, const char *file, const char *parameters,
                        const char *folder, int show);
DWORD_PTR SHGetFileInfoA(const char *path, DWORD attributes, SHFILEINFOA *info, UINT info_size,
                         UINT flags);
BOOL SHGetSpecialFolderPathA(HWND window, char *path, int csidl, BOOL create);
UINT DragQueryFileA(HDROP drop, UINT index, char *file, UINT file_size);
void DragFinish(HDROP drop);
void DragAcceptFiles(HWND window, BOOL accept);
BOOL PathCanonicalizeA(char *out, const char *path);
HRESULT SHGetDesktopFolder(IShellFolder **folder);
void CoTaskMemFree(void *memory);
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);

}  // namespace lazy
