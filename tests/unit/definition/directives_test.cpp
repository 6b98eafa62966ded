// The [system] directives: bounds, fallbacks, order and the "@param" block.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <sstream>
#include <string>

#include "definition/startup.h"
#include "definition/directives.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

// The settings the cases look at as ";name=value;" words.
std::string describe(const LauncherSettings &s) {
    std::ostringstream o;
    o << ";dlm=" << s.delimiter << ";pos=" << s.menu_position << ";x=" << s.menu_x
      << ";y=" << s.menu_y << ";face=" << s.font_face << ";fontset=" << s.font_set
      << ";size=" << s.font_size << ";weight=" << s.font_weight << ";first=" << s.first_launch_delay
      << ";next=" << s.next_launch_delay << ";depth=" << s.folder_depth << ";sort=" << s.folder_sort
      << ";keys=" << s.folder_access_keys << ";filters=" << s.filter_count;
    for (int i = 0; i < s.filter_count && i < kMaxFilters; ++i)
        o << ";ext" << i << "=" << s.filter_exts[i];
    o << ";icon=" << s.icon_mode << ";mark=" << s.variant_mark
      << ";sysmenu=" << s.system_entry_always << ";active=" << s.force_activate
      << ";xinit=" << s.input_initial_text << ";xtitle=" << s.input_title
      << ";titlemode=" << s.input_title_mode << ";filer=" << s.filer_enabled
      << ";filerpath=" << s.filer_path << ";editor=" << s.editor_path << ";";
    return o.str();
}

}  // namespace

// Each case: the [system] lines, then "name=value" (equal) or "name~value"
// (contains) checks separated by ";".
TEST(Directives, ValuesBoundsAndFallbacks) {
    const std::string cut31 = "0123456789012345678901234567890";
    const struct {
        std::string lines, expected;
        int mouse_buttons;
    } cases[] = {
        {"@dlm=:", "dlm= | ", 3},
        {"@dlm=" + cut31 + "123", "dlm=" + cut31, 3},
        {"@menu=1", "pos=0", 3},
        {"@menu=100,200", "pos=1;x=100;y=200", 3},
        {"@menu=MAX,MAX", "x=1024;y=740", 3},
        {"@menu=max,max,", "x=1024;y=740", 3},  // lower-case max before the last comma
        {"@menu=100,max", "pos=1;y=0", 3},
        {"@menu= +50,-60", "x=50;y=-60", 3},
        {"@menu=100\n@menu=center", "pos=0", 3},
        {"@menu=MOUSE", "pos=2", 3},
        {"@menu=mous2", "pos=3", 3},
        {"@menu=xCENTERx", "pos=0", 3},
        {"@menu=CENTER,5", "pos=4;y=0", 3},
        // Without a mouse the mouse words fall back, and still take the line.
        {"@menu=mouse\n@menu=center", "pos=0", 0},
        {"@menu=mous2", "pos=0", 0},
        {"@font=Arial", "face=Arial;fontset=1;size=16;weight=0", 3},
        {"@font=,12,7", "fontset=0;size=12;weight=700", 3},
        {"@font=X,0,11", "size=16;weight=0", 3},
        {"@dist=500", "first=500;next=500", 3},
        {"@dist=10001,300", "first=0;next=300", 3},
        {"@folder=2", "depth=2;sort=1;keys=1", 3},
        {"@folder=-1,0,0", "depth=0;sort=0;keys=0", 3},
        {"@filter=.txt;.doc\n@filter=.pdf", "filters=3;ext2=.pdf", 3},
        {"@filter=.txt; .doc;;", "filters=2;ext1= .doc", 3},
        {"@filter=.", "filters=2;ext0=.exe", 3},
        {"@filter=.a;.b;.c;.d;.e;.f;.g;.h;.i;.j;.k;.l", "filters=10;ext9=.j", 3},
        {"@icon=0\n@icon=1", "icon=1", 3},
        {"@ICON=1", "icon=2", 3},
        {"; @icon\n   \t@mark=0\n@sysmenu=0\n@active=1", "icon=0;mark=0;sysmenu=0;active=1", 3},
        {"@xinit=abc\n@xtitle=" + cut31 + "123", "xinit=abc;xtitle=" + cut31 + ";titlemode=2", 3},
        {"@xtitle", "titlemode=1", 3},
        {"@filer", "filer=1;filerpath=", 3},
        {"@editor=no_such_program_here\n@filer=C:\\windows", "editor=;filerpath=;filer=1", 3},
        {"@editor=notepad", "editor~:\\;editor~notepad.exe", 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines);
        reset_launcher_state();
        g_startup.mouse_buttons = c.mouse_buttons;
        load_text("[system]\n" + c.lines + "\n%end\n");
        const std::string got = describe(g_settings);
        for (size_t at = 0, end; at < c.expected.size(); at = end + 1) {
            end = std::min(c.expected.find(';', at), c.expected.size());
            const std::string check = c.expected.substr(at, end - at);
            const size_t op = check.find_first_of("=~");
            // "~": the value appears after the name (the editor is the last word).
            bool ok = check[op] == '=' ? got.find(";" + check + ";") != std::string::npos
                                       : got.find(check.substr(op + 1),
                                                  got.find(";" + check.substr(0, op) + "=")) !=
                                             std::string::npos;
            EXPECT_TRUE(ok) << check << " in " << got;
        }
    }
}

// Pictures take the small-icon size of the menu's DPI; an "@font=" size is
// given for 96 DPI and scaled, rounded as MulDiv rounds, with owner-drawn items.
TEST(Directives, PictureSizesFollowTheMenusDpi) {
    const struct {
        const char *lines;
        int dpi, icon, drawn;
    } cases[] = {
        {"@icon=1\n@font=X,13", 96, 16, 13},  {"@icon=1\n@font=X,13", 144, 24, 20},
        {"@icon=1\n@font=X,11", 144, 24, 17}, {"@icon=1\n@font=X,2147483647", 144, 24, INT_MAX},
        {"@icon\n@font=X,13", 144, 24, 24},   {"@icon=1", 120, 20, 20},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines + std::string(" at ") + std::to_string(c.dpi));
        reset_launcher_state();
        load_text(std::string("[system]\n") + c.lines + "\n%end\n");
        settings_use_dpi(c.dpi);
        EXPECT_EQ(g_settings.icon_width, c.icon);
        EXPECT_EQ(g_settings.icon_height, c.icon);
        EXPECT_EQ(g_settings.icon_draw_width, c.drawn);
        EXPECT_EQ(g_settings.icon_draw_height, c.drawn);
    }
}

TEST(Directives, ParamBlockTakesTenLinesThenDirectivesFollow) {
    std::string lines = "@dlm=::\n@param\n";
    for (int i = 0; i < 12; ++i)
        lines += "name" + std::to_string(i) + "::value" + std::to_string(i) + "\n";
    reset_launcher_state();
    load_text("[system]\n" + lines + "@sysmenu=0::tail\n@mark=0\n%end\n");
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
    for (const std::string &value :
         {a + ";" + b, dir.write("list.txt", "x\r\nPATH=\t" + a + ";" + b + "\r\nmore\r\n"),
          dir.write("plain.txt", a + ";\r\n" + b + "\r\n")}) {
        SCOPED_TRACE(value);
        reset_launcher_state();
        load_text("[system]\n@path=" + value + "\n%end\n[launch]\ntool1 | T\n%end\n");
        EXPECT_EQ(g_settings.search_list_set, 1);
        EXPECT_EQ(g_settings.search_list, a + ";" + b);
        ASSERT_EQ(g_items.item_count, 1);
        EXPECT_EQ(std::string(g_items.target[0]), b + "\\tool1.exe");
    }
    // A line is cut at 517 bytes; the 511th byte of this value would be the
    // first half of a double-byte character, so the cut keeps 510.
    std::string kana;
    for (int i = 0; i < 300; ++i) kana += "\x83\x41";
    reset_launcher_state();
    load_text("[system]\n@path=" + kana + "\n%end\n");
    EXPECT_EQ(g_settings.search_list, kana.substr(0, 510));
}
