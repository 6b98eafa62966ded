// The definition core's operating-system seam for the native build (POSIX).
//
// Text follows code page 932 and the shell's ASCII-only letter case rules;
// files go through the drive of native_drive.h; the clock is fixed so that
// runs repeat.
#include <dirent.h>
#include <fcntl.h>
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
#include "core/text.h"
#include "native/native_drive.h"

namespace {

int fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// Compares up to n bytes character by character: single-byte characters with
// ASCII letters folded, double-byte characters byte for byte. Returns 0 on a
// match, as StrCmpNIA does.
int compare_ci(const char *a, const char *b, size_t n) {
    size_t i = 0;
    while (i < n) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (plat_is_lead_byte(x) && a[i + 1] && i + 1 < n) {
            if (x != y) return x - y;
            if (a[i + 1] != b[i + 1]) return (unsigned char)a[i + 1] - (unsigned char)b[i + 1];
            i += 2;
            continue;
        }
        if (fold(x) != fold(y)) return fold(x) - fold(y);
        if (!x) return 0;
        ++i;
    }
    return 0;
}

struct Search {
    DIR *dir;
    std::string folder;   // host folder
    std::string pattern;  // the name part of the pattern
};

// Wildcards of FindFirstFile: "*" any run, "?" one byte; "*.*" is everything.
bool wildcard_match(const char *pattern, const char *name) {
    if (!strcmp(pattern, "*.*") || !strcmp(pattern, "*")) return true;
    if (*pattern == 0) return *name == 0;
    if (*pattern == '*')
        return wildcard_match(pattern + 1, name) || (*name && wildcard_match(pattern, name + 1));
    if (*name == 0) return false;
    if (*pattern == '?' || fold((unsigned char)*pattern) == fold((unsigned char)*name))
        return wildcard_match(pattern + 1, name + 1);
    return false;
}

bool next_entry(Search *s, PlatFindEntry *entry) {
    while (dirent *e = readdir(s->dir)) {
        if (!wildcard_match(s->pattern.c_str(), e->d_name)) continue;
        if (strlen(e->d_name) >= sizeof entry->name) continue;
        struct stat st;
        if (stat((s->folder + "/" + e->d_name).c_str(), &st) != 0) continue;
        text_copy(entry->name, e->d_name);
        entry->is_directory = S_ISDIR(st.st_mode) ? 1 : 0;
        return true;
    }
    return false;
}

bool host_stat(const char *path, struct stat *st) {
    if (!path[0]) return false;
    std::string host = native_host_path(path);
    return !host.empty() && stat(host.c_str(), st) == 0;
}

struct SpecialFolder {
    int csidl;
    const char *path;
};

// The special folders of the native drive (CSIDL values).
const SpecialFolder kNativeSpecialFolders[] = {
    {0, "C:\\users\\tavrik\\Desktop"},
    {2, "C:\\users\\tavrik\\Start Menu\\Programs"},
    {5, "C:\\users\\tavrik\\Documents"},
    {6, "C:\\users\\tavrik\\Favorites"},
    {7, "C:\\users\\tavrik\\Start Menu\\Programs\\StartUp"},
    {8, "C:\\users\\tavrik\\Recent"},
    {9, "C:\\users\\tavrik\\SendTo"},
    {11, "C:\\users\\tavrik\\Start Menu"},
    {13, "C:\\users\\tavrik\\Music"},
    {14, "C:\\users\\tavrik\\Videos"},
    {16, "C:\\users\\tavrik\\Desktop"},
    {20, "C:\\windows\\Fonts"},
    {32, "C:\\users\\tavrik\\Temporary Internet Files"},
    {33, "C:\\users\\tavrik\\Cookies"},
    {34, "C:\\users\\tavrik\\History"},
    {36, "C:\\windows"},
    {37, "C:\\windows\\system32"},
    {38, "C:\\Program Files"},
    {39, "C:\\users\\tavrik\\Pictures"},
    {-1, nullptr},
};

}  // namespace

void native_make_system_folders() {
    for (const SpecialFolder *f = kNativeSpecialFolders; f->path; ++f) native_make_folder(f->path);
    native_write_file("C:\\windows\\notepad.exe", "MZ");
    native_write_file("C:\\windows\\system32\\cmd.exe", "MZ");
}

// The native build reads and writes code page 932 text as a Japanese system.
int plat_ansi_is_japanese() { return 1; }
int plat_ui_is_japanese() { return 1; }

int plat_is_lead_byte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// StrStrIA: matches start at character boundaries only; an empty needle
// finds nothing.
const char *plat_find_ci(const char *hay, const char *needle) {
    if (!hay || !needle || !needle[0]) return nullptr;
    size_t n = strlen(needle);
    for (const char *p = hay; *p;) {
        if (compare_ci(p, needle, n) == 0) return p;
        p += plat_is_lead_byte((unsigned char)*p) && p[1] ? 2 : 1;
    }
    return nullptr;
}

// The host's iconv; a unit it cannot take is replaced and skipped, so a
// surrogate pair gives two replacements, as on Windows.
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

int plat_starts_ci(const char *text, const char *prefix, int n) {
    return compare_ci(text, prefix, n < 0 ? 0 : (size_t)n) == 0;
}

// Byte order with ASCII letters folded: the host has no code page 932
// collation, so listings may sort punctuation differently from Windows.
int plat_collate_ci(const char *a, const char *b) {
    for (;; ++a, ++b) {
        int x = fold((unsigned char)*a), y = fold((unsigned char)*b);
        if (x != y) return x < y ? -1 : 1;
        if (!x) return 0;
    }
}

int plat_exists(const char *path) {
    struct stat st;
    return host_stat(path, &st) ? 1 : 0;
}

int plat_is_directory(const char *path) {
    struct stat st;
    return host_stat(path, &st) && S_ISDIR(st.st_mode) ? 1 : 0;
}

int plat_full_path(const char *name, char *out, size_t out_size) {
    return native_full_path(name, out, out_size);
}

// PathCanonicalizeA: "." steps go, ".." removes the step before it but never
// the root; everything else stays as written. Results up to 259 bytes.
int plat_canonicalize(const char *path, char *out, size_t out_size) {
    size_t len = strlen(path);
    if (len >= 260) return 0;
    std::string text(path);
    size_t root = 0;
    if (len >= 3 && text[1] == ':' && text[2] == '\\') {
        root = 3;
    } else if (len >= 2 && text[0] == '\\' && text[1] == '\\') {
        root = 2;
    } else if (len >= 1 && text[0] == '\\') {
        root = 1;
    }
    // Each kept step with the separator behind it, if any.
    std::vector<std::string> steps;
    size_t pos = root;
    while (pos <= len) {
        size_t end = pos;
        while (end < len && text[end] != '\\')
            end += plat_is_lead_byte((unsigned char)text[end]) && end + 1 < len ? 2 : 1;
        std::string part = text.substr(pos, end - pos);
        bool separator = end < len;
        if (part == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (part != ".") {
            steps.push_back(part + (separator ? "\\" : ""));
        }
        pos = end + 1;
    }
    std::string result = text.substr(0, root);
    for (const std::string &step : steps) result += step;
    if (result.empty()) result = "\\";
    if (result.size() >= out_size || result.size() >= 260) return 0;
    text_copy(out, out_size, result.c_str());
    return 1;
}

// SearchPathA: a name with a folder part is looked up as it is; a bare name
// in each folder of the list, or in the current folder and the system folders.
int plat_search_path(const char *folders, const char *name, char *out, size_t out_size) {
    if (!name[0]) return 0;
    std::string list =
        folders ? folders
                : std::string(native_current_folder()) + ";C:\\windows\\system32;C:\\windows";
    bool has_folder =
        strchr(name, '\\') || strchr(name, '/') || strchr(name, ':') || name[0] == '.';
    size_t start = 0;
    while (true) {
        std::string candidate;
        if (has_folder) {
            candidate = name;
        } else {
            size_t semi = list.find(';', start);
            std::string folder =
                list.substr(start, semi == std::string::npos ? semi : semi - start);
            start = semi == std::string::npos ? list.size() + 1 : semi + 1;
            if (folder.empty()) {
                if (start > list.size()) return 0;
                continue;
            }
            candidate = folder + (folder.back() == '\\' ? "" : "\\") + name;
        }
        char full[260];
        if (plat_exists(candidate.c_str()) &&
            native_full_path(candidate.c_str(), full, sizeof full)) {
            if (strlen(full) >= out_size) return 0;
            text_copy(out, out_size, full);
            return 1;
        }
        if (has_folder || start > list.size()) return 0;
    }
}

int plat_read_file(const char *path, int create, char **data, size_t *size, SysTime *written) {
    *data = nullptr;
    *size = 0;
    std::string host = path[0] ? native_host_path(path) : "";
    if (host.empty()) return 0;
    int fd = open(host.c_str(), O_RDONLY | (create ? O_CREAT : 0), 0644);
    if (fd < 0) return 0;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size >= 0x7fffffff) {
        close(fd);
        return 0;
    }
    if (written) {
        memset(written, 0, sizeof *written);
        struct tm utc;
        time_t seconds = st.st_mtim.tv_sec;
        if (gmtime_r(&seconds, &utc)) {
            written->year = (uint16_t)(utc.tm_year + 1900);
            written->month = (uint16_t)(utc.tm_mon + 1);
            written->day_of_week = (uint16_t)utc.tm_wday;
            written->day = (uint16_t)utc.tm_mday;
            written->hour = (uint16_t)utc.tm_hour;
            written->minute = (uint16_t)utc.tm_min;
            written->second = (uint16_t)utc.tm_sec;
            written->milliseconds = (uint16_t)(st.st_mtim.tv_nsec / 1000000);
        }
    }
    size_t length = (size_t)st.st_size;
    char *buffer = (char *)calloc(length + 1, 1);
    size_t got = 0;
    while (buffer && got < length) {
        ssize_t n = read(fd, buffer + got, length - got);
        if (n <= 0) break;
        got += (size_t)n;
    }
    close(fd);
    if (!buffer || got != length) {
        free(buffer);
        return 0;
    }
    *data = buffer;
    *size = length;
    return 1;
}

void plat_free_file(char *data) { free(data); }

void *plat_find_first(const char *pattern, PlatFindEntry *entry) {
    std::string text(pattern);
    size_t slash = text.rfind('\\');
    std::string folder = slash == std::string::npos ? "." : text.substr(0, slash + 1);
    auto *s = new Search;
    s->folder = native_host_path(folder.c_str());
    s->pattern = slash == std::string::npos ? text : text.substr(slash + 1);
    s->dir = s->folder.empty() ? nullptr : opendir(s->folder.c_str());
    if (!s->dir || !next_entry(s, entry)) {
        plat_find_close(s);
        return nullptr;
    }
    return s;
}

int plat_find_next(void *search, PlatFindEntry *entry) {
    return next_entry((Search *)search, entry) ? 1 : 0;
}

void plat_find_close(void *search) {
    auto *s = (Search *)search;
    if (s->dir) closedir(s->dir);
    delete s;
}

int plat_special_folder(int csidl, char *out) {
    out[0] = 0;
    for (const SpecialFolder *f = kNativeSpecialFolders; f->path; ++f) {
        if (f->csidl == csidl) {
            text_copy(out, 260, f->path);
            return 1;
        }
    }
    return 0;
}

int plat_environment(const char *name, char *out, size_t out_size) {
    const char *value = getenv(name);
    if (!value || strlen(value) >= out_size) return 0;
    text_copy(out, out_size, value);
    return 1;
}

namespace {
// App Paths registrations of the current user [0] and of the machine [1].
std::map<std::string, std::string> g_app_paths[2];
}  // namespace

void native_set_app_path(int machine, const char *exe_name, const char *value) {
    if (value) {
        g_app_paths[machine][exe_name] = value;
    } else {
        g_app_paths[machine].erase(exe_name);
    }
}

int plat_app_path(int machine, const char *exe_name, char *out, size_t out_size) {
    auto found = g_app_paths[machine].find(exe_name);
    if (found == g_app_paths[machine].end() || found->second.size() >= out_size) return 0;
    text_copy(out, out_size, found->second.c_str());
    return 1;
}

// A fixed day, so that date placeholders and fuzz runs repeat.
void plat_local_time(SysTime *now) { *now = SysTime{2026, 12, 1, 7, 9, 30, 15, 0}; }

double plat_ms_since_start() {
    static timespec start;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (!start.tv_sec && !start.tv_nsec) start = now;
    return (double)(now.tv_sec - start.tv_sec) * 1e3 + (double)(now.tv_nsec - start.tv_nsec) / 1e6;
}

void plat_small_icon_size(int dpi, int *width, int *height) {
    *width = *height = scale_to_dpi(16, dpi);
}

void plat_screen(int *width, int *maximised_height, int *mouse_buttons) {
    *width = 1024;
    *maximised_height = 740;
    *mouse_buttons = 3;
}
