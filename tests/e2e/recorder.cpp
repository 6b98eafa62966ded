// Stand-in for the programs the menu launches, in the end-to-end tests: every
// start appends one line to record.log beside the executable and exits at once:
//
//   exe=<own file name>\tms=<milliseconds since 1601, UTC>\tcwd=<current folder>\tcmd=<raw command line>\r\n
//
// The command line comes last and as it is, so the tests can check its exact
// quoting. Copies may start at nearly the same moment: all share the log, and
// each line is written under a lock at the log's end.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char path[MAX_PATH * 2] = "";
    char cwd[MAX_PATH * 2] = "";
    GetModuleFileNameA(nullptr, path, (DWORD)sizeof path - 16);  // room for the log's name
    GetCurrentDirectoryA((DWORD)sizeof cwd, cwd);
    char *slash = strrchr(path, '\\');
    if (!slash) return 2;
    static char line[40000];
    int length = snprintf(line, sizeof line, "exe=%s\tms=%llu\tcwd=%s\tcmd=%s\r\n", slash + 1,
                          ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) / 10000,
                          cwd, GetCommandLineA());
    if (length < 0) return 1;
    snprintf(slash + 1, path + sizeof path - (slash + 1), "record.log");
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA | GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 2;
    OVERLAPPED far_byte = {};  // a lock byte far past any real log's end
    far_byte.Offset = 0xffffffffu;
    far_byte.OffsetHigh = 0x7fffffffu;
    bool locked = LockFileEx(log, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &far_byte) != 0;
    LARGE_INTEGER end = {};
    SetFilePointerEx(log, end, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(log, line, (DWORD)(length < (int)sizeof line ? length : (int)sizeof line - 1), &written,
              nullptr);
    if (locked) UnlockFileEx(log, 0, 1, 0, &far_byte);
    CloseHandle(log);
    return 0;
}
