// Windows-style paths over a host folder for the native build.
#include "native/native_drive.h"

#include <dirent.h>
#include <errno.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/platform.h"
#include "core/text.h"

namespace {

char g_current[260] = "C:\\";

// The components of a path, split at backslashes that are characters of
// their own (never the trail byte of a double-byte character).
std::vector<std::string> split_components(const char *path) {
    std::vector<std::string> parts(1);
    for (const char *p = path; *p; ++p) {
        if (plat_is_lead_byte((unsigned char)*p) && p[1]) {
            parts.back() += p[0];
            parts.back() += p[1];
            ++p;
        } else if (*p == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += *p;
        }
    }
    return parts;
}

// Splits a full Windows path into its root ("C:\" or "\\server\share\") and
// the rest.
void split_root(const std::string &full, std::string *root, std::string *rest) {
    if (full.size() >= 2 && full[0] == '\\' && full[1] == '\\') {
        size_t server_end = full.find('\\', 2);
        size_t share_end =
            server_end == std::string::npos ? server_end : full.find('\\', server_end + 1);
        if (share_end == std::string::npos) {
            *root = full;
            rest->clear();
        } else {
            *root = full.substr(0, share_end + 1);
            *rest = full.substr(share_end + 1);
        }
        return;
    }
    *root = full.substr(0, 3);
    *rest = full.size() > 3 ? full.substr(3) : "";
}

// ASCII letters in any case; double-byte characters byte for byte.
bool same_name(const char *a, const char *b) {
    while (*a && *b) {
        if (plat_is_lead_byte((unsigned char)*a) && a[1]) {
            if (a[0] != b[0] || a[1] != b[1]) return false;
            a += 2;
            b += 2;
            continue;
        }
        unsigned char x = (unsigned char)*a++, y = (unsigned char)*b++;
        if (x >= 'A' && x <= 'Z') x = (unsigned char)(x + 32);
        if (y >= 'A' && y <= 'Z') y = (unsigned char)(y + 32);
        if (x != y) return false;
    }
    return *a == *b;
}

// The entry of host folder dir that is name in some letter case; name itself
// when none is.
std::string match_entry(const std::string &dir, const std::string &name) {
    struct stat st;
    if (lstat((dir + "/" + name).c_str(), &st) == 0) return name;
    DIR *d = opendir(dir.c_str());
    if (!d) return name;
    std::string found = name;
    while (dirent *e = readdir(d)) {
        if (same_name(e->d_name, name.c_str())) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

// A server or share named "." or ".." stays a name on the drive: no path
// may lead out of the drive's root folder.
std::string inside_drive(const std::string &part) {
    return part == "." || part == ".." ? "dot" + part : part;
}

int remove_entry(const char *path, const struct stat *, int, struct FTW *) { return remove(path); }

}  // namespace

const std::string &native_drive_root() {
    static std::string root;
    if (root.empty()) {
        const char *given = getenv("TAVRIK_NATIVE_ROOT");
        if (given && given[0]) {
            root = given;
            mkdir(root.c_str(), 0755);
        } else {
            char made[] = "/tmp/tavrik-native-XXXXXX";
            root = mkdtemp(made) ? made : "/tmp";
        }
        mkdir((root + "/c").c_str(), 0755);
    }
    return root;
}

int native_full_path(const char *name, char *out, size_t out_size) {
    if (!name[0]) return 0;
    std::string path(name);
    for (char &c : path)
        if (c == '/') c = '\\';
    std::string full;
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        full = path;
    } else if (path.size() >= 2 && path[1] == ':') {
        std::string drive = path.substr(0, 2);
        if (path.size() >= 3 && path[2] == '\\') {
            full = path;
        } else if (same_name(drive.c_str(), std::string(g_current, 2).c_str())) {
            full = g_current + path.substr(2);
        } else {
            full = drive + "\\" + path.substr(2);
        }
    } else if (path[0] == '\\') {
        full = std::string(g_current, 2) + path;
    } else {
        full = g_current + path;
    }
    std::string root, rest;
    split_root(full, &root, &rest);
    if (root.size() == 3 && root[2] != '\\') root = root.substr(0, 2) + "\\";
    bool final_separator =
        !rest.empty() && rest.back() == '\\' &&
        (rest.size() < 2 || !plat_is_lead_byte((unsigned char)rest[rest.size() - 2]));
    std::vector<std::string> kept;
    for (const std::string &part : split_components(rest.c_str())) {
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(part);
    }
    std::string result = root;
    for (size_t i = 0; i < kept.size(); ++i) result += (i ? "\\" : "") + kept[i];
    if (final_separator && !kept.empty()) result += "\\";
    if (result.size() >= out_size) return 0;
    text_copy(out, out_size, result.c_str());
    return 1;
}

std::string native_host_path(const char *windows_path) {
    char full[4096];
    if (!native_full_path(windows_path, full, sizeof full)) return "";
    std::string root, rest;
    split_root(full, &root, &rest);
    std::string host = native_drive_root();
    if (root[0] == '\\') {
        host += "/unc";
        for (const std::string &part : split_components(root.c_str() + 2))
            if (!part.empty()) host += "/" + match_entry(host, inside_drive(part));
    } else {
        char drive = root[0];
        if (drive >= 'A' && drive <= 'Z') drive = (char)(drive + 32);
        host += drive >= 'a' && drive <= 'z' ? "/" + std::string(1, drive) : "/no-drive";
    }
    std::vector<std::string> parts = split_components(rest.c_str());
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty()) {
            if (i + 1 == parts.size()) host += "/";  // "C:\file\" is no file
            continue;
        }
        host += "/" + match_entry(host, parts[i]);
    }
    return host;
}

void native_set_current_folder(const char *windows_folder) {
    char full[260];
    if (!native_full_path(windows_folder, full, sizeof full - 1)) return;
    text_copy(g_current, full);
    plat_add_backslash(g_current, sizeof g_current);
}

const char *native_current_folder() { return g_current; }

void native_make_folder(const std::string &windows_folder) {
    std::string built;
    for (char c : windows_folder + "\\") {
        if (c == '\\' && !built.empty()) mkdir(native_host_path(built.c_str()).c_str(), 0755);
        built += c;
    }
}

void native_write_file(const std::string &windows_path, const std::string &bytes) {
    size_t slash = windows_path.rfind('\\');
    if (slash != std::string::npos) native_make_folder(windows_path.substr(0, slash));
    std::string host = native_host_path(windows_path.c_str());
    FILE *f = fopen(host.c_str(), "wb");
    if (!f) return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

void native_remove_tree(const std::string &windows_path) {
    std::string host = native_host_path(windows_path.c_str());
    if (host.empty() || host == native_drive_root()) return;
    nftw(host.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

// The resolution's folder listings, answered from the drive.
int plat_list_folder(const char *prefix, void (*take)(const char *name, void *context),
                     void *context) {
    std::string host = native_host_path(prefix[0] ? prefix : native_current_folder());
    DIR *dir = host.empty() ? nullptr : opendir(host.c_str());
    if (!dir) return errno == ENOENT || errno == ENOTDIR || host.empty() ? 0 : -1;
    // Letter case folds ASCII letters only here, so a name beyond ASCII
    // never equals a plain one.
    while (dirent *e = readdir(dir)) {
        bool ascii = true;
        for (const char *p = e->d_name; *p; ++p) ascii = ascii && *p >= 0x20 && *p < 0x7f;
        if (ascii) take(e->d_name, context);
    }
    closedir(dir);
    return 1;
}

int plat_default_search_order(char *out, size_t out_size) {
    std::string order = std::string(native_current_folder()) + ";C:\\windows\\system32;C:\\windows";
    return text_copy(out, out_size, order.c_str()) == order.size();
}
