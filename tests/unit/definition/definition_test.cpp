// The definition stage: the cases of cases.txt (definitions and what they
// load to, resolution, placeholders, variables, command lines) over a scratch
// folder "~", and the choice of the definition file.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/platform.h"
#include "definition/cmdline.h"
#include "definition/environment.h"
#include "definition/items.h"
#include "definition/listing.h"
#include "definition/loader.h"
#include "definition/placeholders.h"
#include "definition/resolve.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "definition_cases.h"
#include "test_support.h"

namespace {

class Definition : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *file :
             {"ed.exe", "work.ini", "Tool Two.exe", "tool.com", "found.com", "both.exe", "both.com",
              "bin\\found.exe", "list\\a.exe", "list\\B.lnk", "list\\note.txt", "list\\sub\\c.exe",
              "list\\sub\\deep\\d.exe", "list\\sub2\\e.exe", "empty\\x.txt"})
            dir.write(file, "MZ");
        for (int i = 0; i < 120; ++i) dir.write("many\\f" + std::to_string(1000 + i) + ".exe", "");
        dir.write("paths.txt", with_dir("x\r\nPATH=\t~\\bin;~\\list\r\nmore\r\n"));
        set_current_folder(dir.path());
        set_environment("TVT", home.c_str());
        set_environment("System", "C:\\S");  // a placeholder's name stays a placeholder
        set_environment("PATHEXT", ".COM;.EXE;.BAT");
        const char *app_paths[][3] = {{"tvapp.exe", "~\\ed.exe", ""},
                                      {"ed.exe", "~\\tool.com", ""},  // the ed.exe found today wins
                                      {"tvone.exe", "\"~\\Tool Two.exe\"", "~\\tool.com"},
                                      {"tvtwo.exe", "~\\gone.exe", "~\\tool.com"}};
        for (auto &a : app_paths)
            for (int machine : {0, 1})
                set_app_path(machine, a[0],
                             a[1 + machine][0] ? with_dir(a[1 + machine]).c_str() : nullptr);
        reset_launcher_state(dir.path());
        load_text("");
        settings_use_dpi(96);
        defaults = g_settings;
    }
    void TearDown() override {
        for (const char *name : {"TVT", "System", "PATHEXT"}) set_environment(name, nullptr);
        for (const char *name : {"tvapp.exe", "ed.exe", "tvone.exe", "tvtwo.exe"})
            for (int machine : {0, 1}) set_app_path(machine, name, nullptr);
    }
    std::string with_dir(std::string text) {
        for (size_t at; (at = text.find('~')) != std::string::npos;) text.replace(at, 1, home);
        return text;
    }
    std::string short_form(std::string text) {
        for (size_t at; (at = text.find(home)) != std::string::npos;)
            text.replace(at, home.size(), "~");
        return text.size() > 40 ? "#" + std::to_string(text.size()) : text;
    }
    // The rows, one a line, as "K<level>[title]^key=target" (kinds E entry,
    // V variant, O sole variant, S separator, C column break, B submenu, X its
    // end; level when deeper than 0) with a variant's "@owner" and an entry's
    // "*variants"; then each setting that differs from an empty definition's.
    std::vector<std::string> describe(int last_rows) {
        std::vector<std::string> out;
        const ItemTable &t = g_items;
        if (last_rows) out.push_back(std::to_string(t.item_count) + " rows");
        for (int i = 0; i < t.item_count; ++i) {
            if (last_rows && i && i < t.item_count - last_rows) continue;
            std::string row(1, "EVSC?O??BX"[t.kind[i]]);
            if (t.level[i]) row += std::to_string(t.level[i]);
            if (t.title[i][0]) row += "[" + short_form(t.title[i]) + "]";
            if (t.access_key[i][0]) row += std::string("^") + t.access_key[i];
            if (t.target[i][0]) row += "=" + short_form(t.target[i]);
            if (t.kind[i] == Variant || t.kind[i] == SoleVariant)
                row += "@" + std::to_string(t.owner[i]);
            if (t.variant_count[i]) row += "*" + std::to_string(t.variant_count[i]);
            out.push_back(row);
        }
        const LauncherSettings &s = g_settings;
        auto text = [&](std::string name, const char *now, const char *was) {
            if (std::string(now) != was) out.push_back(name + "=" + short_form(now));
        };
#define NUMBER(name, ...) \
    if (s.name != defaults.name) out.push_back(#name "=" + std::to_string(s.name));
#define TEXT(name, ...) text(#name, s.name, defaults.name);
#define TEXTS(name, count, ...) \
    for (int i = 0; i < count; ++i) text(#name + std::to_string(i), s.name[i], defaults.name[i]);
        TAVRIK_SETTINGS(NUMBER, NUMBER, TEXT, TEXTS)
        NUMBER(icon_width)
        NUMBER(icon_draw_width)
#undef NUMBER
#undef TEXT
#undef TEXTS
        return out;
    }
    // Runs one case; "name=value" words of its head are options.
    std::vector<std::string> run(const Case &c) {
        std::vector<std::string> out;
        char text[kPlaceholderTextSize];
        const std::string &kind = c.head[0];
        if (kind == "load") {
            // Over what a fuller definition left: a load starts afresh.
            reset_launcher_state(dir.path());
            load_text(with_dir(
                "[system]\n@dlm=::\n@param\nQZQ::x\n@dist=9\n@folder=1,0,0\n@filter=.q\n"
                "@mark=0\n@sysmenu=0\n@font=F,9,9\n@xtitle=T\n@path=~\\bin\n@filer=~\\ed.exe\n"
                "@editor=~\\ed.exe\n%end\n[launch]\n~\\ed.exe\n>a\n>b\n~\\ed.exe\n>c\n~\\ed.exe\n"
                ">d\n>e\n~\\list\n"));
            g_settings.icon_mode = g_settings.menu_position = kUnset;  // as no command line chose
            g_settings.menu_x = g_settings.menu_y = 0;
            g_startup.mouse_buttons = c.number("mouse", 3);
            load_text(with_dir(c.input));
            settings_use_dpi(c.number("dpi", 96));
            return describe(c.number("last", 0));
        }
        if (!c.option("param").empty()) {  // "param=NAME": the one parameter, "vNAME"
            g_settings.param_count = 1;
            text_copy(g_settings.param_names[0], c.option("param").c_str());
            text_copy(g_settings.param_values[0], ("v" + c.option("param")).c_str());
        }
        std::istringstream input(with_dir(c.input));
        for (std::string line; std::getline(input, line);) {
            if (kind == "resolve") {
                int found = resolve_program(line.c_str(), c.number("exe", 1), text);
                out.push_back(found ? short_form(text) : "-");
            } else if (kind == "expand") {
                int date = c.number("date", 20100105);
                SysTime day = {};
                day.year = (uint16_t)(date / 10000);
                day.month = (uint16_t)(date / 100 % 100);
                day.day = (uint16_t)(date % 100);
                int size = c.number("size", 0);  // given: the length of the result
                char *big = new char[size ? size : sizeof text];
                expand_placeholders_on(line.c_str(), day, big, size ? size : sizeof text);
                out.push_back(size ? std::to_string(strlen(big)) + " bytes" : short_form(big));
                delete[] big;
            } else if (kind == "folders") {  // "token number": the special folder of that number
                size_t space = line.rfind(' ');
                expand_placeholders(line.substr(0, space).c_str(), text, sizeof text);
                char folder[kPathSize];
                if (text != (plat_special_folder(std::stoi(line.substr(space)), folder)
                                 ? folder
                                 : line.substr(0, space)))
                    out.push_back(line + " gave " + text);
            } else if (kind == "environment") {
                expand_environment(line.c_str(), text, kPathSize);
                out.push_back(short_form(text));
            } else if (kind == "cmdline") {
                reset_launcher_state(dir.path());
                g_startup.mouse_buttons = c.number("mouse", 3);
                g_startup.target_window = 99;
                parse_command_line(line.c_str());
                const LauncherSettings &s = g_settings;
                out.push_back(short_form(g_startup.definition_path) + " " +
                              std::to_string(s.icon_mode) + " " + std::to_string(s.menu_position) +
                              " " + std::to_string(s.menu_x) + "," + std::to_string(s.menu_y) +
                              " " + std::to_string((intptr_t)g_startup.target_window));
            }
        }
        return out;
    }
    ScratchFolder dir;
    const std::string home = dir.path().substr(0, dir.path().size() - 1);
    LauncherSettings defaults;
};

}  // namespace

TEST_F(Definition, Cases) {
    for (const Case &c : read_cases(kCases)) {
        SCOPED_TRACE("cases.txt:" + std::to_string(c.line));
        EXPECT_EQ(run(c), c.expected);
    }
}

TEST_F(Definition, DefinitionFileChosenCreatedOrReported) {
    text_copy(g_startup.default_definition_name, "Menu2.ini");
    text_copy(g_startup.definition_path, with_dir("~\\missing.ini").c_str());
    EXPECT_EQ(load_definition(), 1);  // nothing there: the default name, created empty
    EXPECT_EQ(short_form(g_startup.definition_path), "~\\Menu2.ini");
    EXPECT_EQ(read_file(dir.path() + "Menu2.ini"), "");
    EXPECT_GE(g_settings.definition_time.year, 2020);
    text_copy(g_startup.default_definition_name, "Menu3.ini");  // Tavrik.ini when it is missing
    dir.write("Tavrik.ini", with_dir("[launch]\n~\\ed.exe\n"));
    text_copy(g_startup.definition_path, with_dir("~\\missing.ini").c_str());
    EXPECT_EQ(load_definition(), 1);
    EXPECT_EQ(short_form(g_startup.definition_path) + " " + describe(0)[0],
              "~\\Tavrik.ini E[ed]=~\\ed.exe");
    text_copy(g_startup.definition_path, dir.path().c_str());  // a folder cannot be read
    EXPECT_EQ(load_definition(), 0);
    startup_begin("D:\\tools\\Menu2.exe", 0);
    EXPECT_EQ(std::string(g_startup.program_base) + " " + g_startup.default_definition_name + " " +
                  g_startup.program_folder + " " + g_startup.program_drive + " " +
                  g_startup.help_path + " " + g_startup.definition_path,
              "Menu2 Menu2.ini D:\\tools\\ D: D:\\tools\\Tavrik.txt D:\\tools\\Menu2.ini");
}

// The checker item loads the definition again; the menu's own comes back.
TEST_F(Definition, KeptDefinitionComesBackAfterWork) {
    load_text(with_dir("[system]\n@mark=0\n%end\n[launch]\n~\\ed.exe\n"));
    EXPECT_EQ(keep_loaded_definition([](void *) { load_text("[launch]\n"); }, nullptr), 1);
    EXPECT_EQ(describe(0), (std::vector<std::string>{"E[ed]=~\\ed.exe", "variant_mark=0"}));
}

// Names the comparison finds equal keep the order the exchanges give them.
TEST_F(Definition, ListingOrderOfEqualNames) {
    load_text("[launch]\n");
    const char *const paths[] = {"C:\\a\\x.exe", "C:\\b\\X.exe", "C:\\c\\w.exe", "C:\\d\\y.exe"};
    for (const char *path : paths) text_copy(g_listing.paths[g_listing.count++], path);
    add_listing_rows(0);
    std::string folders;
    for (int row = 0; row < g_items.item_count; ++row) folders += g_items.target[row][3];
    EXPECT_EQ(folders, "cbad");
}
