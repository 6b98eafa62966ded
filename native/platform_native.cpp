// The portable code's operating-system seam for the native build (POSIX), and
// the tests' scratch folders and settings there.
//
// Text follows code page 932 and the shell's ASCII-only letter case; the clock
// is fixed so that runs repeat. Files live on a Windows-style drive: drive X:
// is the folder <root>/x, UNC paths lie below <root>/unc, names match in any
// ASCII letter case, relative names start from a current folder kept here
// (C:\temp\ at first). The root is $TAVRIK_NATIVE_ROOT, or a new folder under
// /tmp; the drive starts with C:\windows\notepad.exe and
// C:\windows\system32\cmd.exe.
#include <dirent.h>
#include <errno.h>
#include <ftw.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "core/dpi.h"
#include "core/platform.h"
#include "tests/unit/test_support.h"

namespace {

std::string g_current = "C:\\temp\\";
std::map<std::string, std::string> g_app_paths[2];  // the user's, the machine's

int fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// StrCmpNIA: single-byte characters with ASCII letters folded, double-byte
// characters byte for byte; 0 on a match.
int compare_ci(const char *a, const char *b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (plat_is_lead_byte(x) && a[i + 1] && i + 1 < n) {
            if (x != y || a[i + 1] != b[i + 1]) return x != y ? x - y : a[i + 1] - b[i + 1];
            ++i;
        } else if (fold(x) != fold(y) || !x) {
            return fold(x) - fold(y);
        }
    }
    return 0;
}

// The length of a path's root: "X:\" 3, "\\" 2, "\" 1, none 0.
size_t root_length(const std::string &path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
    return path.compare(0, 2, "\\\\") == 0 ? 2 : path.compare(0, 1, "\\") == 0 ? 1 : 0;
}

// The steps of a path behind its root, split at backslashes that are
// characters of their own; "." steps go, ".." takes the step before it.
std::vector<std::string> steps_of(const std::string &path) {
    std::vector<std::string> steps(1);
    for (size_t i = root_length(path); i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\') {
            steps.back() += path[i];
            if (plat_is_lead_byte((unsigned char)path[i]) && i + 1 < path.size())
                steps.back() += path[++i];
            continue;
        }
        std::string step = steps.back();
        steps.pop_back();
        if (step == ".." && !steps.empty()) steps.pop_back();
        if (!step.empty() && step != "." && step != "..") steps.push_back(step);
        steps.emplace_back();
    }
    steps.pop_back();
    return steps;
}

// The root, the tidied steps and the final separator when the path had one.
std::string tidy(const std::string &path) {
    std::string result = path.substr(0, root_length(path));
    std::vector<std::string> steps = steps_of(path);
    for (size_t i = 0; i < steps.size(); ++i) result += (i ? "\\" : "") + steps[i];
    size_t n = path.size();
    if (!steps.empty() && n > 1 && path[n - 1] == '\\' &&
        !plat_is_lead_byte((unsigned char)path[n - 2]))
        result += "\\";
    return result.empty() ? "\\" : result;
}

bool copy_out(const std::string &text, char *out, size_t out_size) {
    if (text.size() >= out_size) return false;
    text_copy(out, out_size, text.c_str());
    return true;
}

const std::string &drive_root() {
    static std::string root;
    if (root.empty()) {
        const char *given = getenv("TAVRIK_NATIVE_ROOT");
        char made[] = "/tmp/tavrik-native-XXXXXX";
        root = given && given[0] ? given : mkdtemp(made) ? made : "/tmp/tavrik-native";
        mkdir(root.c_str(), 0755);
        mkdir((root + "/c").c_str(), 0755);
        write_file("C:\\windows\\notepad.exe", "MZ");  // the system folders
        write_file("C:\\windows\\system32\\cmd.exe", "MZ");
    }
    return root;
}

// The host path of a Windows path; empty when it has no full path.
std::string host_path(const char *windows_path) {
    char full[260];
    if (!plat_full_path(windows_path, full, sizeof full)) return "";
    std::string host = drive_root();
    host += full[0] == '\\' ? "/unc" : "/" + std::string(1, (char)fold((unsigned char)full[0]));
    for (const std::string &step : steps_of(full)) {
        std::string name = step;  // the entry of that name in some letter case
        if (DIR *d = opendir(host.c_str())) {
            while (dirent *e = readdir(d))
                if (strlen(e->d_name) == step.size() && !compare_ci(e->d_name, step.c_str(), 260))
                    name = e->d_name;
            closedir(d);
        }
        host += "/" + name;
    }
    return host + (full[strlen(full) - 1] == '\\' && full[3] ? "/" : "");  // "C:\file\" is no file
}

int remove_entry(const char *path, const struct stat *, int, struct FTW *) { return remove(path); }

bool host_stat(const char *path, struct stat *st) {
    std::string host = host_path(path);
    return !host.empty() && stat(host.c_str(), st) == 0;
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    path_ = "C:\\temp\\tavrik_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter) +
            "\\";
    make_folders(path_);
}

ScratchFolder::~ScratchFolder() {
    set_current_folder("C:\\temp\\");
    nftw(host_path(path_.c_str()).c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

void set_current_folder(const std::string &folder) {
    char full[260];
    if (plat_full_path(folder.c_str(), full, sizeof full - 1)) {
        g_current = full;
        if (g_current.back() != '\\') g_current += "\\";
    }
}

void make_folders(const std::string &path) {
    for (size_t at = 3; at != std::string::npos; at = path.find('\\', at + 1))
        mkdir(host_path(path.substr(0, at).c_str()).c_str(), 0755);
    mkdir(host_path(path.c_str()).c_str(), 0755);
}

void write_file(const std::string &path, const std::string &bytes) {
    make_folders(path.substr(0, path.rfind('\\')));
    if (FILE *f = fopen(host_path(path.c_str()).c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

void set_environment(const std::string &name, const char *value) {
    value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
}

void set_app_path(int machine, const std::string &exe_name, const char *value) {
    g_app_paths[machine].erase(exe_name);
    if (value) g_app_paths[machine][exe_name] = value;
}

int plat_ansi_is_japanese() { return 1; }
int plat_ui_is_japanese() { return 1; }

int plat_is_lead_byte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// StrStrIA: matches start at character boundaries; an empty needle finds nothing.
const char *plat_find_ci(const char *hay, const char *needle) {
    if (!needle[0]) return nullptr;
    for (const char *p = hay; *p; p += plat_is_lead_byte((unsigned char)*p) && p[1] ? 2 : 1)
        if (!compare_ci(p, needle, strlen(needle))) return p;
    return nullptr;
}

int plat_starts_ci(const char *text, const char *prefix, int n) {
    return !compare_ci(text, prefix, n < 0 ? 0 : (size_t)n);
}

// Byte order with ASCII letters folded: the host has no code page 932
// collation, so punctuation may sort differently from Windows.
int plat_collate_ci(const char *a, const char *b) {
    int order = compare_ci(a, b, (size_t)-1);
    return order < 0 ? -1 : order > 0;
}

// The host's iconv; a unit it cannot take is lost and skipped, so a
// surrogate pair gives two lost characters, as on Windows.
size_t plat_from_utf16(const uint16_t *units, size_t count, char *out, size_t out_size, int *lost) {
    static iconv_t to_932 = iconv_open("CP932", "UTF-16LE");  // the host is little-endian
    char *from = (char *)units, *to = out;
    size_t in_left = 2 * count, out_left = out_size;
    iconv(to_932, nullptr, nullptr, nullptr, nullptr);
    while (in_left && iconv(to_932, &from, &in_left, &to, &out_left) == (size_t)-1 && out_left) {
        *to++ = kLostCharacter;
        --out_left;
        from += 2;
        in_left -= 2;
        *lost = 1;
    }
    return (size_t)(to - out);
}

int plat_exists(const char *path) {
    struct stat st;
    return host_stat(path, &st);
}

int plat_is_directory(const char *path) {
    struct stat st;
    return host_stat(path, &st) && S_ISDIR(st.st_mode);
}

// GetFullPathNameA: relative names start from the current folder, "/"
// becomes "\", "." and ".." steps and repeated separators go.
int plat_full_path(const char *name, char *out, size_t out_size) {
    std::string path(name), full;
    for (char &c : path)
        if (c == '/') c = '\\';
    if (path.empty()) return 0;
    if (root_length(path) >= 2) {
        full = path;
    } else {
        full = (path[0] == '\\' ? g_current.substr(0, 2) : g_current) + path;
    }
    return copy_out(tidy(full), out, out_size);
}

// PathCanonicalizeA: "." steps go, ".." takes the step before it but never
// the root; the rest stays as written.
int plat_canonicalize(const char *path, char *out, size_t out_size) {
    return strlen(path) < 260 && copy_out(tidy(path), out, out_size);
}

// The resolution answers from the folder listings (plat_list_folder); the
// search path itself finds nothing here.
int plat_search_path(const char *, const char *, char *, size_t) { return 0; }

int plat_read_file(const char *path, int create, char **data, size_t *size, SysTime *written) {
    std::string host = host_path(path);
    if (create && !host.empty() && !plat_exists(path))
        if (FILE *made = fopen(host.c_str(), "wb")) fclose(made);
    struct stat st;
    FILE *f = host.empty() || stat(host.c_str(), &st) || !S_ISREG(st.st_mode)
                  ? nullptr
                  : fopen(host.c_str(), "rb");
    if (!f) return 0;
    *size = (size_t)st.st_size;
    *data = (char *)calloc(*size + 1, 1);
    size_t got = fread(*data, 1, *size, f);
    fclose(f);
    if (got != *size) free(*data);
    if (written) {
        struct tm t;
        gmtime_r(&st.st_mtime, &t);
        *written = SysTime{(uint16_t)(t.tm_year + 1900), (uint16_t)(t.tm_mon + 1),
                           (uint16_t)t.tm_wday,          (uint16_t)t.tm_mday,
                           (uint16_t)t.tm_hour,          (uint16_t)t.tm_min,
                           (uint16_t)t.tm_sec,           0};
    }
    return got == *size;
}

void plat_free_file(char *data) { free(data); }

// Listings are of every entry ("folder\*.*"), "." and ".." included.
void *plat_find_first(const char *pattern, PlatFindEntry *entry) {
    std::string folder(pattern);
    folder.erase(folder.rfind('\\') + 1);
    DIR *d = opendir(host_path(folder.c_str()).c_str());
    return d && plat_find_next(d, entry) ? d : nullptr;  // a folder lists "." at least
}

int plat_find_next(void *search, PlatFindEntry *entry) {
    while (dirent *e = readdir((DIR *)search)) {
        if (strlen(e->d_name) >= sizeof entry->name) continue;
        text_copy(entry->name, e->d_name);
        entry->is_directory = e->d_type == DT_DIR;
        return 1;
    }
    return 0;
}

void plat_find_close(void *search) { closedir((DIR *)search); }

// The Windows folder and its system folder by name; every other special
// folder a name of its own that shows its number.
int plat_special_folder(int csidl, char *out) {
    if (csidl == 36 || csidl == 37)
        return text_copy(out, 260, csidl == 36 ? "C:\\windows" : "C:\\windows\\system32"), 1;
    return text_format(out, 260, "C:\\special\\%d", csidl), 1;
}

int plat_environment(const char *name, char *out, size_t out_size) {
    const char *value = getenv(name);
    return value && copy_out(value, out, out_size);
}

int plat_app_path(int machine, const char *exe_name, char *out, size_t out_size) {
    auto found = g_app_paths[machine].find(exe_name);
    return found != g_app_paths[machine].end() && copy_out(found->second, out, out_size);
}

void plat_local_time(SysTime *now) { *now = SysTime{2026, 12, 1, 7, 9, 30, 15, 0}; }

double plat_ms_since_start() { return 0; }  // no start-up timing here

void plat_small_icon_size(int dpi, int *width, int *height) {
    *width = *height = scale_to_dpi(16, dpi);
}

void plat_screen(int *width, int *maximised_height, int *mouse_buttons) {
    *width = 1024;
    *maximised_height = 740;
    *mouse_buttons = 3;
}

// The resolution's folder listings, answered from the drive.
int plat_list_folder(const char *prefix,
                     void (*take)(const char *name, int is_directory, void *context),
                     void *context) {
    std::string host = host_path(prefix[0] ? prefix : g_current.c_str());
    DIR *dir = host.empty() ? nullptr : opendir(host.c_str());
    if (!dir) return errno == ENOENT || errno == ENOTDIR || host.empty() ? 0 : -1;
    // Letter case folds ASCII letters only here, so a name beyond ASCII
    // never equals a plain one.
    while (dirent *e = readdir(dir)) {
        bool ascii = true;
        for (const char *p = e->d_name; *p; ++p) ascii = ascii && *p >= 0x20 && *p < 0x7f;
        if (ascii) take(e->d_name, e->d_type == DT_DIR, context);
    }
    closedir(dir);
    return 1;
}

int plat_default_search_order(char *out, size_t out_size) {
    return copy_out(g_current + ";C:\\windows\\system32;C:\\windows", out, out_size);
}
