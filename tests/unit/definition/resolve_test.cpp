// Program resolution: today's order first and unchanged, then App Paths and
// the PATHEXT extensions; environment variables in paths.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/platform.h"
#include "definition/environment.h"
#include "definition/resolve.h"
#include "definition/search_cache.h"
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

static void take_name(const char *name, void *names) {
    static_cast<std::vector<std::string> *>(names)->push_back(name);
}

// The folder listings answer as asking the file system does: a scratch tree
// and a share of the system's folders, names long and 8.3, as listed, in
// another letter case, without their extension and absent, resolved both ways.
TEST(Resolve, ListingsAnswerAsTheFileSystem) {
    ScratchFolder dir;
    const std::string d = dir.path();
    reset_launcher_state(d);
    const char *const folders[] = {"cur\\", "a\\", "b\\", "c\\"};
    const char *const extensions[] = {".exe", ".com", ".cmd", ".txt", ""};
    for (int i = 0; i < 250; ++i)
        dir.write(folders[i % 4] + std::string(i % 3 ? "p" : "Long Program ") + std::to_string(i) +
                      extensions[i % 5],
                  "MZ");
    for (const char *file :
         {"b\\sub\\deep.exe", "b\\\x83\x63\x81\x5b\x83\x8b.exe", "cur\\dir.exe\\x"})
        dir.write(file, "MZ");
    set_current_folder(d + "cur");
    char path_ext[1024];
    int had_path_ext = plat_environment("PATHEXT", path_ext, sizeof path_ext);
    set_environment("PATHEXT", ".COM;.EXE;.CMD");
    const std::string lists[] = {d + "a;" + d + "b\\;..\\b\\sub;" + d + "missing",
                                 d + "b;;" + d + "c"};
    std::vector<std::string> listed,
        names = {"nul",         "con.exe",   "p1.exe.",
                 "p1 ",         "sub\\deep", "\x83\x63\x81\x5b\x83\x8b",
                 "comctl32.dll"};
    for (const char *folder : folders) plat_list_folder((d + folder).c_str(), take_name, &listed);
    std::vector<char> order(98304);
    ASSERT_TRUE(plat_default_search_order(order.data(), order.size()));
    std::vector<std::string> system;
    for (const char *p = order.data(); *p; p += strcspn(p, ";") + (p[strcspn(p, ";")] != 0))
        plat_list_folder((std::string(p, strcspn(p, ";")) + "\\").c_str(), take_name, &system);
    for (size_t i = 0; i < system.size(); i += system.size() / 60 + 1) listed.push_back(system[i]);
    for (size_t i = 0; i < listed.size(); ++i) {
        std::string name = listed[i];
        for (char &c : name) c = (char)(i % 2 ? tolower(c) : toupper(c));  // ASCII
        names.insert(names.end(), {listed[i], name, name.substr(0, name.rfind('.')), name + "x"});
    }
    ASSERT_GE(names.size(), 1000u);
    std::vector<std::string> answers[2];
    for (int use : {0, 1}) {
        search_cache_use(use);
        for (size_t i = 0; i < names.size(); ++i) {
            snprintf(g_settings.search_list, kSearchListSize, "%s", lists[i % 2].c_str());
            g_settings.search_list_set = i % 5 != 0;
            char out[kPathSize];
            int found = resolve_program(names[i].c_str(), i % 3 != 1, out);
            answers[use].push_back(std::to_string(found) + " " + out);
        }
    }
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(answers[1][i], answers[0][i]) << names[i];
    set_environment("PATHEXT", had_path_ext ? path_ext : nullptr);
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
