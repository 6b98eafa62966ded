// Loads shell32, shlwapi, ole32 and comctl32 on the first call of one of their functions.
#include "core/lazy_win.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "core/phases.h"

namespace {

// The function from the system folder's library (never one beside the
// program); null when there is none. Safe on several threads at once.
FARPROC load(const char *library, const char *name) {
    double started = phase_start();
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    FARPROC function = module ? GetProcAddress(module, name) : nullptr;
    if (module && !function) FreeLibrary(module);
    phase_add(SumLibraries, started);
    // A library whose function was found stays loaded for the rest of the run.
    // cppcheck-suppress resourceLeak
    return function;
}

// The function as its own type, looked up once per run.
#define LAZY(library, function) \
    static const auto call = (decltype(&::function))(void *)load(library, #function)

}  // namespace

namespace lazy {

HRESULT CoInitializeEx(void *reserved, DWORD flags) {
    LAZY("ole32.dll", CoInitializeEx);
    return call ? call(reserved, flags) : E_FAIL;
}

HINSTANCE ShellExecuteA(HWND window, const char *verb, const char *file, const char *parameters,
                        const char *folder, int show) {
    LAZY("shell32.dll", ShellExecuteA);
    return call ? call(window, verb, file, parameters, folder, show)
                : (HINSTANCE)SE_ERR_DLLNOTFOUND;
}

DWORD_PTR SHGetFileInfoA(const char *path, DWORD attributes, SHFILEINFOA *info, UINT info_size,
                         UINT flags) {
    LAZY("shell32.dll", SHGetFileInfoA);
    return call ? call(path, attributes, info, info_size, flags) : 0;
}

BOOL SHGetSpecialFolderPathA(HWND window, char *path, int csidl, BOOL create) {
    LAZY("shell32.dll", SHGetSpecialFolderPathA);
    return call ? call(window, path, csidl, create) : FALSE;
}

UINT DragQueryFileA(HDROP drop, UINT index, char *file, UINT file_size) {
    LAZY("shell32.dll", DragQueryFileA);
    return call ? call(drop, index, file, file_size) : 0;
}

void DragFinish(HDROP drop) {
    LAZY("shell32.dll", DragFinish);
    if (call) call(drop);
}

void DragAcceptFiles(HWND window, BOOL accept) {
    LAZY("shell32.dll", DragAcceptFiles);
    if (call) call(window, accept);
}

BOOL PathCanonicalizeA(char *out, const char *path) {
    LAZY("shlwapi.dll", PathCanonicalizeA);
    return call ? call(out, path) : FALSE;
}

HRESULT SHGetDesktopFolder(IShellFolder **folder) {
    LAZY("shell32.dll", SHGetDesktopFolder);
    return call ? call(folder) : E_FAIL;
}

void CoTaskMemFree(void *memory) {
    LAZY("ole32.dll", CoTaskMemFree);
    if (call) call(memory);
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags) {
    LAZY("comctl32.dll", ImageList_GetIcon);
    return call ? call(list, index, flags) : nullptr;
}

}  // namespace lazy
