// Answers the resolution's file questions from folder listings kept for the run.
//
// A search asks, folder by folder in its order, whether folder + name exists,
// and the first folder that holds it gives the full path. Here each folder is
// listed once, its names kept upper-cased and sorted (the file system
// compares names without letter case), and the same questions are answered
// in the same order from memory. Only plain names are answered so: a name
// with a folder part, a drive, wildcards, a trailing dot or blank, a device
// name or anything beyond printable ASCII is one the file system treats in
// ways of its own, and goes on to be asked as before. So does every name
// that reaches a folder which cannot be listed. A whole path ("C:\Tools\ed.exe")
// made of plain names is answered from its folder's listing too, once the
// folder has been asked about a few times.
#include "definition/search_cache.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/platform.h"
#include "core/text.h"

namespace {

enum FolderState { FolderUnread, FolderListed, FolderMissing, FolderUnsure };

struct CachedFolder {
    std::string key;     // the full path, upper case, ending in "\"
    std::string prefix;  // as first written: "" the current folder, else ends in "\"
    int state;
    int asked;                             // whole-path questions while unread
    std::vector<std::string> names;        // upper case, sorted
    std::vector<std::string> directories;  // those of them that are folders
};

// A search order as its folders (an empty folder between two ";" is -1) and
// what goes before a name in each, as the order writes it.
struct CachedOrder {
    std::string list;
    int known = 0;  // 0: ask the file system for every name
    std::vector<int> folders;
    std::vector<std::string> prefixes;
};

std::vector<CachedFolder> g_folders;
// Whole paths' folders as written (from a drive's root, so their full paths
// do not depend on the current folder) and where they are in g_folders.
std::unordered_map<std::string, int> g_whole_path_folders;
CachedOrder g_system_order;
CachedOrder g_list_order;  // the last list asked about
int g_system_order_read;
int g_use = 1;

// Listing a folder costs what asking about a few of its files does; a
// folder that only one entry names is not listed.
constexpr int kQuestionsBeforeListing = 4;

void to_upper(std::string &text) {
    for (char &c : text)
        if (c >= 'a' && c <= 'z') c = (char)(c - 32);
}

int is_device_name(const char *name) {
    // The part before the first dot, trailing blanks ignored, as the system
    // finds CON, NUL, COM1 and their kin in any folder.
    std::string base(name, strcspn(name, "."));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    to_upper(base);
    static const char *const kDevices[] = {"CON",    "PRN",     "AUX",   "NUL",
                                           "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char *device : kDevices)
        if (base == device) return 1;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0);
}

// A name that a folder listing can answer for.
int is_plain_name(const char *name) {
    size_t length = strlen(name);
    if (length == 0 || length >= kPathSize || name[0] == ' ' || name[0] == '.') return 0;
    if (name[length - 1] == ' ' || name[length - 1] == '.') return 0;
    for (const char *p = name; *p; ++p)
        if (*p < 0x20 || *p > 0x7e || strchr("\\/:*?\"<>|", *p)) return 0;
    // A DLL may be one the process's activation context redirects.
    if (length >= 4 && plat_starts_ci(name + length - 4, ".dll", 4)) return 0;
    return !is_device_name(name);
}

void take_name(const char *name, int is_directory, void *context) {
    std::string key(name);
    to_upper(key);
    auto *folder = static_cast<CachedFolder *>(context);
    folder->names.push_back(key);
    if (is_directory) folder->directories.push_back(key);
}

// One listing per folder, however the orders write it: the current folder
// is "", "." or its full path, and is often the program's folder as well.
int folder_index(const std::string &prefix) {
    char full[kPathSize];
    std::string key =
        plat_full_path(prefix.empty() ? "." : prefix.c_str(), full, sizeof full) ? full : prefix;
    to_upper(key);
    if (!key.empty() && !text_ends_with_backslash(key.c_str())) key += '\\';
    for (size_t i = 0; i < g_folders.size(); ++i)
        if (g_folders[i].key == key) return (int)i;
    g_folders.push_back({key, prefix, FolderUnread, 0, {}, {}});
    return (int)g_folders.size() - 1;
}

// Whether the folder holds key (an upper-cased plain name), or with
// directory 1 holds it as a folder: 1, 0, or -1 when only the file system
// can tell.
int folder_holds(int index, const std::string &key, int directory = 0) {
    CachedFolder &folder = g_folders[(size_t)index];
    if (folder.state == FolderUnread) {
        int listed = plat_list_folder(folder.prefix.c_str(), take_name, &folder);
        folder.state = listed > 0 ? FolderListed : listed == 0 ? FolderMissing : FolderUnsure;
        std::sort(folder.names.begin(), folder.names.end());
        std::sort(folder.directories.begin(), folder.directories.end());
    }
    if (folder.state == FolderMissing) return 0;
    const auto &names = directory ? folder.directories : folder.names;
    if (std::binary_search(names.begin(), names.end(), key)) return 1;
    return folder.state == FolderListed ? 0 : -1;
}

// A whole path from a drive's root whose every part is a plain name: prefix
// gets its folder with the final backslash, key its name in upper case.
int split_whole_path(const char *path, std::string &prefix, std::string &key) {
    if (((path[0] | 0x20) < 'a' || (path[0] | 0x20) > 'z') || path[1] != ':' || path[2] != '\\' ||
        strlen(path) >= kPathSize)
        return 0;
    const char *name = strrchr(path, '\\') + 1;
    for (const char *part = path + 3; part < name; part += strcspn(part, "\\") + 1)
        if (!is_plain_name(std::string(part, strcspn(part, "\\")).c_str())) return 0;
    if (!is_plain_name(name)) return 0;
    prefix.assign(path, (size_t)(name - path));
    key = name;
    to_upper(key);
    return 1;
}

// What the listing of a whole path's folder says of it (see folder_holds);
// -1 until the folder has been asked about often enough to be listed.
int whole_path_holds(const char *path, int directory) {
    std::string prefix, key;
    if (!g_use || !split_whole_path(path, prefix, key)) return -1;
    auto known = g_whole_path_folders.find(prefix);
    int index = known != g_whole_path_folders.end() ? known->second : folder_index(prefix);
    if (known == g_whole_path_folders.end()) g_whole_path_folders.emplace(prefix, index);
    CachedFolder &folder = g_folders[(size_t)index];
    if (folder.state == FolderUnread && ++folder.asked < kQuestionsBeforeListing) return -1;
    return folder_holds(index, key, directory);
}

// The folders of a ";"-separated list as the search takes them: a folder
// gets a backslash unless it ends in one, and a final ";" ends the list.
void read_order(const char *list, CachedOrder &order) {
    order.list = list;
    order.known = 1;
    order.folders.clear();
    order.prefixes.clear();
    for (const char *p = list; *p;) {
        size_t length = strcspn(p, ";");
        std::string prefix(p, length);
        if (!prefix.empty() && !text_ends_with_backslash(prefix.c_str())) prefix += '\\';
        order.folders.push_back(prefix.empty() ? -1 : folder_index(prefix));
        order.prefixes.push_back(prefix);
        p += length + (p[length] ? 1 : 0);
    }
}

}  // namespace

void search_cache_reset() {
    g_folders.clear();
    g_whole_path_folders.clear();
    g_system_order = CachedOrder();
    g_list_order = CachedOrder();
    g_system_order_read = 0;
}

void search_cache_use(int on) {
    g_use = on;
    search_cache_reset();
}

int search_cache_exists(const char *name) {
    if (!is_plain_name(name)) return whole_path_holds(name, 0);
    if (!g_use) return -1;
    std::string key(name);
    to_upper(key);
    return folder_holds(folder_index(""), key);
}

int search_cache_is_directory(const char *path) { return whole_path_holds(path, 1); }

int search_cache_search(const char *folders, const char *name, char *out, size_t out_size) {
    if (!g_use || !is_plain_name(name)) return -1;
    if (!folders && !g_system_order_read) {
        g_system_order_read = 1;
        std::vector<char> order(98304);
        if (plat_default_search_order(order.data(), order.size()))
            read_order(order.data(), g_system_order);
    } else if (folders && g_list_order.list != folders) {
        read_order(folders, g_list_order);
    }
    const CachedOrder &order = folders ? g_list_order : g_system_order;
    if (!order.known) return -1;
    std::string key(name);
    to_upper(key);
    for (size_t k = 0; k < order.folders.size(); ++k) {
        // How an empty folder is searched is the system's own affair.
        int index = order.folders[k];
        int held = index < 0 ? -1 : folder_holds(index, key);
        if (held < 0) return -1;
        if (held == 0) continue;
        // The search gives the full path of folder + name, and a path too
        // long for the caller is no answer (the search does not go on).
        std::string path = order.prefixes[k] + name;
        char full[kPathSize];
        if (path.size() >= kPathSize) return -1;
        if (!plat_full_path(path.c_str(), full, sizeof full) || strlen(full) >= out_size) return 0;
        text_copy(out, out_size, full);
        return 1;
    }
    return 0;
}
