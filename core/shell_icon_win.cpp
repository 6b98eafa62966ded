// Fetches the shell's small icons and the program's system icon.
#include "core/shell_icon_win.h"

#include <shellapi.h>

#include "core/lazy_win.h"
#include "core/pathparts.h"
#include "res/resource.h"

HICON shell_small_icon(const char *path) {
    SHFILEINFOA info = {};
    // A URL or shell location is no file: it gets the shell's picture of
    // an Internet shortcut, one for all of them.
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON;
    if (path_is_shell_location(path)) {
        path = ".url";
        flags |= SHGFI_USEFILEATTRIBUTES;
    }
    if (!lazy::SHGetFileInfoA(path, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags))
        return nullptr;
    return info.hIcon;
}

HICON program_system_icon() { return LoadIconA(GetModuleHandleA(nullptr), TAVRIK_ICON_SYS); }
