// The menu builder: items built into real menus and read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>

#include "definition/startup.h"
#include "menu/builder_win.h"
#include "definition/items.h"
#include "menu/menu_state.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

// The menu as text: "title(id)", "-(id)" for a separator, "|" before an item
// that starts a column, "[...]" around a submenu, "!" after a checked item.
std::string describe(HMENU menu) {
    std::string out;
    for (int p = 0; p < GetMenuItemCount(menu); ++p) {
        char text[300] = "";
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, (UINT)p, TRUE, &info);
        if (p) out += " ";
        if (info.fType & MFT_MENUBARBREAK) out += "|";
        out += (info.fType & MFT_SEPARATOR) ? "-" : text;
        out += "(" + std::to_string(info.wID) + ")";
        if (info.fState & MFS_CHECKED) out += "!";
        if (info.hSubMenu) out += "[" + describe(info.hSubMenu) + "]";
    }
    return out;
}

// Rows from words: "+" separator, "-" column break, ">t" variant of the entry
// before, "{t" submenu, "}" its end, anything else an entry; levels follow,
// and an entry's only variant is its sole variant.
void set_rows(const std::string &words) {
    reset_launcher_state();
    g_settings.icon_mode = 0;
    g_settings.variant_mark = 1;
    std::istringstream in(words);
    int level = 0, last_entry = -1;
    for (std::string w; in >> w;) {
        int i = g_items.item_count++;
        RowKind kind = w == "+"      ? Separator
                       : w == "-"    ? ColumnBreak
                       : w == "}"    ? SubmenuEnd
                       : w[0] == '>' ? Variant
                       : w[0] == '{' ? SubmenuBegin
                                     : Entry;
        g_items.kind[i] = kind;
        g_items.level[i] = level;
        if (kind == SubmenuBegin) ++level;
        if (kind == SubmenuEnd) --level;
        const char *title = kind == Entry                             ? w.c_str()
                            : kind == Variant || kind == SubmenuBegin ? w.c_str() + 1
                                                                      : "";
        snprintf(g_items.title[i], kPathSize, "%s", title);
        if (kind == Entry) last_entry = i;
        if (kind == Variant) {
            g_items.owner[i] = last_entry;
            ++g_items.variant_count[last_entry];
        }
    }
    // The loader's decision: the only variant of an entry stands in its place.
    for (int i = 0; i < g_items.item_count; ++i)
        if (g_items.kind[i] == Variant && g_items.variant_count[g_items.owner[i]] == 1)
            g_items.kind[i] = SoleVariant;
}

std::string build_root(bool system_entry = false) {
    HMENU root = CreatePopupMenu();
    build_menu_level(root, 0, 0);
    if (system_entry) append_system_entry(root);
    std::string out = describe(root);
    destroy_submenus(root);
    DestroyMenu(root);
    return out;
}

}  // namespace

TEST(Builder, LevelsGroupsAndBreaks) {
    const struct {
        const char *rows, *menu;
    } cases[] = {
        {"Ed >v", "Ed *(2001)"},
        {"Ed + >v", "Ed(2000) -(2001) Ed *(2002)"},
        {"Ed >a - >b X", "Ed(2000)[a(2001) |b(2003)] X(2004)"},
        {"A + + B - + C +", "A(2000) -(2002) B(2003) -(2005) C(2006)"},
        {"A - {S in + } B", "A(2000) |S(2002)[] B(2006)"},
        {"{S", "S(2000)[]"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rows);
        set_rows(c.rows);
        EXPECT_EQ(build_root(), c.menu);
    }
}

TEST(Builder, SoleVariantMarksAndSubmenuRebuilds) {
    set_rows("Ed >v {S in }");
    g_settings.variant_mark = 0;
    g_menu.marked[3] = 1;
    EXPECT_EQ(build_root(), "Ed(2001) S(2002)[]");
    EXPECT_EQ(build_root(), "Ed(2001) S(2002)[]");  // a second build is the same
    HMENU sub = CreatePopupMenu();
    for (int opening = 0; opening < 2; ++opening) {
        EXPECT_EQ(build_menu_level(sub, 2, 1), 5);
        EXPECT_EQ(describe(sub), "in(2003)!");
    }
    DestroyMenu(sub);
}

TEST(Builder, SystemEntryAfterTheRows) {
    const std::string system = "system ( &0 )(2650)[menu.ini ( &1 )(2660) " +
                               std::string(check_item_text()) +
                               "(2665) -(2600) &Help(2670) &Version(2680)]";
    for (auto [rows, menu] :
         {std::pair<const char *, std::string>{"", system}, {"A", "A(2000) -(2600) " + system}}) {
        SCOPED_TRACE(rows);
        set_rows(rows);
        snprintf(g_startup.definition_path, 260, "C:\\My Tools\\menu.ini");
        EXPECT_EQ(build_root(true), menu);
    }
}

TEST(Builder, SoleVariantMarkFitsBehindTheLongestTitle) {
    set_rows("Ed >v");
    const std::string title(259, 't');
    snprintf(g_items.title[0], kPathSize, "%s", title.c_str());
    g_settings.icon_mode = 1;  // item bitmaps: the text gets a blank in front
    EXPECT_EQ(build_root(), " " + title + " *(2001)");
}
