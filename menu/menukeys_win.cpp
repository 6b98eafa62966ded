// Access keys of owner-drawn menus: what typing an item's key asks for.
#include <windows.h>

#include "core/platform.h"
#include "core/text.h"
#include "menu/menukeys_win.h"

namespace {

int key_matches(const char *typed, const char *key) {
    return plat_find_ci(typed, key) != nullptr;  // an empty key matches nothing
}

// What a single match on row at position does.
MenuKeyAnswer act_on(int row, int position) {
    const int system_entry_row = (int)kSystemEntryId - kFirstRowCommand;
    MenuKeyAnswer open = {MenuKeyOpenSubmenu, row, position};
    MenuKeyAnswer run = {MenuKeyRunRow, row, position};
    MenuKeyAnswer none = {MenuKeyNoMatch, -1, -1};
    if (row == system_entry_row) return open;
    if (row < 0 || row >= g_items.item_count) return none;
    switch (g_items.kind[row]) {
    case Entry:
        return g_items.variant_count[row] >= 1 ? open : run;  // an entry with variants opens them
    case SoleVariant:
        return run;
    case SubmenuBegin:
        return open;
    default:
        return none;
    }
}

// The position of the first highlighted item of menu, or -1 for none.
int highlighted_position(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        if (GetMenuItemInfoA(menu, (UINT)p, TRUE, &info) && (info.fState & MFS_HILITE)) return p;
    }
    return -1;
}

}  // namespace

// The list is read from the menu itself, so it matches the builder's
// positions whatever the rows: separators, an entry shown by its sole
// variant, breaks that went into a variant submenu, the system entry.
int menu_key_list(HMENU menu, MenuKey *list, int capacity) {
    const ItemTable &t = g_items;
    int count = GetMenuItemCount(menu);
    if (count > capacity) count = capacity;
    for (int p = 0; p < count; ++p) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE;
        GetMenuItemInfoA(menu, (UINT)p, TRUE, &info);
        MenuKey &entry = list[p];
        entry.row = (int)info.wID - kFirstRowCommand;
        entry.key[0] = 0;
        if (info.fType & MFT_SEPARATOR) continue;
        if (info.wID == kSystemEntryId) {
            text_copy(entry.key, kSystemEntryKey);
        } else if (entry.row >= 0 && entry.row < t.item_count) {
            int keyed = t.kind[entry.row] == SoleVariant ? t.owner[entry.row] : entry.row;
            text_copy(entry.key, t.access_key[keyed]);
        }
    }
    return count < 0 ? 0 : count;
}

MenuKeyAnswer menu_character_handler(HMENU root, WPARAM wparam) {
    const MenuKeyAnswer none = {MenuKeyNoMatch, -1, -1};
    char typed[2];
    text_format(typed, sizeof typed, "%c", (char)(wparam & 0xff));

    // The reference is the deepest highlighted item along the open submenus;
    // the list is that item's menu.
    HMENU level = root;
    int reference_position = -1;  // nothing highlighted: search from the top
    int reference_row = -1;
    for (HMENU menu = level; menu;) {
        int p = highlighted_position(menu);
        if (p < 0) break;
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        GetMenuItemInfoA(menu, (UINT)p, TRUE, &info);
        level = menu;
        reference_position = p;
        reference_row = (int)info.wID - kFirstRowCommand;
        menu = GetSubMenu(menu, p);
    }
    if (!level) return none;
    // In a variant submenu the items are plain text, and the system has
    // matched their own access characters before asking: a character that
    // reaches us there matches nothing.
    if (reference_row >= 0 && reference_row < g_items.item_count &&
        g_items.kind[reference_row] == Variant)
        return none;

    MenuKey list[kMaxMenuKeys];
    int count = menu_key_list(level, list, kMaxMenuKeys);
    int matches = 0, last = -1;
    for (int k = 0; k < count; ++k) {
        if (!key_matches(typed, list[k].key)) continue;
        ++matches;
        last = k;
    }
    if (matches == 0) return none;
    if (matches == 1) return act_on(list[last].row, last);
    // Several items share the key: step to the next one after the
    // highlighted item, wrapping round to the top.
    for (int step = 1; step <= count; ++step) {
        int k = (reference_position + step) % count;
        if (k < 0) k += count;
        if (key_matches(typed, list[k].key)) return {MenuKeyMoveTo, list[k].row, k};
    }
    return none;
}
