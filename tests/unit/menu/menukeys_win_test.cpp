// Access keys typed into owner-drawn menus built from item tables.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/popup.h"
#include "app/window.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "menu/builder_win.h"
#include "menu/menukeys_win.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

std::string g_opened;
int g_dialog_answer;

class MenuKeys : public ::testing::Test {
protected:
    void SetUp() override {
        saved_open = shell_open;
        saved_dialog = run_input_dialog;
        shell_open = [](const char *file, const char *parameters, const char *) {
            g_opened +=
                std::string(strrchr(file, '\\') + 1) + " [" + (parameters ? parameters : "") + "]";
        };
        run_input_dialog = [](void *) {
            snprintf(g_launch.input_result, sizeof g_launch.input_result, "typed");
            return g_dialog_answer;
        };
        g_dialog_answer = 4;
    }
    void TearDown() override {
        destroy_root();
        shell_open = saved_open;
        run_input_dialog = saved_dialog;
    }
    void destroy_root() {
        if (root) destroy_submenus(root), DestroyMenu(root);
        root = g_popup.root_menu = nullptr;
    }
    // Loads [launch] lines ("P" stands for a program) and builds the root as
    // the popup cycle does.
    void build(std::string lines, const char *system = "") {
        destroy_root();
        reset_launcher_state(dir.path());
        g_popup = PopupState{};
        g_opened.clear();
        std::string program = dir.write("ed.exe", "MZ");
        for (size_t at; (at = lines.find("P |")) != std::string::npos;)
            lines.replace(at, 1, program);
        load_text(std::string("[system]\n@icon=1\n") + system + "\n%end\n[launch]\n" + lines);
        root = g_popup.root_menu = CreatePopupMenu();
        build_menu_level(root, 0, 0);
        if (g_settings.system_entry_always || GetMenuItemCount(root) == 0)
            append_system_entry(root);
    }
    static void highlight(HMENU menu, int position) {
        for (int p = 0; p < GetMenuItemCount(menu); ++p) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_STATE;
            info.fState = p == position ? MFS_HILITE : 0;
            SetMenuItemInfoA(menu, (UINT)p, TRUE, &info);
        }
    }
    ScratchFolder dir;
    HMENU root = nullptr;
    void (*saved_open)(const char *, const char *, const char *);
    int (*saved_dialog)(void *);
};

// Root: 0 &Notepad, 1 -, 2 &Alpha, 3 &apple, 4 -, 5 &Ed *, 6 &Multi [one, two],
// 7 &Tools [&Cmd, &calc], 8 Plain, 9 -, 10 system.
const char kTyping[] =
    "P | &Notepad\n+\nP | &Alpha\nP | &apple\n+\nP | &Ed\n>-x %X | with x\nP | &Multi\n"
    ">1 | one\n>2 | two\n{&Tools\nP | &Cmd\nP | &calc\n}\nP | Plain\n";

}  // namespace

TEST_F(MenuKeys, PositionListMirrorsTheBuiltMenu) {
    struct {
        const char *menu, *lines, *system, *list;
    } cases[] = {
        {"separators, sole variant, submenu, system entry",
         "P | &Notepad\n+\nP | &Ed\n>v\n{&Tools\nP | &In\n}\nP | Plain\n", "",
         "0:N 1:- 3:E 4:T 7:- 600:- 650:0"},
        {"separator between an entry and its only variant", "P | &Ed\n+\n>v\n", "",
         "0:E 1:- 2:E 600:- 650:0"},
        {"separator between variants stays in their submenu", "P | &Ed\n>a\n+\n>b\nP | &Next\n", "",
         "0:E 4:N 600:- 650:0"},
        {"no rows: the system entry alone", "", "@sysmenu=0", "650:0"},
        {"no system entry", "P | &A\n", "@sysmenu=0", "0:A"},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.menu);
        build(c.lines, c.system);
        MenuKey list[kMaxMenuKeys];
        std::string got;
        for (int k = 0, n = menu_key_list(root, list, kMaxMenuKeys); k < n; ++k)
            got += (k ? " " : "") + std::to_string(list[k].row) + ":" +
                   (list[k].key[0] ? list[k].key : "-");
        EXPECT_EQ(got, c.list);
    }
}

TEST_F(MenuKeys, AnswersFromTheHighlightedLevel) {
    const MenuKeyAction none = MenuKeyNoMatch, run = MenuKeyRunRow, open = MenuKeyOpenSubmenu,
                        move = MenuKeyMoveTo;
    struct {
        const char *typed_at;
        int highlighted;
        char typed;
        MenuKeyAction action;
        int position, row;  // -1: not looked at
    } cases[] = {
        {"0 opens the system submenu", 0, '0', open, 10, -1},
        {"same key: the next one", 0, 'a', move, 2, -1},
        {"same key, other case: the next one", 2, 'A', move, 3, -1},
        {"same key: wraps to the first", 3, 'a', move, 2, -1},
        {"nothing highlighted: the first", -1, 'a', move, 2, -1},
        {"submenu opened by its key", 0, 't', open, 7, -1},
        {"entry with variants opens them", 0, 'M', open, 6, -1},
        {"entry run as it is", 5, 'n', run, -1, 0},
        {"sole variant run", 0, 'e', run, -1, 6},
        {"no item has the key", 0, 'z', none, -1, -1},
        {"a title without & has no key", 0, 'p', none, -1, -1},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.typed_at);
        build(kTyping);
        highlight(root, c.highlighted);
        MenuKeyAnswer answer = menu_character_handler(root, (WPARAM)c.typed);
        EXPECT_EQ(answer.action, c.action);
        EXPECT_TRUE(c.position < 0 || answer.position == c.position) << answer.position;
        EXPECT_TRUE(c.row < 0 || answer.row == c.row) << answer.row;
    }
    EXPECT_EQ(g_opened, "");  // the handler only answers

    // In an open submenu the level is the submenu's.
    HMENU tools = GetSubMenu(root, 7);
    build_menu_level(tools, 10, 1);
    highlight(root, 7);
    highlight(tools, 0);
    MenuKeyAnswer answer = menu_character_handler(root, (WPARAM)'c');
    EXPECT_EQ(answer.action, move);
    EXPECT_EQ(answer.position, 1);
    EXPECT_EQ(menu_character_handler(root, (WPARAM)'n').action, none);
    // Typed in a variant submenu, whose plain items the system searched
    // itself: nothing, not even the root's Notepad.
    highlight(root, 6);
    highlight(GetSubMenu(root, 6), 0);
    EXPECT_EQ(menu_character_handler(root, (WPARAM)'n').action, none);
}

TEST_F(MenuKeys, WindowProcedureTurnsAnswersIntoMenuCharResults) {
    build(kTyping);
    highlight(root, 0);
    auto menu_char = [&](char typed) {
        return launcher_window_proc(nullptr, WM_MENUCHAR, (WPARAM)typed, (LPARAM)root);
    };
    EXPECT_EQ(menu_char('a'), MAKELRESULT(2, MNC_SELECT));
    EXPECT_EQ(menu_char('z'), 0);
    EXPECT_EQ(menu_char('n'), MAKELRESULT(0, MNC_CLOSE));
    EXPECT_EQ(g_opened, "ed.exe []");
    g_opened.clear();
    EXPECT_EQ(menu_char('e'), MAKELRESULT(0, MNC_CLOSE));
    EXPECT_EQ(g_opened, "ed.exe [-x typed]");  // a sole variant with its parameters expanded
    g_opened.clear();
    g_dialog_answer = 0;  // the expansion is cancelled: nothing runs, the menu closes
    EXPECT_EQ(menu_char('e'), MAKELRESULT(0, MNC_CLOSE));
    EXPECT_EQ(g_opened, "");
    EXPECT_STREQ(g_launch.chosen_entry_name, "with x");
    g_settings.icon_mode = 1;  // item texts: the system finds their keys itself
    EXPECT_EQ(menu_char('a'), 0);
}
