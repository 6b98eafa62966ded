// The per-run menu state.
#include "menu/menu_state.h"

#include "definition/settings.h"

MenuState g_menu;

int menu_icon_mode() { return g_menu.icons_off ? 0 : g_settings.icon_mode; }

void menu_turn_icons_off() { g_menu.icons_off = 1; }

void menu_clear_marks() {
    for (int row = 0; row < kMaxRows; ++row) g_menu.marked[row] = 0;
    g_menu.marked_count = 0;
}
