// Fetches the shell's small icons and the program's system icon.
#include "core/shell_icon_win.h"

#include <shellapi.h>

#include "res/resource.h"

HICON shell_small_icon(const char *path) {
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) return nullptr;
    return info.hIcon;
}

HICON program_system_icon() { return LoadIconA(GetModuleHandleA(nullptr), TAVRIK_ICON_SYS); }
