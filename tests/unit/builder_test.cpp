// The menu builder: items built into real menus and read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/paths.h"
#include "menu/builder.h"
#include "menudef/items.h"
#include "menudef/settings.h"
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

// Rows from "kind level title" triples; variants belong to the entry before them.
using Rows = std::vector<std::tuple<RowKind, int, const char *>>;

void set_rows(const Rows &rows) {
    reset_launcher_state();
    g_settings.icon_mode = 0;
    g_settings.variant_mark = 1;
    int last_entry = -1;
    for (auto [kind, level, title] : rows) {
        int i = g_items.item_count++;
        g_items.kind[i] = kind;
        g_items.level[i] = level;
        snprintf(g_items.title[i], kTextSize, "%s", title);
        if (kind == Entry) last_entry = i;
        if (kind == Variant) {
            g_items.owner[i] = last_entry;
            ++g_items.variant_count[last_entry];
        }
    }
}

std::string build_root() {
    HMENU root = CreatePopupMenu();
    build_menu_level(root, 0, 0);
    std::string out = describe(root);
    destroy_submenus(root);
    DestroyMenu(root);
    return out;
}

}  // namespace

TEST(Builder, LevelsGroupsAndBreaks) {
    struct {
        Rows rows;
        std::string menu;
    } cases[] = {
        {{{Entry, 0, "Ed"}, {Variant, 0, "v"}}, "Ed *(2001)"},
        {{{Entry, 0, "Ed"}, {Separator, 0, ""}, {Variant, 0, "v"}}, "Ed(2000) -(2001) Ed *(2002)"},
        {{{Entry, 0, "Ed"},
          {Variant, 0, "a"},
          {ColumnBreak, 0, ""},
          {Variant, 0, "b"},
          {Entry, 0, "X"}},
         "Ed(2000)[a(2001) |b(2003)] X(2004)"},
        {{{Entry, 0, "A"},
          {Separator, 0, ""},
          {Separator, 0, ""},
          {Entry, 0, "B"},
          {ColumnBreak, 0, ""},
          {Separator, 0, ""},
          {Entry, 0, "C"},
          {Separator, 0, ""}},
         "A(2000) -(2002) B(2003) -(2005) C(2006)"},
        {{{Entry, 0, "A"},
          {ColumnBreak, 0, ""},
          {SubmenuBegin, 0, "S"},
          {Entry, 1, "in"},
          {Separator, 1, ""},
          {SubmenuEnd, 1, ""},
          {Entry, 0, "B"}},
         "A(2000) |S(2002)[] B(2006)"},
        {{{SubmenuBegin, 0, "S"}}, "S(2000)[]"},
    };
    for (auto &c : cases) {
        set_rows(c.rows);
        SCOPED_TRACE(c.menu);
        EXPECT_EQ(build_root(), c.menu);
    }
}

TEST(Builder, SoleVariantRewriteMarksAndSubmenuRebuilds) {
    set_rows({{Entry, 0, "Ed"},
              {Variant, 0, "v"},
              {SubmenuBegin, 0, "S"},
              {Entry, 1, "in"},
              {SubmenuEnd, 1, ""}});
    g_settings.variant_mark = 0;
    g_items.marked[3] = 1;
    EXPECT_EQ(build_root(), "Ed(2001) S(2002)[]");
    EXPECT_EQ(g_items.kind[1], SoleVariant);
    EXPECT_EQ(build_root(), "Ed(2001) S(2002)[]");  // the rewritten row builds the same
    HMENU sub = CreatePopupMenu();
    for (int opening = 0; opening < 2; ++opening) {
        EXPECT_EQ(build_menu_level(sub, 2, 1), 5);
        EXPECT_EQ(describe(sub), "in(2003)!");
    }
    DestroyMenu(sub);
}

TEST(Builder, SystemEntry) {
    set_rows({});
    snprintf(g_app.definition_path, 260, "C:\\My Tools\\menu.ini");
    HMENU root = CreatePopupMenu();
    build_menu_level(root, 0, 0);
    append_system_entry(root);
    EXPECT_EQ(describe(root),
              "system ( &0 )(2650)[menu.ini ( &1 )(2660) -(2600) &Help(2670) &Version(2680)]");
    destroy_submenus(root);
    DestroyMenu(root);
    set_rows({{Entry, 0, "A"}});
    root = CreatePopupMenu();
    build_menu_level(root, 0, 0);
    append_system_entry(root);
    EXPECT_EQ(describe(root).substr(0, 24), "A(2000) -(2600) system (");
    destroy_submenus(root);
    DestroyMenu(root);
}
