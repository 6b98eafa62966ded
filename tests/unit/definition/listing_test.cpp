// Folder listings: filter, depth, sort order, titles and the limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "definition/items.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

std::string listed_titles() {
    std::string out;
    for (int i = 0; i < g_items.item_count; ++i)
        if (g_items.level[i] == 1 && g_items.kind[i] == Entry)
            out += std::string(g_items.title[i]) + " ";
    return out;
}

}  // namespace

TEST(Listing, FilterDepthSortAndTitles) {
    ScratchFolder dir;
    for (const char *name : {"b.exe", "A.lnk", "Setup.EXE", "archive.exe.bak", "note.txt",
                             "sub\\c.exe", "sub\\deeper\\d.exe", "zz\\only.txt"})
        dir.write(std::string("tree\\") + name, "x");
    struct {
        std::string folder_option, titles;
    } cases[] = {
        {"0", "&A &b &c &d &Setup "},
        {"1", "&A &b &Setup "},
        {"2", "&A &b &c &Setup "},
        {"0,1,0", "A b c d Setup "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder_option);
        reset_launcher_state(dir.path());
        load_text("[system]\n@folder=" + c.folder_option + "\n%end\n[launch]\n" + dir.path() +
                  "tree | &Tree\n+\n");
        EXPECT_EQ(listed_titles(), c.titles);
        EXPECT_EQ(g_items.kind[0], SubmenuBegin);
        EXPECT_STREQ(g_items.target[0], (dir.path() + "tree").c_str());
        int end = g_items.item_count - 1;  // "+" right after a listing adds nothing
        EXPECT_EQ(g_items.kind[end], SubmenuEnd);
        EXPECT_EQ(g_items.level[end], 1);
    }
    EXPECT_STREQ(g_items.access_key[1], "");
    reset_launcher_state(dir.path());
    load_text("[launch]\n" + dir.path() + "tree\n");
    EXPECT_STREQ(g_items.target[1], (dir.path() + "tree\\A.lnk").c_str());
    EXPECT_STREQ(g_items.access_key[1], "A");
    EXPECT_STREQ(g_items.title[0], "tree");
}

TEST(Listing, FoldersWithoutMatchesVanish) {
    ScratchFolder dir;
    dir.write("docs\\a.txt", "x");
    dir.write("b.exe", "x");
    reset_launcher_state(dir.path());
    load_text("[launch]\n" + dir.path() + "docs | Docs\n+\n" + dir.path() + "b.exe\n>p\n");
    ASSERT_EQ(g_items.item_count, 2);
    EXPECT_EQ(g_items.kind[1], SoleVariant);  // the variant of b.exe, not of the vanished folder
    EXPECT_EQ(g_items.owner[1], 0);
    // With a filter the same folder lists its text file.
    reset_launcher_state(dir.path());
    load_text("[system]\n@filter=.TXT\n%end\n[launch]\n" + dir.path() + "docs\n");
    EXPECT_EQ(g_items.item_count, 3);
}

TEST(Listing, HundredFilesAndTheLastRows) {
    ScratchFolder dir;
    for (int i = 0; i < 120; ++i) dir.write("many\\f" + std::to_string(1000 + i) + ".exe", "x");
    dir.write("ed.exe", "x");
    reset_launcher_state(dir.path());
    load_text("[launch]\n" + dir.path() + "many\n");
    EXPECT_EQ(g_items.item_count, 102);
    struct {
        int rows_before, total, kind_of_folder;
    } cases[] = {{497, 500, SubmenuBegin}, {498, 499, Entry}};
    for (const auto &c : cases) {
        std::string lines = dir.path() + "ed.exe\n";
        for (int i = 1; i < c.rows_before; ++i) lines += ">v\n";
        reset_launcher_state(dir.path());
        load_text("[launch]\n" + lines + dir.path() + "many\n");
        EXPECT_EQ(g_items.item_count, c.total);
        EXPECT_EQ(g_items.kind[c.rows_before], c.kind_of_folder);
        EXPECT_EQ(g_items.kind[g_items.item_count - 1], c.total == 500 ? SubmenuEnd : Entry);
    }
}
