// The definition as loaded: rows, settings, resolution, listings, placeholders
// and the command line, each case a definition and what it loads to.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/platform.h"
#include "definition/cmdline.h"
#include "definition/environment.h"
#include "definition/items.h"
#include "definition/loader.h"
#include "definition/placeholders.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "test_support.h"

namespace {

std::string g_dir;  // the scratch folder, "~" in cases and descriptions

std::string with_dir(std::string text) {
    for (size_t at; (at = text.find('~')) != std::string::npos;) text.replace(at, 1, g_dir);
    return text;
}

std::string short_form(std::string text) {
    for (size_t at; !g_dir.empty() && (at = text.find(g_dir)) != std::string::npos;)
        text.replace(at, g_dir.size(), "~");
    return text.size() > 40 ? "#" + std::to_string(text.size()) : text;
}

// The rows as "K<level>[title]^key=target" joined by " | " (kinds E entry, V
// variant, O sole variant, S separator, C column break, B submenu, X its end;
// level when deeper than 0), then every setting that differs from an empty
// definition's as name=value.
std::string describe(const LauncherSettings &defaults) {
    std::string out;
    for (int i = 0; i < g_items.item_count; ++i) {
        out += std::string(i ? " | " : "") + "EVSC?O??BX"[g_items.kind[i]];
        if (g_items.level[i]) out += std::to_string(g_items.level[i]);
        if (g_items.title[i][0]) out += "[" + short_form(g_items.title[i]) + "]";
        if (g_items.access_key[i][0]) out += std::string("^") + g_items.access_key[i];
        if (g_items.target[i][0]) out += "=" + short_form(g_items.target[i]);
    }
    const LauncherSettings &s = g_settings;
    auto text = [&](const char *name, const char *now, const char *was) {
        if (std::string(now) != was) out += std::string(" ") + name + "=" + short_form(now);
    };
#define NUMBER(name, ...) \
    if (s.name != defaults.name) out += " " #name "=" + std::to_string(s.name);
#define TEXT(name, ...) text(#name, s.name, defaults.name);
#define TEXTS(name, count, ...) \
    for (int i = 0; i < count; ++i) text((#name + std::to_string(i)).c_str(), s.name[i], defaults.name[i]);
    TAVRIK_SETTINGS(NUMBER, NUMBER, TEXT, TEXTS)
#undef NUMBER
#undef TEXT
#undef TEXTS
    return out;
}

class Definition : public ::testing::Test {
protected:
    void SetUp() override {
        g_dir = dir.path();
        for (const char *file : {"ed.exe", "Tool Two.exe", "tool.com", "bin\\found.exe",
                                 "list\\a.exe", "list\\B.lnk", "list\\note.txt", "list\\sub\\c.exe",
                                 "list\\sub\\deep\\d.exe", "empty\\x.txt"})
            dir.write(file, "MZ");
        dir.write("paths.txt", with_dir("x\r\nPATH=\t~bin;~list\r\nmore\r\n"));
        set_current_folder(dir.path());
        set_environment("TVT", dir.path().c_str());
        set_environment("PATHEXT", ".COM;.EXE;.BAT");
        set_app_path(0, "tvapp.exe", with_dir("~ed.exe").c_str());
        reset_launcher_state(dir.path());
        load_text("");
        defaults = g_settings;
    }
    void TearDown() override {
        set_current_folder(temp_folder());
        set_environment("TVT", nullptr);
        set_app_path(0, "tvapp.exe", nullptr);
        g_dir.clear();
    }
    // Loads text over what a fuller definition left: a load starts afresh.
    std::string load(const std::string &text, int mouse_buttons = 3) {
        reset_launcher_state(dir.path());
        load_text(with_dir("[system]\n@dlm=::\n@param\nP::x\n@dist=9\n@folder=1,0,0\n@filter=.q\n"
                           "@mark=0\n@sysmenu=0\n@font=F,9,9\n@xtitle=T\n@path=~bin\n"
                           "@filer=~ed.exe\n@editor=~ed.exe\n%end\n[launch]\n~list\n"));
        g_settings.icon_mode = g_settings.menu_position = kUnset;  // as no command line chose
        g_settings.menu_x = g_settings.menu_y = 0;
        g_startup.mouse_buttons = mouse_buttons;
        load_text(with_dir(text));
        return describe(defaults);
    }
    ScratchFolder dir;
    LauncherSettings defaults;
};

}  // namespace

TEST_F(Definition, LaunchRowsAndTheirTargets) {
    const std::string s259(259, 't'), long_line = "~ed.exe" + std::string(520, 'x') + " | far";
    const struct {
        std::string lines, rows;
    } cases[] = {
        {"+\n-\n>x\n}\n{\n~ed.exe | &Ed\n", "E[&Ed]^E=~ed.exe"},
        {"~ed.exe | Ed\n>-n | new\n+\n>-p\n-\n~ed.exe\n", "E[Ed]=~ed.exe | V[new]=-n | S | V[-p]=-p | C | E[ed]=~ed.exe"},
        {"{&Sub\n+\n>x\n~ed.exe | A\n}\n+\n}\n>y\n", "B[&Sub]^S | E1[A]=~ed.exe | X1 | S"},
        {"{A\n{B\n~ed.exe | in\n}\n", "B[A] | B1[B] | E2[in]=~ed.exe | X2"},
        {"~ed.exe | A\nnot_here | B\n+\n", "E[A]=~ed.exe | S"},
        {"Tool Two | T2\n~ed.exe\n%END\n~ed.exe | after\n", "E[T2]=~Tool Two.exe | E[ed]=~ed.exe"},
        {"\t  ; comment\n  ~ed.exe | in\n~ed.exe | last line without LF", "E[in]=~ed.exe"},  // no LF
        {"ed | E&dit\n~e\td.exe\r\n~.\\sub\\..\\ed.exe | x& \n~ed.exe | a&\n",
         "E[E&dit]^d=~ed.exe | E[ed]=~ed.exe | E[x& ]^ =~ed.exe | E[a&]=~ed.exe"},
        {"~ed.exe | " + std::string(600, 't') + "\n~ed.exe | next\n{" + std::string(400, 's') + "\n",
         "E[#259]=~ed.exe | E[next]=~ed.exe | B[#259]"},
        {long_line + "\nhttps://e.jp/" + std::string(250, 'a') + " | cut\n", ""},
        // Resolution: as written, ".exe", the search list (value or file), the
        // system's order, App Paths, PATHEXT; variables, URLs as written.
        {"found | F\ncmd | C\ntvapp | A\ntool | T\n%TVT%ed | &V\nms-settings:display\n"
         "https://e.jp/a%20b?q=1 | &W\n \n%TVT%nothing\n",
         "E[C]=C:\\windows\\system32\\cmd.exe | E[A]=~ed.exe | E[T]=~tool.com | E[&V]^V=~ed.exe | "
         "E[ms-settings:display]=ms-settings:display | E[&W]^W=https://e.jp/a%20b?q=1"},
        {"[system]\n@path=~bin\n%end\n[launch]\nfound | F\n", "E[F]=~bin\\found.exe search_list=~bin search_list_set=1"},
        {"[system]\n@path=~paths.txt\n%end\n[launch]\nfound | F\na | L\n",
         "E[F]=~bin\\found.exe | E[L]=~list\\a.exe search_list=~bin;~list search_list_set=1"},
        // Listings: every subfolder by default, sorted by name, "&" titles;
        // an empty one goes, with what it would have owned.
        {"~list | &L\n+\n", "B[&L]^L=~list | E1[&a]^a=~list\\a.exe | E1[&B]^B=~list\\B.lnk | "
                          "E1[&c]^c=~list\\sub\\c.exe | E1[&d]^d=~list\\sub\\deep\\d.exe | X1"},
        {"[system]\n@folder=2,1,0\n%end\n[launch]\n~list\n", "B[list]=~list | E1[a]=~list\\a.exe | E1[B]=~list\\B.lnk | E1[c]=~list\\sub\\c.exe | X1 folder_depth=2 folder_access_keys=0"},
        {"[system]\n@folder=1\n@filter=.TXT\n%end\n[launch]\n~list\n",
         "B[list]=~list | E1[&note]^n=~list\\note.txt | X1 folder_depth=1 filter_exts0=.TXT filter_exts1= filter_count=1"},
        {"~empty | E\n+\n~ed.exe\n>p\n", "E[ed]=~ed.exe | O[p]=p"},
        {"[system]\n@param\nTOOLS | ~\n%end\n[launch]\nTOOLSed.exe | %drv_Tvr%\n%ins_Tvr%\\ed.exe\n",
         "E[C:]=~ed.exe | E[ed]=~ed.exe placeholders_enabled=1 param_names0=TOOLS param_values0=~ param_count=1"},
        // Sections in any case and order; without "%end" [system] runs on.
        {"[LAUNCH]\n~ed.exe\n%end\n[System]\n@mark=0\n%end\n", "E[ed]=~ed.exe variant_mark=0"},
        {"[system]\n@icon\n[launch]\n@sysmenu=0\n~ed.exe\n", "E[ed]=~ed.exe icon_mode=1 system_entry_always=0"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines.substr(0, 60));
        EXPECT_EQ(load(c.lines[0] == '[' ? c.lines : "[launch]\n" + c.lines), c.rows);
    }
}

TEST_F(Definition, DirectivesBoundsAndFallbacks) {
    const std::string cut31 = "0123456789012345678901234567890";
    const struct {
        std::string lines, settings;
        int mouse_buttons;
    } cases[] = {
        {"@dlm=:\n@dlm=" + cut31 + "123", " delimiter=" + cut31, 3},
        {"@menu=1", "", 3},
        {"@menu=100,200", " menu_position=1 menu_x=100 menu_y=200", 3},
        {"@menu=MAX,MAX", " menu_position=1 menu_x=1024 menu_y=740", 3},
        {"@menu=max,max,", " menu_position=1 menu_x=1024 menu_y=740", 3},
        {"@menu=100,max", " menu_position=1 menu_x=100", 3},
        {"@menu= +50,-60\n@menu=center", " menu_position=1 menu_x=50 menu_y=-60", 3},
        {"@menu=MOUSE", " menu_position=2", 3},
        {"@menu=mous2", " menu_position=3", 3},
        {"@menu=xCENTERx", "", 3},
        {"@menu=CENTER,5", " menu_position=4", 3},
        {"@menu=mouse\n@menu=center", "", 0},
        {"@menu=mous2", "", 0},
        {"@font=Arial", " font_face=Arial font_size=16 font_set=1", 3},
        {"@font=,12,7", " font_size=12 font_weight=700", 3},
        {"@font=X,0,11", " font_face=X font_size=16 font_set=1", 3},
        {"@dist=500", " first_launch_delay=500 next_launch_delay=500", 3},
        {"@dist=10001,300", " next_launch_delay=300", 3},
        {"@folder=2", " folder_depth=2", 3},
        {"@folder=-1,0,0", " folder_sort=0 folder_access_keys=0", 3},
        {"@filter=.txt;.doc\n@filter=.pdf", " filter_exts0=.txt filter_exts1=.doc filter_exts2=.pdf filter_count=3", 3},
        {"@filter=.txt; .doc;;\n@filter=.", " filter_exts0=.txt filter_exts1= .doc", 3},
        {"@filter=.a;.b;.c;.d;.e;.f;.g;.h;.i;.j;.k", " filter_exts0=.a filter_exts1=.b filter_exts2=.c filter_exts3=.d filter_exts4=.e filter_exts5=.f filter_exts6=.g filter_exts7=.h filter_exts8=.i filter_exts9=.j filter_count=10", 3},
        {"@icon=0\n@icon=1", " icon_mode=1", 3},
        {"@ICON=1", " icon_mode=2", 3},
        {"; @icon\n   \t@mark=0\n@sysmenu=0\n@active=1", " variant_mark=0 system_entry_always=0 force_activate=1", 3},
        {"@xinit=abc\n@xtitle=" + cut31 + "123", " input_initial_text=abc input_title=" + cut31 + " input_title_mode=2", 3},
        {"@xtitle", " input_title_mode=1", 3},
        {"@filer\n@editor=no_such_program_here", " filer_enabled=1", 3},
        {"@editor=~ed\n@filer=~list", " filer_enabled=1 editor_path=~ed.exe", 3},
        {"@filer=~Tool Two", " filer_enabled=1 filer_path=~Tool Two.exe", 3},
        {"@dlm=::\n@param\nA::1\nB::2\nno delimiter\n@mark=0", " variant_mark=0 placeholders_enabled=1 param_names0=A param_names1=B param_values0=1 param_values1=2 param_count=2 delimiter=::", 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(load("[system]\n" + c.lines + "\n%end\n", c.mouse_buttons), c.settings);
    }
    // Ten user parameters at most: the eleventh line is read as a directive.
    std::string lines = "[system]\n@param\n";
    for (int i = 0; i < 10; ++i) lines += "n" + std::to_string(i) + " | " + std::to_string(i) + "\n";
    load(lines + "@active=1 | x\n%end\n");
    EXPECT_EQ(g_settings.param_count, 10);
    EXPECT_EQ(g_settings.force_activate, 1);
}
