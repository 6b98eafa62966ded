// Puts files or text on the clipboard for the end-to-end tests, as copying
// in the shell or in an editor would:
//   tavrik_clipboard files PATH...    a file list (CF_HDROP)
//   tavrik_clipboard text TEXT        text (CF_TEXT)
//   tavrik_clipboard hold READY STOP PATH...
//                                     a file list, then keeps the clipboard
//                                     open, as a program busy with it would:
//                                     creates READY once it holds it, lets go
//                                     when STOP appears (or after two minutes)
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 2;
    std::string kind = __argv[1];
    int first = 2;  // the first path or the text
    const char *ready = nullptr, *stop = nullptr;
    if (kind == "hold") {
        if (__argc < 5) return 2;
        ready = __argv[2];
        stop = __argv[3];
        first = 4;
        kind = "files";
    }
    HGLOBAL memory = nullptr;
    UINT format = 0;
    if (kind == "files") {
        std::string list;
        for (int i = first; i < __argc; ++i) list += std::string(__argv[i]) + '\0';
        list += '\0';
        memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
        auto *drop = (DROPFILES *)GlobalLock(memory);
        drop->pFiles = sizeof(DROPFILES);
        memcpy((char *)drop + sizeof(DROPFILES), list.data(), list.size());
        GlobalUnlock(memory);
        format = CF_HDROP;
    } else if (kind == "text") {
        size_t size = strlen(__argv[first]) + 1;
        memory = GlobalAlloc(GHND, size);
        memcpy(GlobalLock(memory), __argv[first], size);
        GlobalUnlock(memory);
        format = CF_TEXT;
    } else {
        return 2;
    }
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    EmptyClipboard();
    int ok = SetClipboardData(format, memory) != nullptr;
    CloseClipboard();
    if (ok && ready) {
        int holding = 0;
        for (int attempt = 0; attempt < 50 && !(holding = OpenClipboard(nullptr)); ++attempt)
            Sleep(20);
        if (!holding) return 1;
        HANDLE signal = CreateFileA(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (signal != INVALID_HANDLE_VALUE) CloseHandle(signal);
        for (int waited = 0; waited < 120000; waited += 50) {
            if (GetFileAttributesA(stop) != INVALID_FILE_ATTRIBUTES) break;
            Sleep(50);
        }
        CloseClipboard();
    }
    return ok ? 0 : 1;
}
