// Prints what the visible dialog windows show, for the end-to-end tests:
//   tavrik_dialog_text ID     one line per visible dialog that has control ID:
//                             that control's text
//   tavrik_dialog_text all    one line per visible dialog: its caption and the
//                             texts of its controls (line ends as blanks),
//                             separated by " | "
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int g_control_id;  // 0: every control

BOOL CALLBACK print_child(HWND control, LPARAM) {
    char text[260] = "";
    GetWindowTextA(control, text, sizeof text);
    for (char *c = text; *c; ++c)
        if (*c == '\r' || *c == '\n') *c = ' ';  // one line per dialog
    printf(" | %s", text);
    return TRUE;
}

BOOL CALLBACK print_control(HWND window, LPARAM) {
    char name[32];
    if (!IsWindowVisible(window) || !GetClassNameA(window, name, sizeof name)) return TRUE;
    if (lstrcmpA(name, "#32770") != 0) return TRUE;
    char text[260] = "";
    if (!g_control_id) {
        GetWindowTextA(window, text, sizeof text);
        printf("%s", text);
        EnumChildWindows(window, print_child, 0);
        printf("\n");
        return TRUE;
    }
    HWND control = GetDlgItem(window, g_control_id);
    if (!control) return TRUE;
    GetWindowTextA(control, text, sizeof text);
    printf("%s\n", text);
    return TRUE;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) return 2;
    g_control_id = strcmp(argv[1], "all") == 0 ? 0 : atoi(argv[1]);
    EnumWindows(print_control, 0);
    fflush(stdout);
    return 0;
}
