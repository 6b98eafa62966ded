// Program resolution: today's order first and unchanged, then App Paths and
// the PATHEXT extensions; environment variables in paths.
#include <gtest/gtest.h>

#include <string>

#include "core/platform.h"
#include "definition/environment.h"
#include "definition/resolve.h"
#include "definition/settings.h"
#include "test_support.h"

TEST(Resolve, TodaysOrderFirstThenAppPathsThenPathExt) {
    ScratchFolder dir;
    const std::string d = dir.path();
    reset_launcher_state(d);
    set_current_folder(d);
    for (const char *file :
         {"ed.exe", "both.exe", "both.com", "one.com", "one.bat", "listed.com", "list\\listed.exe",
          "list\\lbat.bat", "sub\\script.cmd", "app dir\\real.exe", "cu.exe", "lm.exe"})
        dir.write(file, "MZ");
    char path_ext[1024];
    int had_path_ext = plat_environment("PATHEXT", path_ext, sizeof path_ext);
    set_environment("PATHEXT", ".COM;.EXE;.BAT;.CMD");
    struct {
        const char *name;
        std::string user, machine;  // the values of the two registrations, empty for none
    } app_paths[] = {
        {"ed.exe", d + "cu.exe", ""},  // the ed.exe found today wins
        {"tvapp.exe", "\"" + d + "app dir\\real.exe\"", ""},
        {"tvone.exe", d + "cu.exe", d + "lm.exe"},
        {"tvtwo.exe", d + "gone.exe", d + "lm.exe"},
    };
    for (auto &a : app_paths) {
        if (!a.user.empty()) set_app_path(0, a.name, a.user.c_str());
        if (!a.machine.empty()) set_app_path(1, a.name, a.machine.c_str());
    }
    snprintf(g_settings.search_list, kSearchListSize, "%slist", d.c_str());
    g_settings.search_list_set = 1;
    struct {
        std::string target, found;  // found: below the folder, empty for none
    } cases[] = {
        {"ed", "ed.exe"},
        {"both", "both.exe"},
        {"listed", "list\\listed.exe"},  // the search list's ".exe" before PATHEXT here
        {"tvapp", "app dir\\real.exe"},
        {"tvapp.exe", "app dir\\real.exe"},
        {"tvone", "cu.exe"},
        {"tvtwo", "lm.exe"},
        {"one", "one.com"},
        {"lbat", "list\\lbat.bat"},
        {d + "sub\\script", "sub\\script.cmd"},
        {"sub\\tvapp", ""},  // App Paths: bare names
        {"nothing", ""},
    };
    for (const auto &c : cases) {
        char out[kPathSize];
        EXPECT_EQ(resolve_program(c.target.c_str(), 1, out), !c.found.empty()) << c.target;
        EXPECT_EQ(out, c.found.empty() ? c.target : d + c.found);
    }
    char out[kPathSize];
    EXPECT_EQ(resolve_program("one", 0, out), 0);  // a search-list file: as named only
    set_environment("PATHEXT", had_path_ext ? path_ext : nullptr);
    for (auto &a : app_paths)
        for (int machine : {0, 1}) set_app_path(machine, a.name, nullptr);
    set_current_folder(temp_folder());
}

TEST(Resolve, EnvironmentVariablesButNotOwnTokens) {
    reset_launcher_state();
    set_environment("TVT", "C:\\T");
    set_environment("System", "C:\\S");  // a placeholder's name stays a placeholder
    g_settings.param_count = 1;
    snprintf(g_settings.param_names[0], kParamNameSize, "%%ed%%");
    const char *cases[][2] = {
        {"%TVT%\\x.exe", "C:\\T\\x.exe"},
        {"%System%\\%TVT%", "%System%\\C:\\T"},
        {"%ed%%TVT%", "%ed%C:\\T"},
        {"%NOT_SET_TVT%\\a", "%NOT_SET_TVT%\\a"},
        {"100% %TVT%", "100% C:\\T"},
        {"%a%TVT%", "%aC:\\T"},
        {"%%", "%%"},
    };
    for (auto &c : cases) {
        char out[kPathSize];
        expand_environment(c[0], out, sizeof out);
        EXPECT_STREQ(out, c[1]) << c[0];
    }
    set_environment("TVT", nullptr);
    set_environment("System", nullptr);
}
