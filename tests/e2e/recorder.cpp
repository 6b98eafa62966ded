// Stand-in program for the end-to-end tests: every start appends one line to
// record.log beside the executable and the program exits at once.
//
//   exe=<own file name>\tms=<milliseconds since 1601, UTC>\tcwd=<current folder>\tcmd=<raw command line>\r\n
//
// The command line comes last and is taken as it is, so the tests can check
// its exact quoting. Several copies may start at nearly the same moment: the
// log is opened with sharing, retried while another copy holds it, and each
// line is written under a lock at the file's current end.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// The folder of this executable with its trailing backslash, and its file name.
void own_location(char *folder, size_t folder_size, char *name, size_t name_size) {
    char path[MAX_PATH * 2] = "";
    DWORD n = GetModuleFileNameA(nullptr, path, (DWORD)sizeof path);
    if (n == 0 || n >= sizeof path) path[0] = 0;
    char *slash = strrchr(path, '\\');
    snprintf(name, name_size, "%s", slash ? slash + 1 : path);
    if (slash) slash[1] = 0;
    snprintf(folder, folder_size, "%s", slash ? path : "");
}

HANDLE open_log(const char *path) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE file = CreateFileA(path, FILE_APPEND_DATA | GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) break;
        Sleep(10);
    }
    return INVALID_HANDLE_VALUE;
}

void append_line(HANDLE file, const char *line, DWORD length) {
    OVERLAPPED whole = {};
    whole.Offset = 0xffffffffu;  // a lock byte far past any real log end
    whole.OffsetHigh = 0x7fffffffu;
    bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole) != 0;
    LARGE_INTEGER end = {};
    SetFilePointerEx(file, end, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, line, length, &written, nullptr);
    if (locked) UnlockFileEx(file, 0, 1, 0, &whole);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long ms =
        ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) / 10000ull;

    char folder[MAX_PATH * 2];
    char name[MAX_PATH];
    own_location(folder, sizeof folder, name, sizeof name);
    char cwd[MAX_PATH * 2] = "";
    DWORD n = GetCurrentDirectoryA((DWORD)sizeof cwd, cwd);
    if (n == 0 || n >= sizeof cwd) cwd[0] = 0;

    static char line[40000];
    int length = snprintf(line, sizeof line, "exe=%s\tms=%llu\tcwd=%s\tcmd=%s\r\n", name, ms, cwd,
                          GetCommandLineA());
    if (length < 0) return 1;
    if ((size_t)length >= sizeof line) length = (int)sizeof line - 1;

    char log_path[MAX_PATH * 2 + 16];
    snprintf(log_path, sizeof log_path, "%srecord.log", folder);
    HANDLE file = open_log(log_path);
    if (file == INVALID_HANDLE_VALUE) return 2;
    append_line(file, line, (DWORD)length);
    CloseHandle(file);
    return 0;
}
