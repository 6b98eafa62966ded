// Puts files or text on the clipboard for the end-to-end tests, as copying
// in the shell or in an editor would:
//   tavrik_clipboard files PATH...    a file list (CF_HDROP)
//   tavrik_clipboard text TEXT        text (CF_TEXT)
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 2;
    std::string kind = __argv[1];
    HGLOBAL memory = nullptr;
    UINT format = 0;
    if (kind == "files") {
        std::string list;
        for (int i = 2; i < __argc; ++i) list += std::string(__argv[i]) + '\0';
        list += '\0';
        memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
        auto *drop = (DROPFILES *)GlobalLock(memory);
        drop->pFiles = sizeof(DROPFILES);
        memcpy((char *)drop + sizeof(DROPFILES), list.data(), list.size());
        GlobalUnlock(memory);
        format = CF_HDROP;
    } else if (kind == "text") {
        size_t size = strlen(__argv[2]) + 1;
        memory = GlobalAlloc(GHND, size);
        memcpy(GlobalLock(memory), __argv[2], size);
        GlobalUnlock(memory);
        format = CF_TEXT;
    } else {
        return 2;
    }
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    EmptyClipboard();
    int ok = SetClipboardData(format, memory) != nullptr;
    CloseClipboard();
    return ok ? 0 : 1;
}
