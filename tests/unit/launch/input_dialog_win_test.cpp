// The real input dialog, driven from a timer inside its modal loop: labels,
// drops built in-process, and the ways to close it.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "definition/startup.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"
#include "test_support.h"

namespace {

std::function<void(HWND)> g_script;
std::string g_label, g_edit_text, g_count_line;

std::string item_text(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void send_drop(HWND target, const std::vector<std::string> &paths) {
    SendMessageA(target, WM_DROPFILES, (WPARAM)make_file_drop(paths), 0);
}

void CALLBACK drive_dialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = (HWND)g_input_dialog;
    if (!dialog) return;
    KillTimer(nullptr, timer);
    g_label = item_text(dialog, 300);
    g_script(dialog);
    g_edit_text = item_text(dialog, 400);
    g_count_line = item_text(dialog, 302);
}

// Opens the dialog in the given mode and lets script act as the user.
int open_dialog(int prompt_counter, int multi_file_mode, std::function<void(HWND)> script) {
    g_launch.prompt_counter = prompt_counter;
    g_launch.multi_file_mode = multi_file_mode;
    g_script = script;
    g_label = g_edit_text = g_count_line = "";
    SetTimer(nullptr, 0, 10, drive_dialog);
    int code = show_input_dialog(nullptr);
    g_launch.input_dialog_open = 0;
    return code;
}

// Sends message to target as if Ctrl were held (or not) at that moment.
void send_with_ctrl(HWND target, UINT message, WPARAM wparam, bool ctrl) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    SendMessageA(target, message, wparam, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

void press(HWND control, WPARAM key, bool ctrl) { send_with_ctrl(control, WM_KEYDOWN, key, ctrl); }
void command(HWND dialog, int id, bool ctrl) { send_with_ctrl(dialog, WM_COMMAND, id, ctrl); }

const std::string kHead = "[ \x83^\x83\x94\x83\x8a\x83N ]\x81@";

}  // namespace

TEST(InputDialog, ClosingKeysAndCodes) {
    reset_launcher_state();
    snprintf(g_launch.input_default_text, 260, "start");
    struct {
        std::function<void(HWND)> user;
        int code;
        std::string result;
    } cases[] = {
        {[](HWND d) { press(GetDlgItem(d, 400), VK_RETURN, false); }, 4, "start"},
        {[](HWND d) { press(GetDlgItem(d, 400), VK_RETURN, true); }, 1, "start"},
        {[](HWND d) { press(GetDlgItem(d, 400), VK_ESCAPE, false); }, 0, "-"},
        {[](HWND d) { SetDlgItemTextA(d, 400, "typed"), command(d, 500, false); }, 4, "typed"},
        {[](HWND d) { command(d, 502, true); }, 0, "-"},
    };
    for (const auto &c : cases) {
        snprintf(g_launch.input_result, 260, "-");
        EXPECT_EQ(open_dialog(1, 0, c.user), c.code);
        EXPECT_EQ(g_launch.input_result, c.result);
        EXPECT_EQ(g_label, kHead + "'%X'\x93\xfc\x97\xcd");
    }
    g_launch.input_label_set = 1;
    snprintf(g_launch.input_label, 32, "My label");
    open_dialog(1, 0, [](HWND d) { command(d, 502, false); });
    EXPECT_EQ(g_label, "My label");
}

TEST(InputDialog, DropsQuoteForOptionsAndCollectUpToHundred) {
    reset_launcher_state();
    const std::string spaced = "C:\\a b\\x.txt";
    open_dialog(0, 0, [&](HWND d) { send_drop(d, {spaced, "C:\\y"}), command(d, 500, false); });
    EXPECT_EQ(g_edit_text, "\"" + spaced + "\"");
    EXPECT_EQ(g_label, kHead + "\x83I\x83v\x83V\x83\x87\x83\x93");
    open_dialog(1, 0, [&](HWND d) { send_drop(d, {spaced}), command(d, 500, false); });
    EXPECT_EQ(g_launch.input_result, spaced);

    // A dropped path of 260 bytes or more fits no buffer whole: it is skipped.
    const std::string too_long = "C:\\" + std::string(300, 'l');
    open_dialog(0, 0, [&](HWND d) { send_drop(d, {too_long}), command(d, 500, false); });
    EXPECT_EQ(g_edit_text, "");
    g_launch.selected_count = 0;
    open_dialog(0, MultiFileUnquoted, [&](HWND d) {
        send_drop(d, {too_long, "C:\\g"}), command(d, 500, false);
    });
    EXPECT_EQ(g_count_line, "--- 1 data ---");
    EXPECT_STREQ(g_launch.selected_paths[0], "C:\\g");

    std::vector<std::string> sixty;
    for (int i = 0; i < 60; ++i) sixty.push_back("C:\\f" + std::to_string(i));
    g_launch.selected_count = 0;
    int code = open_dialog(0, MultiFileUnquoted, [&](HWND d) {
        send_drop(d, sixty);
        command(d, 502, true);  // Ctrl+CANCEL empties the list and stays open
        send_drop(d, sixty);
        send_drop(d, sixty);
        send_drop(d, sixty);  // a full list ignores further drops
        command(d, 500, false);
    });
    EXPECT_EQ(code, 4);
    EXPECT_EQ(g_label, kHead + "'%M'\x93\xfc\x97\xcd");
    EXPECT_EQ(g_count_line, "--- 100 data ---");
    ASSERT_EQ(g_launch.selected_count, 100);
    EXPECT_STREQ(g_launch.selected_paths[99], "C:\\f39");
}

// The dialog follows the pointer only while the left button is held in it.
TEST(InputDialog, DragEndsOnReleaseOnCaptureLossAndWithTheDialog) {
    reset_launcher_state();
    auto press = [](HWND d) { SendMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, 0); };
    const struct {
        const char *what;
        std::function<void(HWND)> before;
        bool follows;
    } cases[] = {
        {"held (and the dialog closed with it held)", press, true},
        {"the next dialog", [](HWND) {}, false},
        {"released", [&](HWND d) { press(d), SendMessageA(d, WM_LBUTTONUP, 0, 0); }, false},
        {"capture lost", [&](HWND d) { press(d), ReleaseCapture(); }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        bool followed = false;
        SetCursorPos(200, 200);
        open_dialog(1, 0, [&](HWND d) {
            RECT before, after;
            GetWindowRect(d, &before);
            c.before(d);
            SetCursorPos(240, 230);
            SendMessageA(d, WM_MOUSEMOVE, 0, 0);
            GetWindowRect(d, &after);
            followed = after.left == before.left + 40 && after.top == before.top + 30;
            command(d, 502, false);
        });
        EXPECT_EQ(followed, c.follows);
    }
}
