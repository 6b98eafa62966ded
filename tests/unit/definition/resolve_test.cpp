// Program resolution: today's order first and unchanged, then App Paths and
// the PATHEXT extensions; environment variables in paths.
#include <gtest/gtest.h>

#include <string>

#include "core/platform.h"
#include "definition/environment.h"
#include "definition/resolve.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

class Resolve : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        set_current_folder(dir.path());
        had_path_ext = plat_environment("PATHEXT", path_ext, sizeof path_ext);
    }
    void TearDown() override {
        set_environment("PATHEXT", had_path_ext ? path_ext : nullptr);
        set_environment("TVT", nullptr);
        set_environment("System", nullptr);
        for (const char *name : {"ed.exe", "tvapp.exe", "tvone.exe", "tvtwo.exe"})
            for (int machine : {0, 1}) set_app_path(machine, name, nullptr);
        set_current_folder(temp_folder());
    }
    ScratchFolder dir;
    char path_ext[1024];
    int had_path_ext = 0;
};

}  // namespace

TEST_F(Resolve, TodaysOrderFirstThenAppPathsThenPathExt) {
    for (const char *file :
         {"ed.exe", "both.exe", "both.com", "one.com", "one.bat", "listed.com", "list\\listed.exe",
          "list\\lbat.bat", "sub\\script.cmd", "app dir\\real.exe", "cu.exe", "lm.exe"})
        dir.write(file, "MZ");
    const std::string d = dir.path();
    set_environment("PATHEXT", ".COM;.EXE;.BAT;.CMD");
    set_app_path(0, "ed.exe", (d + "cu.exe").c_str());  // the file found today wins
    set_app_path(0, "tvapp.exe", ("\"" + d + "app dir\\real.exe\"").c_str());
    set_app_path(0, "tvone.exe", (d + "cu.exe").c_str());
    set_app_path(1, "tvone.exe", (d + "lm.exe").c_str());
    set_app_path(0, "tvtwo.exe", (d + "gone.exe").c_str());
    set_app_path(1, "tvtwo.exe", (d + "lm.exe").c_str());
    snprintf(g_settings.search_list, kSearchListSize, "%slist", d.c_str());
    g_settings.search_list_set = 1;
    struct {
        std::string target, found;  // found: below the folder, empty for none
    } cases[] = {
        {"ed", "ed.exe"},
        {"both", "both.exe"},
        {"listed", "list\\listed.exe"},
        {"tvapp", "app dir\\real.exe"},
        {"tvapp.exe", "app dir\\real.exe"},
        {"tvone", "cu.exe"},
        {"tvtwo", "lm.exe"},
        {"one", "one.com"},
        {"lbat", "list\\lbat.bat"},
        {d + "sub\\script", "sub\\script.cmd"},
        {"sub\\tvapp", ""},
        {"nothing", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target);
        char out[kPathSize];
        EXPECT_EQ(resolve_program(c.target.c_str(), 1, out), !c.found.empty());
        EXPECT_EQ(out, c.found.empty() ? c.target : d + c.found);
    }
    char out[kPathSize];
    EXPECT_EQ(resolve_program("one", 0, out), 0);  // a search-list file: as named only
}

TEST_F(Resolve, EnvironmentVariablesButNotOwnTokens) {
    set_environment("TVT", "C:\\T");
    set_environment("System", "C:\\S");  // a placeholder's name stays a placeholder
    g_settings.param_count = 1;
    snprintf(g_settings.param_names[0], kParamNameSize, "%%ed%%");
    struct {
        const char *text, *expanded;
    } cases[] = {
        {"%TVT%\\x.exe", "C:\\T\\x.exe"},
        {"%System%\\%TVT%", "%System%\\C:\\T"},
        {"%ed%%TVT%", "%ed%C:\\T"},
        {"%NOT_SET_TVT%\\a", "%NOT_SET_TVT%\\a"},
        {"100% %TVT%", "100% C:\\T"},
        {"%a%TVT%", "%aC:\\T"},
        {"%%", "%%"},
    };
    for (const auto &c : cases) {
        char out[kPathSize];
        expand_environment(c.text, out, sizeof out);
        EXPECT_STREQ(out, c.expanded) << c.text;
    }
}
