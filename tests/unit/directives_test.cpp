// The [system] directives: bounds, fallbacks, order and the "@param" block.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/paths.h"
#include "menudef/directives.h"
#include "menudef/items.h"
#include "menudef/settings.h"
#include "test_support.h"

namespace {

struct DirectiveCase {
    const char *lines;  // the [system] section's lines
    std::function<void(const LauncherSettings &)> check;
};

void run_cases(const DirectiveCase *cases, size_t count, int mouse_buttons = 3) {
    for (size_t i = 0; i < count; ++i) {
        reset_launcher_state();
        g_app.mouse_buttons = mouse_buttons;
        load_text(std::string("[system]\n") + cases[i].lines + "%end\n");
        SCOPED_TRACE(cases[i].lines);
        cases[i].check(g_settings);
    }
}

}  // namespace

TEST(Directives, ValuesBoundsAndFallbacks) {
    const DirectiveCase cases[] = {
        {"@dlm=:\n", [](auto &s) { EXPECT_STREQ(s.delimiter, " | "); }},
        {"@dlm=::\n", [](auto &s) { EXPECT_STREQ(s.delimiter, "::"); }},
        {"@dlm=0123456789012345678901234567890123\n",
         [](auto &s) { EXPECT_EQ(strlen(s.delimiter), 31u); }},
        {"@menu=1\n", [](auto &s) { EXPECT_EQ(s.menu_position, 0); }},
        {"@menu=100,200\n",
         [](auto &s) {
             EXPECT_EQ(s.menu_position, 1);
             EXPECT_EQ(s.menu_x, 100);
             EXPECT_EQ(s.menu_y, 200);
         }},
        {"@menu=MAX,MAX\n",
         [](auto &s) {
             EXPECT_EQ(s.menu_x, 1024);
             EXPECT_EQ(s.menu_y, 740);
         }},
        {"@menu=max,max,\n",
         [](auto &s) {
             EXPECT_EQ(s.menu_x, 1024);
             EXPECT_EQ(s.menu_y, 740);
         }},
        {"@menu=100,max\n",
         [](auto &s) {
             EXPECT_EQ(s.menu_position, 1);
             EXPECT_EQ(s.menu_y, 0);
         }},
        {"@menu= +50,-60\n",
         [](auto &s) {
             EXPECT_EQ(s.menu_x, 50);
             EXPECT_EQ(s.menu_y, -60);
         }},
        {"@menu=100\n@menu=center\n", [](auto &s) { EXPECT_EQ(s.menu_position, 0); }},
        {"@menu=MOUSE\n", [](auto &s) { EXPECT_EQ(s.menu_position, 2); }},
        {"@menu=mous2\n", [](auto &s) { EXPECT_EQ(s.menu_position, 3); }},
        {"@menu=xCENTERx\n", [](auto &s) { EXPECT_EQ(s.menu_position, 0); }},
        {"@menu=CENTER\n", [](auto &s) { EXPECT_EQ(s.menu_position, 4); }},
        {"@menu=center,5\n",
         [](auto &s) {
             EXPECT_EQ(s.menu_position, 4);
             EXPECT_EQ(s.menu_y, 0);
         }},
        {"@font=Arial\n",
         [](auto &s) {
             EXPECT_STREQ(s.font_face, "Arial");
             EXPECT_EQ(s.font_set, 1);
             EXPECT_EQ(s.font_size, 16);
             EXPECT_EQ(s.font_weight, 0);
         }},
        {"@font=,12,7\n",
         [](auto &s) {
             EXPECT_EQ(s.font_set, 0);
             EXPECT_EQ(s.font_size, 12);
             EXPECT_EQ(s.font_weight, 700);
         }},
        {"@font=X,0,11\n",
         [](auto &s) {
             EXPECT_EQ(s.font_size, 16);
             EXPECT_EQ(s.font_weight, 0);
         }},
        {"@font=X,20\n",
         [](auto &s) {
             EXPECT_EQ(s.font_size, 20);
             EXPECT_EQ(s.font_weight, 0);
         }},
        {"@dist=500\n",
         [](auto &s) {
             EXPECT_EQ(s.first_launch_delay, 500);
             EXPECT_EQ(s.next_launch_delay, 500);
         }},
        {"@dist=10001,300\n",
         [](auto &s) {
             EXPECT_EQ(s.first_launch_delay, 0);
             EXPECT_EQ(s.next_launch_delay, 300);
         }},
        {"@folder=2\n",
         [](auto &s) {
             EXPECT_EQ(s.folder_depth, 2);
             EXPECT_EQ(s.folder_sort, 1);
             EXPECT_EQ(s.folder_access_keys, 1);
         }},
        {"@folder=-1,0,0\n",
         [](auto &s) {
             EXPECT_EQ(s.folder_depth, 0);
             EXPECT_EQ(s.folder_sort, 0);
             EXPECT_EQ(s.folder_access_keys, 0);
         }},
        {"@filter=.txt;.doc\n@filter=.pdf\n",
         [](auto &s) {
             EXPECT_EQ(s.filter_count, 3);
             EXPECT_STREQ(s.filter_exts[2], ".pdf");
         }},
        {"@filter=.txt; .doc;;\n",
         [](auto &s) {
             EXPECT_EQ(s.filter_count, 2);
             EXPECT_STREQ(s.filter_exts[1], " .doc");
         }},
        {"@filter=.\n",
         [](auto &s) {
             EXPECT_EQ(s.filter_count, 2);
             EXPECT_STREQ(s.filter_exts[0], ".exe");
         }},
        {"@filter=.a;.b;.c;.d;.e;.f;.g;.h;.i;.j;.k;.l\n",
         [](auto &s) {
             EXPECT_EQ(s.filter_count, 10);
             EXPECT_STREQ(s.filter_exts[9], ".j");
         }},
        {"@icon=0\n@icon=1\n", [](auto &s) { EXPECT_EQ(s.icon_mode, 1); }},
        {"@ICON=1\n", [](auto &s) { EXPECT_EQ(s.icon_mode, 2); }},
        {"; @icon\n   \t@mark=0\n@sysmenu=0\n@active=1\n",
         [](auto &s) {
             EXPECT_EQ(s.icon_mode, 0);
             EXPECT_EQ(s.variant_mark, 0);
             EXPECT_EQ(s.system_entry_always, 0);
             EXPECT_EQ(s.force_activate, 1);
         }},
        {"@xinit=abc\n@xtitle=0123456789012345678901234567890123\n",
         [](auto &s) {
             EXPECT_STREQ(s.input_initial_text, "abc");
             EXPECT_EQ(strlen(s.input_title), 31u);
             EXPECT_EQ(s.input_title_mode, 2);
         }},
        {"@xtitle\n", [](auto &s) { EXPECT_EQ(s.input_title_mode, 1); }},
        {"@filer\n",
         [](auto &s) {
             EXPECT_EQ(s.filer_enabled, 1);
             EXPECT_STREQ(s.filer_path, "");
         }},
        {"@editor=no_such_program_here\n@filer=C:\\windows\n",
         [](auto &s) {
             EXPECT_STREQ(s.editor_path, "");
             EXPECT_STREQ(s.filer_path, "");
             EXPECT_EQ(s.filer_enabled, 1);
         }},
        {"@editor=notepad\n",
         [](auto &s) {
             EXPECT_TRUE(strstr(s.editor_path, ":\\")) << s.editor_path;
             EXPECT_TRUE(strstr(s.editor_path, "notepad.exe"));
         }},
    };
    run_cases(cases, sizeof cases / sizeof cases[0]);
}

TEST(Directives, MouseWordsNeedAMouseAndStillTakeTheMenuLine) {
    const DirectiveCase cases[] = {
        {"@menu=mouse\n@menu=center\n", [](auto &s) { EXPECT_EQ(s.menu_position, 0); }},
        {"@menu=mous2\n", [](auto &s) { EXPECT_EQ(s.menu_position, 0); }},
    };
    run_cases(cases, 2, 0);
}

TEST(Directives, ParamBlockTakesTenLinesThenDirectivesFollow) {
    std::string lines = "@dlm=::\n@param\n";
    for (int i = 0; i < 12; ++i)
        lines += "name" + std::to_string(i) + "::value" + std::to_string(i) + "\n";
    lines += "@sysmenu=0::tail\n@mark=0\n";
    reset_launcher_state();
    load_text("[system]\n" + lines + "%end\n");
    EXPECT_EQ(g_settings.placeholders_enabled, 1);
    ASSERT_EQ(g_settings.param_count, 10);
    EXPECT_STREQ(g_settings.param_names[9], "name9");
    EXPECT_STREQ(g_settings.param_values[9], "value9");
    EXPECT_EQ(g_settings.variant_mark, 0);  // read as a directive after the block
    // The block ends at a line without the delimiter, which is then a directive.
    reset_launcher_state();
    load_text("[system]\n@param\n a very long parameter name | v | w\n@active=1\n%end\n");
    ASSERT_EQ(g_settings.param_count, 1);
    EXPECT_STREQ(g_settings.param_names[0], " a very long parame");
    EXPECT_STREQ(g_settings.param_values[0], "v | w");
    EXPECT_EQ(g_settings.force_activate, 1);
}

TEST(Directives, SearchListFromValueOrFile) {
    ScratchFolder dir;
    std::string a = dir.make_folder("a"), b = dir.make_folder("b");
    dir.write("b\\tool1.exe", "MZ");
    std::string list_file = dir.write("list.txt", "x\r\nPATH=\t" + a + ";" + b + "\r\nmore\r\n");
    std::string plain_file = dir.write("plain.txt", a + ";\r\n" + b + "\r\n");
    struct {
        std::string value, list;
    } cases[] = {
        {a + ";" + b, a + ";" + b},
        {list_file, a + ";" + b},
        {plain_file, a + ";" + b},
    };
    for (const auto &c : cases) {
        reset_launcher_state();
        load_text("[system]\n@path=" + c.value + "\n%end\n[launch]\ntool1 | T\n%end\n");
        SCOPED_TRACE(c.value);
        EXPECT_EQ(g_settings.search_list_set, 1);
        EXPECT_EQ(g_settings.search_list, c.list);
        ASSERT_EQ(g_items.item_count, 1);
        EXPECT_EQ(std::string(g_items.target[0]), b + "\\tool1.exe");
    }
}
