// Prints the text of one control of the visible dialog windows, for the
// end-to-end tests to read what a dialog shows:
//   tavrik_dialog_text ID     one line per visible dialog that has control ID
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

int g_control_id;

BOOL CALLBACK print_control(HWND window, LPARAM) {
    char name[32];
    if (!IsWindowVisible(window) || !GetClassNameA(window, name, sizeof name)) return TRUE;
    if (lstrcmpA(name, "#32770") != 0) return TRUE;
    HWND control = GetDlgItem(window, g_control_id);
    if (!control) return TRUE;
    char text[260] = "";
    GetWindowTextA(control, text, sizeof text);
    printf("%s\n", text);
    return TRUE;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) return 2;
    g_control_id = atoi(argv[1]);
    EnumWindows(print_control, 0);
    fflush(stdout);
    return 0;
}
