// Fetches the shell's small icons and the program's system icon.
#include "core/shell_icon_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>

#include "core/lazy_win.h"
#include "core/pathparts.h"
#include "res/resource.h"

namespace {

// A URL or shell location is no file: it gets the shell's picture of an
// Internet shortcut, one for all of them.
const char *shell_question(const char *path, UINT *flags) {
    if (!path_is_shell_location(path)) return path;
    *flags |= SHGFI_USEFILEATTRIBUTES;
    return ".url";
}

// Asks the shell where the small icon of a path (or, with SHGFI_PIDL, of an
// item list) is kept.
int ask_place(const char *path, UINT flags, ShellPicture *out) {
    SHFILEINFOA info = {};
    flags |= SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    DWORD_PTR list = lazy::SHGetFileInfoA(path, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags);
    if (!list) return 0;
    out->list = (HIMAGELIST)list;
    out->index = info.iIcon;
    return 1;
}

// A folder whose files were asked for: how often, and once bound, the folder
// and its whole item list from the desktop.
struct BoundFolder {
    int asked = 0;
    IShellFolder *folder = nullptr;
    ITEMIDLIST *place = nullptr;
};

IShellFolder *g_desktop;
std::unordered_map<std::string, BoundFolder> g_folders;

// In the ANSI code page, as the shell's A functions read their text.
int to_wide(const char *text, wchar_t *out, int out_chars) {
    return MultiByteToWideChar(CP_ACP, 0, text, -1, out, out_chars) > 0;
}

// Whether a path may be asked as a name in its folder: a full path from a
// drive letter to a name, without "." or ".." parts, forward or doubled
// slashes. Anything else is asked whole, as the shell reads it.
int splits_plainly(const char *path, const char *folder, size_t folder_length) {
    return folder_length >= 3 && folder[1] == ':' && folder[2] == '\\' &&
           ((folder[0] | 0x20) >= 'a' && (folder[0] | 0x20) <= 'z') && path[folder_length] &&
           strlen(path) < MAX_PATH && !strchr(path, '/') && !strstr(path, "\\\\") &&
           !strstr(path, "\\.");
}

// The bytes of an item list before its closing zero.
size_t id_list_size(const ITEMIDLIST *list) {
    const unsigned char *bytes = (const unsigned char *)list;
    size_t size = 0;
    for (USHORT item; memcpy(&item, bytes + size, sizeof item), item != 0;) size += item;
    return size;
}

void bind(BoundFolder &f, const char *folder) {
    wchar_t wide[MAX_PATH];
    ULONG eaten = 0;
    if (!g_desktop && FAILED(lazy::SHGetDesktopFolder(&g_desktop))) g_desktop = nullptr;
    if (!g_desktop || !to_wide(folder, wide, MAX_PATH)) return;
    // "C:\a\" is asked as "C:\a"; a drive's root keeps its backslash.
    size_t length = wcslen(wide);
    if (length > 3) wide[length - 1] = 0;
    if (FAILED(g_desktop->ParseDisplayName(nullptr, nullptr, wide, &eaten, &f.place, nullptr))) {
        f.place = nullptr;
        return;
    }
    if (FAILED(
            g_desktop->BindToObject(f.place, nullptr, __uuidof(IShellFolder), (void **)&f.folder)))
        f.folder = nullptr;
}

// The place of a name's icon, asked by the folder's item list and the name's;
// 0 when the folder does not know the name.
int place_in_folder(const BoundFolder &f, const char *name, ShellPicture *out) {
    wchar_t wide[MAX_PATH];
    ULONG eaten = 0;
    ITEMIDLIST *child = nullptr;
    if (!to_wide(name, wide, MAX_PATH) ||
        FAILED(f.folder->ParseDisplayName(nullptr, nullptr, wide, &eaten, &child, nullptr)))
        return 0;
    size_t head = id_list_size(f.place), tail = id_list_size(child) + sizeof(USHORT);
    unsigned char *whole = (unsigned char *)malloc(head + tail);
    int found = 0;
    if (whole) {
        memcpy(whole, f.place, head);
        memcpy(whole + head, child, tail);
        found = ask_place((const char *)whole, SHGFI_PIDL, out);
        free(whole);
    }
    lazy::CoTaskMemFree(child);
    return found;
}

}  // namespace

HICON shell_small_icon(const char *path) {
    SHFILEINFOA info = {};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON;
    path = shell_question(path, &flags);
    if (!lazy::SHGetFileInfoA(path, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags))
        return nullptr;
    return info.hIcon;
}

int shell_small_picture(const char *path, ShellPicture *out) {
    // A folder is bound when its second file is asked for: binding costs
    // about what asking one whole path does.
    char folder[kPathSize];
    size_t length = path_folder(path, folder, sizeof folder);
    if (splits_plainly(path, folder, length)) {
        BoundFolder &f = g_folders[folder];
        if (++f.asked == 2) bind(f, folder);
        if (f.folder && place_in_folder(f, path + length, out)) return 2;
    }
    UINT flags = 0;
    path = shell_question(path, &flags);
    return ask_place(path, flags, out);
}

HICON shell_picture_icon(const ShellPicture &picture) {
    return lazy::ImageList_GetIcon(picture.list, picture.index, ILD_NORMAL);
}

void shell_pictures_end() {
    for (auto &entry : g_folders) {
        if (entry.second.folder) entry.second.folder->Release();
        if (entry.second.place) lazy::CoTaskMemFree(entry.second.place);
    }
    g_folders.clear();
    if (g_desktop) g_desktop->Release();
    g_desktop = nullptr;
}

HICON program_system_icon() { return LoadIconA(GetModuleHandleA(nullptr), TAVRIK_ICON_SYS); }
