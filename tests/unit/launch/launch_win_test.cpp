// The real input dialog, driven from a timer in its modal loop: closing, labels, dropped files.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/window.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"
#include "launch_cases.h"
#include "test_support.h"

namespace {

std::string g_script;  // the user's acts in the next dialog that opens, see act()
std::string g_seen;    // the label, then "|" edit field and count line at each note
std::vector<std::vector<std::string>> g_paths;  // what each digit of a drop stands for

void send(HWND target, UINT message, WPARAM wparam, bool ctrl) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = ctrl ? 0x80 : 0, SetKeyboardState(keys);
    SendMessageA(target, message, wparam, 0);
    keys[VK_CONTROL] = 0, SetKeyboardState(keys);
}
// One letter an act: E Enter, C Ctrl+Enter, X Escape, Q Ctrl+CANCEL, O OK, n a
// note; d drops on the dialog, w on the launcher window, the digits after it;
// p presses the left button, u lets it go, l loses the capture, m moves the
// pointer and notes "+" when the dialog followed it.
void act(HWND d) {
    char label[40] = "", edit[300], count[30];
    GetDlgItemTextA(d, 300, label, sizeof label);
    g_seen = label;
    for (size_t k = 0; k < g_script.size(); ++k) {
        const char a = g_script[k];
        if (a == 'E' || a == 'C' || a == 'X')
            send(GetDlgItem(d, 400), WM_KEYDOWN, a == 'X' ? VK_ESCAPE : VK_RETURN, a == 'C');
        if (a == 'Q' || a == 'O') send(d, WM_COMMAND, a == 'Q' ? 502 : 500, a == 'Q');
        if (a == 'n') {
            GetDlgItemTextA(d, 400, edit, sizeof edit),
                GetDlgItemTextA(d, 302, count, sizeof count);
            g_seen += "|" + std::string(edit) + count;
        }
        if (a == 'p' || a == 'u') SendMessageA(d, a == 'p' ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, 0);
        if (a == 'l') ReleaseCapture();
        if (a == 'm') {
            RECT before, after;
            POINT at;
            GetWindowRect(d, &before), GetCursorPos(&at), SetCursorPos(at.x + 40, at.y + 30);
            SendMessageA(d, WM_MOUSEMOVE, 0, 0), GetWindowRect(d, &after);
            g_seen += after.left == before.left + 40 && after.top == before.top + 30 ? "+" : "=";
        }
        if (a != 'd' && a != 'w') continue;
        std::vector<std::string> paths;
        while (k + 1 < g_script.size() && isdigit((unsigned char)g_script[k + 1]))
            for (const std::string &path : g_paths[g_script[++k] - '0']) paths.push_back(path);
        (a == 'd' ? SendMessageA : launcher_window_proc)(a == 'd' ? d : nullptr, WM_DROPFILES,
                                                         (WPARAM)make_file_drop(paths), 0);
    }
}
void CALLBACK act_once_open(HWND, UINT, UINT_PTR timer, DWORD) {
    if (g_input_dialog) KillTimer(nullptr, timer), act((HWND)g_input_dialog);
}
void user(const std::string &script) {
    g_script = script;
    SetTimer(nullptr, 0, 10, act_once_open);
}

}  // namespace

// The dialog cases of cases.txt.
TEST(InputDialog, ClosingKeysLabelsAndDrops) {
    reset_launcher_state();
    SetCursorPos(100, 100);  // the drags move the pointer; the screen's edge would stop them
    const std::string spaced = "C:\\a b\\x.txt";
    g_paths = {{spaced}, {"C:\\y"}, {"C:\\" + std::string(300, 'l')}, std::vector(101, spaced)};
    for (const Case &c : read_cases(kCases)) {
        if (c.head[0] != "dialog") continue;
        SCOPED_TRACE("cases.txt:" + std::to_string(c.line));
        g_launch.prompt_counter = c.number("counter", 1);
        g_launch.multi_file_mode = c.number("collect", 0) ? MultiFileUnquoted : MultiFileNone;
        g_launch.selected_count = 0;
        g_launch.input_label_set = !c.option("label").empty();
        text_copy(g_launch.input_label, c.option("label").c_str());
        text_copy(g_launch.input_default_text, "start");
        text_copy(g_launch.input_result, "-");
        user(c.input.substr(0, c.input.find('\n')));
        int code = show_input_dialog(nullptr);
        for (int k = 0; k < g_launch.selected_count; ++k)
            g_seen += "|" + std::string(g_launch.selected_paths[k]);
        EXPECT_EQ(
            (std::vector<std::string>{std::to_string(code) + " " + g_launch.input_result, g_seen}),
            c.expected);
    }
}
