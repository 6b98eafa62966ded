// The real input dialog, driven from a timer inside its modal loop: how it
// closes, its labels, and the files dropped on it or on the launcher window.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "app/window.h"
#include "launch_recorder.h"
#include "test_support.h"

namespace {

// Controls: 300 the label, 302 the count line, 400 the edit field, 500 OK, 502 CANCEL.
std::function<void(HWND)> g_user;
std::string g_seen;  // the label, then the edit field and count line at each note

void note(HWND d) {
    char edit[300] = "", count[30] = "";
    GetDlgItemTextA(d, 400, edit, sizeof edit), GetDlgItemTextA(d, 302, count, sizeof count);
    g_seen += std::string("|") + edit + count;
}
// The user acts in the next dialog that opens.
void user(std::function<void(HWND)> script) {
    g_user = script;
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
        if (!g_input_dialog) return;
        KillTimer(nullptr, timer);
        char label[40] = "";
        GetDlgItemTextA((HWND)g_input_dialog, 300, label, sizeof label);
        g_seen = label, g_user((HWND)g_input_dialog);
    });
}
void send(HWND target, UINT message, WPARAM wparam, bool ctrl = false) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = ctrl ? 0x80 : 0, SetKeyboardState(keys);
    SendMessageA(target, message, wparam, 0);
    keys[VK_CONTROL] = 0, SetKeyboardState(keys);
}
// Drops paths on the dialog d, or with no dialog on the launcher window.
void drop(HWND d, const std::vector<std::string> &paths) {
    (d ? SendMessageA : launcher_window_proc)(d, WM_DROPFILES, (WPARAM)make_file_drop(paths), 0);
}

const std::string kHead = "[ \x83^\x83\x94\x83\x8a\x83N ]\x81@",
                  kValue = kHead + "'%X'\x93\xfc\x97\xcd";
const std::string kSpaced = "C:\\a b\\x.txt", kTooLong = "C:\\" + std::string(300, 'l');

}  // namespace

TEST(InputDialog, ClosingKeysLabelsAndDrops) {
    reset_launcher_state();
    const struct {
        int prompt_counter;
        const char *label;
        std::function<void(HWND)> script;
        int code;
        std::string result, seen;
    } cases[] = {
        {1, nullptr, [](HWND d) { send(GetDlgItem(d, 400), WM_KEYDOWN, VK_RETURN); }, 4, "start",
         kValue},
        {1, nullptr, [](HWND d) { send(GetDlgItem(d, 400), WM_KEYDOWN, VK_RETURN, 1); }, 1, "start",
         kValue},
        {1, "My label", [](HWND d) { send(GetDlgItem(d, 400), WM_KEYDOWN, VK_ESCAPE); }, 0, "-",
         "My label"},
        {1, nullptr, [](HWND d) { send(d, WM_COMMAND, 502, true); }, 0, "-", kValue},
        // The option prompt quotes a dropped path with spaces, the value prompt
        // does not, a drop on the launcher window always does; a path that
        // fits no buffer is skipped.
        {0, nullptr,
         [](HWND d) {
             drop(d, {kSpaced, "C:\\y"}), note(d), drop(d, {kTooLong}), note(d);
             send(d, WM_COMMAND, 500);
         },
         4, "\"" + kSpaced + "\"",
         kHead + "\x83I\x83v\x83V\x83\x87\x83\x93|\"" + kSpaced + "\"|\"" + kSpaced + "\""},
        {1, nullptr,
         [](HWND d) {
             drop(d, {kSpaced}), note(d), drop(nullptr, {kSpaced}), note(d);
             drop(nullptr, {kTooLong}), note(d), send(d, WM_COMMAND, 500);
         },
         4, "\"" + kSpaced + "\"",
         kValue + "|" + kSpaced + "|\"" + kSpaced + "\"|\"" + kSpaced + "\""},
    };
    for (const auto &c : cases) {
        g_launch.prompt_counter = c.prompt_counter;
        g_launch.input_label_set = c.label != nullptr;
        text_copy(g_launch.input_label, c.label ? c.label : "");
        text_copy(g_launch.input_default_text, "start");
        text_copy(g_launch.input_result, "-");
        user(c.script);
        EXPECT_EQ(show_input_dialog(nullptr), c.code);
        EXPECT_EQ(g_launch.input_result, c.result);
        EXPECT_EQ(g_seen, c.seen);
    }
}

// The files for "%M": a full list takes no more, Ctrl+CANCEL empties it, a
// second drop adds to it, folders get their backslash in the command line.
TEST(InputDialog, CollectionForAMultiFileLaunch) {
    ScratchFolder dir;
    reset_launcher_state(dir.path());
    Recorders recorders;
    run_input_dialog = show_input_dialog;
    const std::string file = dir.write("x y.txt", "x"), folder = dir.make_folder("f");
    const std::string prog = dir.write("p.exe", "MZ");
    user([&](HWND d) {
        drop(d, std::vector<std::string>(101, file)), note(d);
        send(d, WM_COMMAND, 502, true), note(d);
        drop(d, {kTooLong, folder}), drop(d, {file}), note(d);
        send(d, WM_COMMAND, 500);
    });
    g_launch.multi_file_mode = MultiFileUnquoted;
    launch_program(prog.c_str(), "-a %M", 1);
    EXPECT_EQ(g_seen,
              kHead + "'%M'\x93\xfc\x97\xcd|--- 100 data ---|--- 0 data ---|--- 2 data ---");
    EXPECT_EQ(g_calls, std::vector<std::string>{"open " + prog + "|-a " + folder + "\\ " + file +
                                                "|" + dir.path().substr(0, dir.path().size() - 1)});
}
