// Stand-in for the programs the menu launches, in the end-to-end tests: every start writes
// "exe=NAME\tms=MS SINCE 1601\tcwd=FOLDER\tcmd=RAW COMMAND LINE\r\n" to a log beside it,
// record-MS-PROCESS.log: copies starting at nearly the same moment never share one.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long ms =
        ((unsigned long long)now.dwHighDateTime << 32 | now.dwLowDateTime) / 10000;
    char path[MAX_PATH * 2] = "", cwd[MAX_PATH * 2] = "";
    GetModuleFileNameA(nullptr, path, (DWORD)sizeof path - 64);  // room for the log's name
    GetCurrentDirectoryA((DWORD)sizeof cwd, cwd);
    char *slash = strrchr(path, '\\');
    if (!slash) return 2;
    static char line[40000];
    int length = snprintf(line, sizeof line, "exe=%s\tms=%llu\tcwd=%s\tcmd=%s\r\n", slash + 1, ms,
                          cwd, GetCommandLineA());
    if (length < 0 || length >= (int)sizeof line) return 1;
    snprintf(slash + 1, path + sizeof path - (slash + 1), "record-%llu-%lu.log", ms,
             GetCurrentProcessId());
    HANDLE log =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    BOOL ok = WriteFile(log, line, (DWORD)length, &written, nullptr);
    return CloseHandle(log) && ok ? 0 : 1;
}
