// The platform seam answered with the Win32 API.
#include <windows.h>
#include <shlobj.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/lazy_win.h"
#include "core/dpi_win.h"
#include "core/platform.h"

int plat_is_lead_byte(unsigned char c) { return IsDBCSLeadByte(c) ? 1 : 0; }

// The string helpers of the shell's light-weight library, answered from
// kernel32 and user32 alone: that library and the one it needs cost a start
// several milliseconds to load. The same comparison (the thread's locale,
// letter case ignored) at the same places (each character's first byte).
int plat_starts_ci(const char *text, const char *prefix, int n) {
    if (n <= 0) return 1;
    int text_length = (int)strnlen(text, (size_t)n);
    int prefix_length = (int)strnlen(prefix, (size_t)n);
    return CompareStringA(GetThreadLocale(), NORM_IGNORECASE, text, text_length, prefix,
                          prefix_length) == CSTR_EQUAL;
}

const char *plat_find_ci(const char *hay, const char *needle) {
    int length = (int)strlen(needle);
    if (length == 0) return nullptr;  // an empty text is found nowhere
    for (const char *p = hay; *p; p = CharNextA(p))
        if (plat_starts_ci(p, needle, length)) return p;
    return nullptr;
}

int plat_collate_ci(const char *a, const char *b) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) - CSTR_EQUAL;
}

int plat_ansi_is_japanese() { return GetACP() == 932; }

int plat_ui_is_japanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

size_t plat_from_utf16(const uint16_t *units, size_t count, char *out, size_t out_size, int *lost) {
    if (count == 0) return 0;
    // Windows refuses the default character and the exact-mapping flag for
    // a UTF-8 code page, which holds every character anyway.
    bool utf8 = GetACP() == CP_UTF8;
    BOOL used_default = FALSE;
    int room = out_size > INT_MAX ? INT_MAX : (int)out_size;
    int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, (LPCWCH)units, (int)count,
                                out, room, utf8 ? nullptr : "\x1a", utf8 ? nullptr : &used_default);
    if (used_default) *lost = 1;
    return n > 0 ? (size_t)n : 0;
}

namespace {

// The attributes of path, without the system's "insert a disk" box for an
// empty drive.
DWORD attributes_of(const char *path) {
    UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD attributes = GetFileAttributesA(path);
    SetErrorMode(mode);
    return attributes;
}

}  // namespace

int plat_exists(const char *path) { return attributes_of(path) != INVALID_FILE_ATTRIBUTES; }

int plat_is_directory(const char *path) {
    DWORD attributes = attributes_of(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int plat_full_path(const char *name, char *out, size_t out_size) {
    DWORD n = GetFullPathNameA(name, (DWORD)out_size, out, nullptr);
    return n > 0 && n < out_size;
}

int plat_canonicalize(const char *path, char *out, size_t out_size) {
    // PathCanonicalizeA writes up to MAX_PATH bytes.
    size_t length = strlen(path);
    if (length >= MAX_PATH) return 0;
    // It only takes out "." and ".." parts: a path without a part that
    // starts with a dot (a full path as the resolution gives it) stays as it
    // is, and its library is loaded only for the others.
    bool has_dot_part = path[0] == '.' || strstr(path, "\\.") || strchr(path, '/') || length == 0 ||
                        path[length - 1] == '.' || path[length - 1] == ' ';
    char result[MAX_PATH];
    if (!has_dot_part)
        text_copy(result, path);
    else if (!lazy::PathCanonicalizeA(result, path))
        return 0;
    return text_copy(out, out_size, result) == strlen(result);
}

int plat_search_path(const char *folders, const char *name, char *out, size_t out_size) {
    if (!name[0]) return 0;
    char found[MAX_PATH];
    DWORD n = SearchPathA(folders, name, nullptr, MAX_PATH, found, nullptr);
    if (n == 0 || n >= MAX_PATH || n >= out_size) return 0;
    text_copy(out, out_size, found);
    return 1;
}

int plat_read_file(const char *path, int create, char **data, size_t *size, SysTime *written) {
    *data = nullptr;
    *size = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                              create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER length;
    FILETIME write_time;
    SYSTEMTIME st;
    int ok = GetFileSizeEx(file, &length) && length.QuadPart < 0x7fffffff;
    if (ok && written) {
        memset(written, 0, sizeof *written);
        if (GetFileTime(file, nullptr, nullptr, &write_time) &&
            FileTimeToSystemTime(&write_time, &st))
            memcpy(written, &st, sizeof *written);
    }
    char *buffer = ok ? (char *)calloc((size_t)length.QuadPart + 1, 1) : nullptr;
    DWORD got = 0;
    ok = buffer &&
         (length.QuadPart == 0 || (ReadFile(file, buffer, (DWORD)length.QuadPart, &got, nullptr) &&
                                   got == (DWORD)length.QuadPart));
    CloseHandle(file);
    if (!ok) {
        free(buffer);
        return 0;
    }
    *data = buffer;
    *size = (size_t)length.QuadPart;
    return 1;
}

void plat_free_file(char *data) { free(data); }

static void fill_entry(const WIN32_FIND_DATAA &found, PlatFindEntry *entry) {
    text_copy(entry->name, found.cFileName);
    entry->is_directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

void *plat_find_first(const char *pattern, PlatFindEntry *entry) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return nullptr;
    fill_entry(found, entry);
    return search;
}

int plat_find_next(void *search, PlatFindEntry *entry) {
    WIN32_FIND_DATAA found;
    if (!FindNextFileA((HANDLE)search, &found)) return 0;
    fill_entry(found, entry);
    return 1;
}

void plat_find_close(void *search) { FindClose((HANDLE)search); }

namespace {

// How a listed name stands to plain ASCII names: 1 it is one, 0 none can
// ever equal it (a character that stays beyond ASCII in upper case), -1 one
// might (every other character folds onto ASCII: ask the file system).
int ascii_match(const wchar_t *name) {
    static auto upcase = (WCHAR(WINAPI *)(WCHAR))(void *)GetProcAddress(
        GetModuleHandleA("ntdll.dll"), "RtlUpcaseUnicodeChar");
    int ascii = 1;
    for (const wchar_t *p = name; *p; ++p) {
        if (*p < 0x80) continue;
        if (upcase && upcase(*p) >= 0x80) return 0;
        ascii = 0;
    }
    return ascii ? 1 : -1;
}

}  // namespace

int plat_list_folder(const char *prefix,
                     void (*take)(const char *name, int is_directory, void *context),
                     void *context) {
    // The folder is named as the A calls name it: converted from the ANSI
    // code page. The entries are read in UTF-16, where nothing is lost.
    char pattern[MAX_PATH];
    wchar_t wide[MAX_PATH];
    if (text_format(pattern, sizeof pattern, "%s*", prefix) != strlen(prefix) + 1 ||
        !MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pattern, -1, wide, MAX_PATH))
        return -1;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(wide, FindExInfoStandard, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
    }
    int sure = 1;
    do {
        const wchar_t *names[] = {found.cFileName, found.cAlternateFileName};
        for (const wchar_t *name : names) {
            int match = name[0] ? ascii_match(name) : 0;
            if (match < 0) sure = 0;
            if (match <= 0) continue;
            char ascii[MAX_PATH];
            size_t n = 0;
            for (; name[n] && n + 1 < sizeof ascii; ++n) ascii[n] = (char)name[n];
            ascii[n] = 0;
            take(ascii, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, context);
        }
    } while (FindNextFileW(search, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) sure = 0;  // a listing cut short
    FindClose(search);
    return sure ? 1 : -1;
}

int plat_default_search_order(char *out, size_t out_size) {
    // The system's own answer, the one its SearchPath reads; where ntdll
    // does not give it, every name is searched for as before.
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto get = (LONG(WINAPI *)(PWSTR *))(void *)GetProcAddress(ntdll, "RtlGetSearchPath");
    auto release = (void(WINAPI *)(PWSTR))(void *)GetProcAddress(ntdll, "RtlReleasePath");
    PWSTR order = nullptr;
    if (!get || !release || get(&order) != 0 || !order || out_size == 0) return 0;
    int lost = 0;
    size_t n = plat_from_utf16((const uint16_t *)order, wcslen(order), out, out_size - 1, &lost);
    release(order);
    out[n] = 0;
    return n > 0 && !lost;
}

int plat_special_folder(int csidl, char *out) {
    out[0] = 0;
    // The window is reserved.
    return lazy::SHGetSpecialFolderPathA(nullptr, out, csidl, FALSE) ? 1 : 0;
}

int plat_environment(const char *name, char *out, size_t out_size) {
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetEnvironmentVariableA(name, out, (DWORD)out_size);
    if (n == 0) out[0] = 0;
    return n < out_size && (n > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND);
}

int plat_app_path(int machine, const char *exe_name, char *out, size_t out_size) {
    char key[kPathSize];
    if (text_format(key, sizeof key, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\%s",
                    exe_name) >= sizeof key - 1)
        return 0;
    // The 64-bit view, as the shell of 64-bit Windows reads it, also from a
    // 32-bit build; 32-bit Windows ignores the flag.
    HKEY opened;
    if (RegOpenKeyExA(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key, 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
        return 0;
    DWORD size = (DWORD)out_size;
    LSTATUS status =
        RegGetValueA(opened, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, out, &size);  // expanded
    RegCloseKey(opened);
    return status == ERROR_SUCCESS && out[0];
}

void plat_local_time(SysTime *now) {
    SYSTEMTIME st;
    GetLocalTime(&st);
    memcpy(now, &st, sizeof *now);
}

double plat_ms_since_start() {
    // The creation time and the clock that Windows 8 made precise; Windows
    // 7 has only the coarser one.
    static ULONGLONG created;
    static void(WINAPI * precise)(FILETIME *);
    auto count = [](const FILETIME &t) {
        return ((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime;
    };
    if (!created) {
        FILETIME creation, exit, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
        created = count(creation);
        precise = (void(WINAPI *)(FILETIME *))(void *)GetProcAddress(
            GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime");
    }
    FILETIME now;
    (precise ? precise : GetSystemTimeAsFileTime)(&now);
    return (double)(LONGLONG)(count(now) - created) / 1e4;  // 100-ns units
}

void plat_small_icon_size(int dpi, int *width, int *height) {
    small_icon_size_at(dpi, width, height);
}

void plat_screen(int *width, int *maximised_height, int *mouse_buttons) {
    *width = GetSystemMetrics(SM_CXSCREEN);
    *maximised_height = GetSystemMetrics(SM_CYMAXIMIZED);
    *mouse_buttons = GetSystemMetrics(SM_CMOUSEBUTTONS);
}
