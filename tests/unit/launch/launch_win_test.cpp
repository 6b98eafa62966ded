// The real input dialog, driven from a timer in its modal loop: closing, labels, dropped files.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/window.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"
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

const std::string kHead = "[ \x83^\x83\x94\x83\x8a\x83N ]\x81@", kSpaced = "C:\\a b\\x.txt";

}  // namespace

// The option prompt quotes a dropped path with spaces, the value prompt does not, a drop on the
// launcher window always does; a path that fits no buffer is skipped. For "%M" the dialog collects
// files: a full list takes no more, Ctrl+CANCEL empties it, a second drop adds to it.
TEST(InputDialog, ClosingKeysLabelsAndDrops) {
    reset_launcher_state();
    g_paths = {{kSpaced}, {"C:\\y"}, {"C:\\" + std::string(300, 'l')}, std::vector(101, kSpaced)};
    const std::string value = kHead + "'%X'\x93\xfc\x97\xcd", quoted = "\"" + kSpaced + "\"";
    // prompt counter (M: collecting) ~ label ~ acts ~ end code ~ result ~ what was seen, collected
    for (const std::string &row : std::vector<std::string>{
             "1 ~  ~ E ~ 4 ~ start ~ " + value, "1 ~  ~ C ~ 1 ~ start ~ " + value,
             "1 ~ My label ~ X ~ 0 ~ - ~ My label", "1 ~  ~ Q ~ 0 ~ - ~ " + value,
             // a drag follows the held button only, never into the next dialog
             "1 ~ L ~ pmX ~ 0 ~ - ~ L+",
             "1 ~ L ~ mX ~ 0 ~ - ~ L=", "1 ~ L ~ pumX ~ 0 ~ - ~ L=", "1 ~ L ~ plmX ~ 0 ~ - ~ L=",
             "0 ~  ~ d01nd2nO ~ 4 ~ " + quoted + " ~ " + kHead +
                 "\x83I\x83v\x83V\x83\x87\x83\x93|" + quoted + "|" + quoted,
             "1 ~  ~ d0nw0nw2nO ~ 4 ~ " + quoted + " ~ " + value + "|" + kSpaced + "|" + quoted +
                 "|" + quoted,
             "0M ~  ~ d3nQnd2d1d0nO ~ 4 ~ - ~ " + kHead + "'%M'\x93\xfc\x97\xcd|--- 100 data ---" +
                 "|--- 0 data ---|--- 2 data ---|C:\\y|" + kSpaced}) {
        std::vector<std::string> c = fields(row);
        g_launch.prompt_counter = std::stoi(c[0]);
        g_launch.multi_file_mode = c[0].back() == 'M' ? MultiFileUnquoted : MultiFileNone;
        g_launch.selected_count = 0;
        g_launch.input_label_set = !c[1].empty();
        text_copy(g_launch.input_label, c[1].c_str());
        text_copy(g_launch.input_default_text, "start");
        text_copy(g_launch.input_result, "-");
        user(c[2]);
        EXPECT_EQ(show_input_dialog(nullptr), std::stoi(c[3])) << row;
        for (int k = 0; k < g_launch.selected_count; ++k)
            g_seen += "|" + std::string(g_launch.selected_paths[k]);
        EXPECT_EQ(g_launch.input_result, c[4]);
        EXPECT_EQ(g_seen, c[5]);
    }
}
