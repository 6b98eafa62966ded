// Access keys of owner-drawn menus: launch, open or step to the typed item.
#include "menu/menukeys.h"

#include <shlwapi.h>

#include <cstring>

#include "app/popup.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "launch/macros.h"
#include "menu/builder.h"
#include "menudef/textbuf.h"

namespace {

enum Answer { NoMatch = 0, Launched = 1, OpenSubmenu = 2, MoveTo = 3 };

int key_matches(const char *typed, const char *key) {
    return key[0] && StrStrIA(typed, key) != nullptr;
}

// Runs a row picked by its key while the menu is still open. The popup cycle
// then gets no command, so marked rows are not launched after it.
void launch_from_menu(HWND window, int row) {
    const ItemTable &t = g_items;
    if (t.kind[row] == Entry) {
        launch_program(t.target[row], "", 0);
        return;
    }
    int owner = t.owner[row];
    char parameters[kParameterTextSize];
    text_copy(g_launch.chosen_entry_name, t.title[row]);
    expand_command_macros(window, t.target[row], t.target[owner], parameters, sizeof parameters);
    if (strcmp(parameters, kCancelSentinel) != 0) launch_program(t.target[owner], parameters, 1);
}

// What a single match on row does.
int act_on(HWND window, int row) {
    if (row == kSystemEntryRow) return OpenSubmenu;
    if (row < 0 || row >= g_items.item_count) return NoMatch;
    switch (g_items.kind[row]) {
    case Entry:
        if (g_items.variant_count[row] >= 1) return OpenSubmenu;  // its variant submenu
        launch_from_menu(window, row);
        return Launched;
    case SoleVariant:
        launch_from_menu(window, row);
        return Launched;
    case SubmenuBegin:
        return OpenSubmenu;
    default:
        return NoMatch;
    }
}

}  // namespace

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
            text_copy(entry.key, "0");  // "system ( &0 )"
        } else if (entry.row >= 0 && entry.row < t.item_count) {
            int keyed = t.kind[entry.row] == SoleVariant ? t.owner[entry.row] : entry.row;
            text_copy(entry.key, t.access_key[keyed]);
        }
    }
    return count < 0 ? 0 : count;
}

int menu_character_handler(HWND window, WPARAM wparam) {
    char typed[2];
    text_format(typed, sizeof typed, "%c", (char)(wparam & 0xff));

    // The reference is the deepest highlighted item along the open submenus;
    // the list is that item's menu.
    HMENU level = g_popup.root_menu;
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
    if (!level) return NoMatch;
    // In a variant submenu the items are plain text, and the system has
    // matched their own access characters before asking: a character that
    // reaches us there matches nothing.
    if (reference_row >= 0 && reference_row < g_items.item_count &&
        g_items.kind[reference_row] == Variant)
        return NoMatch;

    MenuKey list[kMaxMenuKeys];
    int count = menu_key_list(level, list, kMaxMenuKeys);
    int matches = 0, last = -1;
    for (int k = 0; k < count; ++k) {
        if (!key_matches(typed, list[k].key)) continue;
        ++matches;
        last = k;
    }
    if (matches == 0) return NoMatch;
    if (matches == 1) {
        g_popup.menu_char_choice = (WORD)last;
        return act_on(window, list[last].row);
    }
    // Several items share the key: step to the next one after the
    // highlighted item, wrapping round to the top.
    for (int step = 1; step <= count; ++step) {
        int k = (reference_position + step) % count;
        if (k < 0) k += count;
        if (!key_matches(typed, list[k].key)) continue;
        g_popup.menu_char_choice = (WORD)k;
        return MoveTo;
    }
    return NoMatch;
}
