// What other programs do, for the end-to-end tests, inside Wine: "files PATH..." puts a file
// list on the clipboard as the shell copies files, "hold-clipboard PATH..." then keeps it open,
// "hold-file PATH" keeps a file open without sharing, "dialog-text" prints each visible dialog's
// texts. A holder prints "ready" and lets go when its input ends, so it never outlives its test.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

BOOL CALLBACK print_text(HWND window, LPARAM separator) {
    char text[260] = "";
    GetWindowTextA(window, text, sizeof text);
    for (char *c = text; *c; ++c)
        if (*c == '\r' || *c == '\n') *c = ' ';  // one line per dialog
    printf("%s%s", separator ? " | " : "", text);
    return TRUE;
}

BOOL CALLBACK print_dialog(HWND window, LPARAM) {
    char name[32];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) &&
        strcmp(name, "#32770") == 0) {
        print_text(window, 0);
        EnumChildWindows(window, print_text, 1);
        printf("\n");
    }
    return TRUE;
}

bool open_clipboard() {
    for (int attempt = 0; attempt < 50; ++attempt, Sleep(20))
        if (OpenClipboard(nullptr)) return true;
    return false;
}

void hold() {
    printf("ready\n");
    fflush(stdout);
    while (getchar() != EOF) {
    }
}

}  // namespace

int main(int argc, char **argv) {
    std::string kind = argc > 1 ? argv[1] : "";
    if (kind == "dialog-text") return EnumWindows(print_dialog, 0) ? 0 : 1;
    if (kind == "hold-file" && argc == 3) {
        HANDLE held = CreateFileA(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        if (held == INVALID_HANDLE_VALUE) return 1;
        hold();
        return CloseHandle(held) ? 0 : 1;
    }
    if ((kind != "files" && kind != "hold-clipboard") || argc < 3) return 2;
    void *memory = make_file_drop(std::vector<std::string>(argv + 2, argv + argc));
    if (!open_clipboard()) return 1;
    EmptyClipboard();
    bool ok = SetClipboardData(CF_HDROP, memory) != nullptr;
    CloseClipboard();
    if (ok && kind == "hold-clipboard") {
        if (!open_clipboard()) return 1;
        hold();
        CloseClipboard();
    }
    return ok ? 0 : 1;
}
