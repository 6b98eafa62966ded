// Holds a file open without sharing, as another program that has it in use
// would, for the tests of files the launcher cannot read or write:
//   tavrik_holdfile PATH READY STOP
// Opens PATH (which must exist) with share mode 0, then creates the file
// READY and keeps PATH open until the file STOP appears, it is killed, or
// two minutes have passed. Exit code 0, or 1 when PATH cannot be opened.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 4) return 2;
    HANDLE held = CreateFileA(__argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 1;
    HANDLE ready = CreateFileA(__argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    for (int waited = 0; waited < 120000; waited += 50) {
        if (GetFileAttributesA(__argv[3]) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(50);
    }
    CloseHandle(held);
    return 0;
}
