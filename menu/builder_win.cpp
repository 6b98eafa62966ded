// Builds the launcher menus from the item table.
#include "menu/builder_win.h"

#include <cstring>

#include "core/pathparts.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "menu/iconcache.h"
#include "menu/menu_state.h"

namespace {

// Bitmaps of icon mode 1 besides the rows' own; released with them.
BitmapHandle g_system_bitmap;
BitmapHandle g_folder_bitmap;

// What the next appended item gets in front of it.
enum PendingBreak { NoBreak = 0, SeparatorBreak = 1, ColumnBreakBefore = 2 };

int g_pending_break = NoBreak;
int g_pending_break_row = 0;

UINT row_command(int row) { return (UINT)(kFirstRowCommand + row); }

void attach_submenu(HMENU menu, UINT command, HMENU submenu) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = submenu;
    SetMenuItemInfoA(menu, command, FALSE, &info);
}

void set_checked(HMENU menu, UINT command, bool checked) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = checked ? MFS_CHECKED : 0;
    SetMenuItemInfoA(menu, command, FALSE, &info);
}

// A row's picture does not change during the run: its bitmap is made at the
// row's first build and serves again when a submenu is built anew at its
// next opening, so reopening never adds bitmaps. Every folder item shows the
// one folder bitmap. All of them are released when the launcher window closes.
BitmapHandle bitmap_for_row(int row) {
    const ItemTable &t = g_items;
    int kind = t.kind[row];
    if (kind != Entry && kind != SoleVariant) {
        if (!g_folder_bitmap) g_folder_bitmap = make_item_bitmap(kFolderPicture);
        return g_folder_bitmap;
    }
    BitmapHandle &bitmap = g_menu.item_bitmap[row];
    if (!bitmap) bitmap = make_item_bitmap(kind == Entry ? row : t.owner[row]);
    return bitmap;
}

// Appends one item for row i, consuming the pending break. With text_only 1
// the item is plain text whatever the icon mode.
void append_menu_item(HMENU menu, int row, const char *text, int text_only) {
    if (g_pending_break == SeparatorBreak)
        AppendMenuA(menu, MF_SEPARATOR, row_command(g_pending_break_row), "");
    UINT break_flag = g_pending_break == ColumnBreakBefore ? MF_MENUBARBREAK : 0;
    int mode = menu_icon_mode();
    if (mode <= 0 || text_only) {
        AppendMenuA(menu, MF_STRING | break_flag, row_command(row), text);
    } else if (mode == 1) {
        char spaced[kPathSize + 3];  // " ", a title, the mark of a sole variant
        text_format(spaced, sizeof spaced, " %s", text);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | (break_flag ? MIIM_FTYPE : 0);
        info.fType = break_flag ? MFT_MENUBARBREAK : 0;
        info.wID = row_command(row);
        info.dwTypeData = spaced;
        info.cch = (UINT)strlen(spaced);
        info.hbmpItem = (HBITMAP)bitmap_for_row(row);
        InsertMenuItemA(menu, row_command(row), FALSE, &info);
    } else {
        AppendMenuA(menu, MF_OWNERDRAW | break_flag, row_command(row),
                    (const char *)(UINT_PTR)row_command(row));
    }
    g_pending_break = NoBreak;
    if (mode != 2 && g_menu.marked[row] == 1) set_checked(menu, row_command(row), true);
}

// The item of an entry with one variant: the entry's title, the variant's command.
void append_sole_variant(HMENU menu, int entry_row, int variant_row) {
    char text[kPathSize + 2];
    text_format(text, sizeof text, "%s%s", g_items.title[entry_row],
                g_settings.variant_mark == 1 ? kSoleVariantMark : "");
    append_menu_item(menu, variant_row, text, 0);
}

// An entry with variants: a submenu of the variants, or a single item when
// the entry has exactly one. Returns the first row after the group.
int add_entry_group(HMENU menu, int head) {
    const ItemTable &t = g_items;
    HMENU variants = CreateMenu();
    int head_appended = 0;
    auto append_head = [&]() {
        if (!head_appended) append_menu_item(menu, head, t.title[head], 0);
        head_appended = 1;
    };
    int i = head + 1;
    for (; i < t.item_count; ++i) {
        int kind = t.kind[i];
        if (kind == SoleVariant) {
            append_sole_variant(menu, head, i);
            DestroyMenu(variants);
            return i + 1;
        }
        if (kind == Separator || kind == ColumnBreak) {
            append_head();
            g_pending_break = kind == Separator ? SeparatorBreak : ColumnBreakBefore;
            g_pending_break_row = i;
        } else if (kind == Variant) {
            append_head();
            append_menu_item(variants, i, t.title[i], 1);
        } else {
            break;  // the caller handles row i
        }
    }
    append_head();
    attach_submenu(menu, row_command(head), variants);
    return i;
}

}  // namespace

int build_menu_level(HMENU menu, int first_row, int offset) {
    for (int p = GetMenuItemCount(menu) - 1; p >= 0; --p) DeleteMenu(menu, (UINT)p, MF_BYPOSITION);
    destroy_submenus(menu);
    const ItemTable &t = g_items;
    int i = first_row + offset;
    int level = i < t.item_count ? t.level[i] : 0;
    while (i < t.item_count) {
        if (t.level[i] < level) break;
        if (t.level[i] > level) {
            ++i;  // a row of a deeper submenu
            continue;
        }
        switch (t.kind[i]) {
        case Entry:
            if (t.variant_count[i] >= 1) {
                i = add_entry_group(menu, i);
                continue;
            }
            append_menu_item(menu, i, t.title[i], 0);
            break;
        case Separator:
        case ColumnBreak:
            g_pending_break = t.kind[i] == Separator ? SeparatorBreak : ColumnBreakBefore;
            g_pending_break_row = i;
            break;
        case SubmenuBegin:
            append_menu_item(menu, i, t.title[i], 0);
            attach_submenu(menu, row_command(i), CreateMenu());
            break;
        case SubmenuEnd:
            g_pending_break = NoBreak;
            break;
        default:
            break;  // variants outside a group
        }
        ++i;
    }
    // A break left at the end of a level has no item to go before; it is
    // dropped rather than handed to a menu opened later.
    g_pending_break = NoBreak;
    return i;
}

void append_system_entry(HMENU menu) {
    if (g_items.item_count > 0) AppendMenuA(menu, MF_SEPARATOR, kSystemSeparatorId, "");
    int mode = menu_icon_mode();
    if (mode == 1) {
        if (!g_system_bitmap) g_system_bitmap = make_item_bitmap(kSystemPicture);
        char text[sizeof kSystemEntryText + 1];
        text_format(text, sizeof text, " %s", kSystemEntryText);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        info.wID = kSystemEntryId;
        info.dwTypeData = text;
        info.cch = (UINT)strlen(text);
        info.hbmpItem = (HBITMAP)g_system_bitmap;
        InsertMenuItemA(menu, kSystemEntryId, FALSE, &info);
    } else if (mode == 2) {
        AppendMenuA(menu, MF_OWNERDRAW, kSystemEntryId, (const char *)(UINT_PTR)kSystemEntryId);
    } else {
        AppendMenuA(menu, MF_STRING, kSystemEntryId, kSystemEntryText);
    }
    HMENU system = CreateMenu();
    PathParts parts;
    path_split(g_startup.definition_path, &parts);
    char text[kPathSize * 2];
    text_format(text, sizeof text, kDefinitionItemFormat, parts.base, parts.ext);
    AppendMenuA(system, MF_STRING, kOpenDefinitionId, text);
    AppendMenuA(system, MF_STRING, kCheckId, check_item_text());
    AppendMenuA(system, MF_SEPARATOR, kSystemSeparatorId, "");
    AppendMenuA(system, MF_STRING, kHelpId, kHelpText);
    AppendMenuA(system, MF_STRING, kVersionId, kVersionText);
    attach_submenu(menu, kSystemEntryId, system);
}

void destroy_submenus(HMENU menu) {
    int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p) {
        HMENU submenu = GetSubMenu(menu, p);
        if (!submenu) continue;
        destroy_submenus(submenu);
        DestroyMenu(submenu);
    }
}

void menu_toggle_mark(HMENU menu, UINT item) {
    int row = (int)item - kFirstRowCommand;
    int mark = g_menu.marked[row] ? 0 : 1;
    g_menu.marked[row] = mark;
    g_menu.marked_count += mark ? 1 : -1;
    set_checked(menu, item, mark);
}

void menu_release_pictures() {
    icon_cache_release();
    BitmapHandle *fixed[] = {&g_system_bitmap, &g_folder_bitmap};
    for (BitmapHandle *bitmap : fixed) {
        if (*bitmap) DeleteObject((HGDIOBJ)*bitmap);
        *bitmap = nullptr;
    }
    for (BitmapHandle &bitmap : g_menu.item_bitmap) {
        if (bitmap) DeleteObject((HGDIOBJ)bitmap);
        bitmap = nullptr;
    }
}
