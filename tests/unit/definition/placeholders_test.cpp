// Placeholders: date formats, launcher folder tokens, special folders and
// user parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "definition/startup.h"
#include "definition/placeholders.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "core/text.h"
#include "test_support.h"

namespace {

std::string expand(const std::string &text, SysTime day = {2010, 1, 2, 5, 0, 0, 0, 0}) {
    static char out[kPlaceholderTextSize];
    expand_placeholders_on(text.c_str(), day, out, sizeof out);
    return out;
}

}  // namespace

TEST(Placeholders, DatesAndLauncherFolders) {
    reset_launcher_state("C:\\Tools\\");
    struct {
        std::string text, result;
    } cases[] = {
        {"%4y%/%2y%/%mm%/%0m%/[%-m%]/%dd%/%0d%/[%-d%]", "2010/10/1/01/[ 1]/5/05/[ 5]"},
        {"%0M%%0D% %4Y%", "0105 2010"},
        {"%ins_Tvr%|%drv_Tvr%|%INS_TVR%", "C:\\Tools|C:|C:\\Tools"},
        {"no percent signs", "no percent signs"},
        {"%Nope% 100%", "%Nope% 100%"},
    };
    for (const auto &c : cases) EXPECT_EQ(expand(c.text), c.result) << c.text;
    EXPECT_EQ(expand("%-m%-%0d%-%2y%", {1999, 12, 0, 25, 0, 0, 0, 0}), "12-25-99");
    reset_launcher_state("C:\\");
    EXPECT_EQ(expand("%ins_Tvr%|%drv_Tvr%"), "C:|C:");
}

TEST(Placeholders, SpecialFoldersInAnyCase) {
    reset_launcher_state();
    char windows[260];
    ASSERT_EQ(plat_special_folder(36, windows), 1);
    EXPECT_EQ(expand("%windows%\\a;%WINDOWS%"), std::string(windows) + "\\a;" + windows);
}

TEST(Placeholders, UserParametersReplaceOncePerOccurrence) {
    reset_launcher_state();
    g_settings.param_count = 3;
    text_copy(g_settings.param_names[0], "");  // an empty name matches nothing
    text_copy(g_settings.param_values[0], "EMPTY");
    text_copy(g_settings.param_names[1], "ab");
    text_copy(g_settings.param_values[1], "xABx");
    text_copy(g_settings.param_names[2], "Year");
    text_copy(g_settings.param_values[2], "%4y%");
    EXPECT_EQ(expand("ab-AB year"), "xABx-xABx %4y%");
}

TEST(Placeholders, ResultIsCutToItsBuffer) {
    reset_launcher_state("C:\\Tools\\A longer folder name\\");
    std::string many;
    for (int i = 0; i < 600; ++i) many += "%ins_Tvr%";
    char out[100];
    expand_placeholders(many.c_str(), out, sizeof out);
    EXPECT_EQ(strlen(out), 99u);
    EXPECT_EQ(expand(many).size(), kPlaceholderTextSize - 1);
}

TEST(Placeholders, EntryLinesExpandWhenParamIsGiven) {
    ScratchFolder dir;
    dir.write("ed.exe", "MZ");
    reset_launcher_state(dir.path());
    load_text("[system]\n@param\nTOOLS | " + dir.path() + "\n%end\n[launch]\nTOOLSed.exe | %4y%\n");
    ASSERT_EQ(g_items.item_count, 1);
    EXPECT_EQ(g_items.target[0], dir.path() + "ed.exe");
    EXPECT_EQ(strlen(g_items.title[0]), 4u);
}
