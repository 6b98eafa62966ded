// The launcher window's menu messages and the menu hooks, called directly on
// real menus built from loaded definitions.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/hooks.h"
#include "definition/startup.h"
#include "app/popup.h"
#include "app/window.h"
#include "launch/dispatch.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "menu/builder_win.h"
#include "menu/iconcache.h"
#include "definition/items.h"
#include "menu/menu_state.h"
#include "definition/settings.h"
#include "launch_recorder.h"
#include "test_support.h"

namespace {

std::vector<int> g_presses;

// Rows: 0 &A, 1 separator, 2 &B with variants 3 and 4, 5 {&Sub with 6, 7 }.
// Root items: A(2000) -(2001) B(2002)[var1(2003) var2(2004)] Sub(2005)[].
const char kMenu[] = "P | &A\n+\nP | &B\n>-v | var1\n>-w | var2\n{&Sub\nP | &In\n}\n";

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        g_popup = PopupState{};
        clear_recordings();
        g_presses.clear();
        saved_press = press_key;
        saved_open = shell_open;
        saved_pause = launch_pause;
        press_key = [](unsigned char key) { g_presses.push_back(key); };
        shell_open = record_open;
        launch_pause = [](int) {};
        program = dir.write("p.exe", "MZ");
    }
    void TearDown() override {
        press_key = saved_press;
        shell_open = saved_open;
        launch_pause = saved_pause;
        if (root) destroy_submenus(root), DestroyMenu(root);
        icon_cache_release();
        g_popup = PopupState{};
    }
    // Loads [launch] lines ("P |" stands for the program) and builds the root
    // as the popup cycle does, pictures first when the system lines ask for them.
    void build(const std::string &system, std::string lines) {
        for (size_t at; (at = lines.find("P |")) != std::string::npos;)
            lines.replace(at, 1, program);
        load_text("[system]\n" + system + "\n%end\n[launch]\n" + lines + "%end\n");
        if (g_settings.icon_mode > 0) {
            ASSERT_EQ(icon_cache_check(nullptr), 1);
            ASSERT_EQ(icon_cache_load(), 1);
        }
        root = g_popup.root_menu = CreatePopupMenu();
        build_menu_level(root, 0, 0);
        append_system_entry(root);
        g_popup.last_menu = root;
    }
    static UINT item_state(HMENU menu, UINT id) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        return GetMenuItemInfoA(menu, id, FALSE, &info) ? info.fState : 0;
    }
    ScratchFolder dir;
    std::string program;
    HMENU root = nullptr;
    void (*saved_press)(unsigned char);
    void (*saved_open)(const char *, const char *, const char *);
    void (*saved_pause)(int);
};

}  // namespace

TEST_F(Window, SpaceAndMiddleButtonMarkOnlyRowsThatLaunch) {
    build("", kMenu);
    const struct {
        const char *what;
        int position;  // of the submenu the item is in, -1 the root
        UINT id;
        int icon_mode;
        bool markable;
    } cases[] = {
        {"entry", -1, 2000, 0, true},
        {"variant in its submenu", 2, 2003, 0, true},
        {"separator", -1, 2001, 0, false},
        {"submenu", -1, 2005, 0, false},
        {"system entry", -1, 2650, 0, false},
        {"row past the table", -1, 2008, 0, false},
        {"owner-drawn menu", -1, 2000, 2, false},
    };
    MOUSEHOOKSTRUCT mouse = {};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        g_settings.icon_mode = c.icon_mode;
        HMENU menu = c.position < 0 ? root : GetSubMenu(root, c.position);
        g_popup.last_menu = menu;
        g_popup.last_item = (WORD)c.id;
        EXPECT_EQ(menu_keyboard_hook(HC_ACTION, VK_SPACE, (LPARAM)0x80000000), 0);  // a release
        EXPECT_EQ(g_menu.marked_count, 0);
        // Toggled and swallowed at the first call of a press, HC_NOREMOVE included.
        EXPECT_EQ(menu_keyboard_hook(HC_NOREMOVE, VK_SPACE, 0), c.markable ? 1 : 0);
        EXPECT_EQ(g_menu.marked_count, c.markable ? 1 : 0);
        EXPECT_EQ((item_state(menu, c.id) & MFS_CHECKED) != 0, c.markable);
        EXPECT_EQ(menu_mouse_hook(HC_ACTION, WM_MBUTTONDOWN, (LPARAM)&mouse), c.markable ? 1 : 0);
        EXPECT_EQ(g_menu.marked_count, 0);
        EXPECT_EQ(item_state(menu, c.id) & MFS_CHECKED, 0u);
    }
    // The right button asks for the folder; without "@filer" the entry runs.
    g_settings.icon_mode = 0;
    menu_mouse_hook(HC_ACTION, WM_RBUTTONDOWN, (LPARAM)&mouse);
    EXPECT_EQ(g_popup.folder_open_request, 1);
    dispatch_choice(nullptr, 2000, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"open " + program + "|(null)|" +
                                                 dir.path().substr(0, dir.path().size() - 1)}));
}

// A listed folder's submenu is built from the item table at every opening,
// with the same bitmaps each time; Down follows only a mouse selection.
TEST_F(Window, SubmenuBuiltAtEveryOpeningWithoutNewBitmaps) {
    for (int i = 0; i < 5; ++i) dir.write("list\\f" + std::to_string(i) + ".exe", "MZ");
    build("@icon", dir.path() + "list | &List\n");
    HMENU list = GetSubMenu(root, 0);
    std::set<HBITMAP> bitmaps;
    for (int opening = 0; opening < 200; ++opening) {
        g_menu.marked[3] = opening >= 100;
        g_popup.last_by_mouse = opening % 2;
        launcher_window_proc(nullptr, WM_INITMENUPOPUP, (WPARAM)list, MAKELPARAM(0, FALSE));
        ASSERT_EQ(GetMenuItemCount(list), 5);
        EXPECT_EQ((item_state(list, 2003) & MFS_CHECKED) != 0, opening >= 100) << opening;
        for (UINT id = 2001; id <= 2005; ++id) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            GetMenuItemInfoA(list, id, FALSE, &info);
            bitmaps.insert(info.hbmpItem);
        }
    }
    int live = 0;
    for (HBITMAP bitmap : bitmaps) live += GetObjectType(bitmap) == OBJ_BITMAP;
    EXPECT_EQ(live, 5);
    EXPECT_EQ(g_presses, std::vector<int>(100, VK_DOWN));
    launcher_window_proc(nullptr, WM_INITMENU, (WPARAM)root, 0);
    EXPECT_EQ(g_presses.size(), 101u);
}

TEST_F(Window, FocusLossClosesTheMenuWithASwallowedClick) {
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (int active : {0, 1}) {
        SCOPED_TRACE(active);
        g_popup.menu_active = active;
        launcher_window_proc(window, WM_KILLFOCUS, 0, 0);
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE) != 0,
                  active == 1);
        EXPECT_EQ(launcher_window_proc(window, WM_LBUTTONDOWN, 0, 0), active);
        EXPECT_EQ(launcher_window_proc(window, WM_LBUTTONDOWN, 0, 0), 0);  // later clicks pass
    }
    DestroyWindow(window);
}

TEST_F(Window, DropOnTheLauncherWindowFillsOnlyAnOpenDialog) {
    HWND edit = CreateWindowExA(0, "EDIT", "before", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                                nullptr, nullptr);
    g_input_edit_field = edit;
    const std::string spaced = "C:\\a b\\x.txt";
    const struct {
        int dialog_open;
        std::string path, text;
    } cases[] = {
        {0, spaced, "before"},
        {1, "C:\\" + std::string(300, 'l'), "before"},  // fits no buffer: skipped
        {1, spaced, "\"" + spaced + "\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path.substr(0, 20));
        g_launch.input_dialog_open = c.dialog_open;
        launcher_window_proc(nullptr, WM_DROPFILES, (WPARAM)make_file_drop({c.path}), 0);
        char text[400] = "";
        GetWindowTextA(edit, text, sizeof text);
        EXPECT_EQ(text, c.text);
    }
    g_input_edit_field = nullptr;
    DestroyWindow(edit);
}

// The check item: the report on the definition file, written to the temporary
// folder and opened in the editor; the loaded menu is as before, and the
// marked rows still run after it.
TEST_F(Window, CheckItemOpensTheReportAndKeepsTheLoadedMenu) {
    build("@editor=" + program, "P | &A\n");
    text_copy(g_startup.definition_path,
              dir.write("Tavrik.ini", "[launch]\nmissing_tvx | &Gone\n").c_str());
    static ItemTable items;
    static LauncherSettings settings;
    items = g_items;
    settings = g_settings;
    g_menu.marked[0] = 1;
    g_menu.marked_count = 1;
    dispatch_choice(nullptr, kCheckId, 0);
    EXPECT_EQ(memcmp(&items, &g_items, sizeof items), 0);
    EXPECT_EQ(memcmp(&settings, &g_settings, sizeof settings), 0);
    const std::string report = temp_folder() + "Tavrik-check.txt", folder = dir.path();
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{
                  "open " + program + "|" + report + "|" + folder.substr(0, folder.size() - 1),
                  "open " + program + "|(null)|" + folder.substr(0, folder.size() - 1)}));
    std::string text = read_file(report);
    EXPECT_NE(text.find("missing_tvx\""), std::string::npos) << text;
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // CR LF line ends
    delete_file(report);
}
