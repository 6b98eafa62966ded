// What other programs do, for the end-to-end tests, inside Wine:
//   helper files PATH...                     a file list on the clipboard, as the shell copies
//   helper text TEXT                         text on the clipboard
//   helper hold-clipboard READY STOP PATH... the file list, then the clipboard kept open
//   helper hold-file READY STOP PATH         a file kept open without sharing
//   helper dialog-text                       each visible dialog's caption and control texts
// A holder creates READY once it holds and lets go when STOP appears (or
// after two minutes). Exit code 0, 1 when it could not do it, 2 on bad use.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

BOOL CALLBACK print_text(HWND window, LPARAM separator) {
    char text[260] = "";
    GetWindowTextA(window, text, sizeof text);
    for (char *c = text; *c; ++c)
        if (*c == '\r' || *c == '\n') *c = ' ';  // one line per dialog
    printf("%s%s", separator ? " | " : "", text);
    return TRUE;
}

// A visible dialog's caption and the texts of its controls, " | " between them.
BOOL CALLBACK print_dialog(HWND window, LPARAM) {
    char name[32];
    if (!IsWindowVisible(window) || !GetClassNameA(window, name, sizeof name) ||
        strcmp(name, "#32770") != 0)
        return TRUE;
    print_text(window, 0);
    EnumChildWindows(window, print_text, 1);
    printf("\n");
    return TRUE;
}

HGLOBAL memory_of(const void *data, size_t size, size_t offset = 0) {
    HGLOBAL memory = GlobalAlloc(GHND, offset + size);
    memcpy((char *)GlobalLock(memory) + offset, data, size);
    GlobalUnlock(memory);
    return memory;
}

int open_clipboard() {
    for (int attempt = 0; attempt < 50; ++attempt, Sleep(20))
        if (OpenClipboard(nullptr)) return 1;
    return 0;
}

void hold_until(const char *ready, const char *stop) {
    CloseHandle(CreateFileA(ready, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    for (int waited = 0; waited < 120000 && GetFileAttributesA(stop) == INVALID_FILE_ATTRIBUTES;
         waited += 50)
        Sleep(50);
}

}  // namespace

int main(int argc, char **argv) {
    std::string kind = argc > 1 ? argv[1] : "";
    if (kind == "dialog-text") return EnumWindows(print_dialog, 0) ? 0 : 1;
    if (kind == "hold-file" && argc == 5) {
        HANDLE held = CreateFileA(argv[4], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        if (held == INVALID_HANDLE_VALUE) return 1;
        hold_until(argv[2], argv[3]);
        CloseHandle(held);
        return 0;
    }
    bool holding = kind == "hold-clipboard" && argc > 4;
    HGLOBAL memory;
    UINT format = CF_HDROP;
    if (kind == "files" || holding) {
        std::string list;
        for (int i = holding ? 4 : 2; i < argc; ++i) list += std::string(argv[i]) + '\0';
        DROPFILES head = {sizeof(DROPFILES), {0, 0}, FALSE, FALSE};
        memory = memory_of(list.c_str(), list.size() + 1, sizeof head);
        memcpy(GlobalLock(memory), &head, sizeof head);
        GlobalUnlock(memory);
    } else if (kind == "text") {
        memory = memory_of(argv[2], strlen(argv[2]) + 1);
        format = CF_TEXT;
    } else {
        return 2;
    }
    if (!open_clipboard()) return 1;
    EmptyClipboard();
    int ok = SetClipboardData(format, memory) != nullptr;
    CloseClipboard();
    if (ok && holding) {
        if (!open_clipboard()) return 1;
        hold_until(argv[2], argv[3]);
        CloseClipboard();
    }
    return ok ? 0 : 1;
}
