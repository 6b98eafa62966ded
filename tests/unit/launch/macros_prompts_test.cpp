// Command macros without the clipboard: value prompts answered by a scripted
// user, the working folder, multi-file tokens and placeholders.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "definition/startup.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"
#include "launch/macros.h"
#include "definition/settings.h"
#include "scripted_user.h"
#include "test_support.h"

namespace {

class MacroPrompts : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        start_scripted_user();
        root = dir.path().substr(0, dir.path().size() - 1);
    }
    void TearDown() override { stop_scripted_user(); }
    ScratchFolder dir;
    std::string root;
};

}  // namespace

TEST_F(MacroPrompts, ValuePromptsLabelsAndReuse) {
    snprintf(g_settings.input_initial_text, 260, "init");
    std::string kana15;  // fifteen double-byte characters
    for (int i = 0; i < 15; ++i) kana15 += "\x83\x41";
    struct {
        std::string parameter_template;
        int title_mode;
        std::vector<Answer> answers;
        std::string result;
        std::vector<std::string> prompts;
    } cases[] = {
        {"%X %x", 0, {{4, "a"}, {4, "b"}}, "a b", {"1|init|(default)", "2|init|(default)"}},
        {"%X %X", 0, {{1, "same"}}, "same same", {"1|init|(default)"}},
        {"%X-%X", 0, {{1, "%X"}}, "%X-%X", {"1|init|(default)"}},
        {"-o %X=\"abc%_Name\" -p", 0, {{4, "v"}}, "-o v -p", {"1|abc|Name"}},
        {"%X=\"%_\"", 0, {{4, "v"}}, "v", {"1|init|Edit  go"}},
        {"%X=\"\"!", 0, {{4, "v"}}, "v!", {"1||(default)"}},
        {"abcdef%Xghijkl", 1, {{4, "v"}}, "abcdefvghijkl", {"1|init|abcdef __ ghijkl"}},
        {"0123456789ABC%X0123456789ABC",
         1,
         {{4, ""}},
         "0123456789ABC0123456789ABC",
         {"1|init|3456789ABC __ 0123456789"}},
        {"%X", 2, {{4, "v"}}, "v", {"1|init|Fixed"}},
        {"%X %X",
         0,
         {{4, "a"}, {0, ""}},
         kCancelSentinel,
         {"1|init|(default)", "2|init|(default)"}},
        {"%X=\"open", 0, {}, kCancelSentinel, {}},
        // Labels keep double-byte characters whole: cut to 31 bytes, and
        // from the ten bytes before "%X" when the tenth is a second half.
        {"%X=\"%_ab" + kana15 + "\"", 0, {{4, "v"}}, "v", {"1|init|ab" + kana15.substr(0, 28)}},
        {kana15.substr(0, 10) + "b%X",
         1,
         {{4, ""}},
         kana15.substr(0, 10) + "b",
         {"1|init|" + kana15.substr(0, 8) + "b __ "}},
        {"%X" + std::string(1030, 'x'),
         0,
         {{4, std::string(20, 'y')}},
         kCancelSentinel,
         {"1|init|(default)"}},
    };
    snprintf(g_settings.input_title, 32, "Fixed");
    for (auto &c : cases) {
        SCOPED_TRACE(c.parameter_template.substr(0, 40));
        g_settings.input_title_mode = c.title_mode;
        g_answers = c.answers;
        g_prompts.clear();
        EXPECT_EQ(expand(c.parameter_template), c.result);
        EXPECT_EQ(g_prompts, c.prompts);
    }
}

TEST_F(MacroPrompts, WorkingFolderMultiFileAndPlaceholders) {
    struct {
        std::string parameter_template, result, override_folder;
        int multi_file_mode;
    } cases[] = {
        {"-a %Z\"" + root + "\" -b", "-a  -b", dir.path(), 0},
        {"-a %z\"C:\\no\\such\" -b", "-a  -b", "", 0},
        {"-a %Z\"" + root, kCancelSentinel, "", 0},
        // Every %Z"..." leaves the text; only the first names the folder.
        {"%Z\"" + root + "\"-a %Z\"C:\\\" -b", "-a  -b", dir.path(), 0},
        {"%Z\"C:\\no\" %Z\"" + root + "\"", " ", "", 0},
        {"%Z\"" + root + "\" %Z\"C:", kCancelSentinel, "", 0},
        {"%M", "%M", "", MultiFileUnquoted},
        {"x \"%-M\"", "x \"%-M\"", "", MultiFileQuoted},
        {"%My Documents%", "%My Documents%", "", MultiFileUnquoted},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.parameter_template);
        g_launch.working_folder_override[0] = 0;
        EXPECT_EQ(expand(c.parameter_template), c.result);
        EXPECT_EQ(g_launch.working_folder_override, c.override_folder);
        EXPECT_EQ(g_launch.multi_file_mode, c.multi_file_mode);
    }
    // Placeholders come first, so a user parameter can hold a macro.
    g_settings.placeholders_enabled = 1;
    g_settings.param_count = 1;
    snprintf(g_settings.param_names[0], 20, "ASK");
    snprintf(g_settings.param_values[0], 260, "%%X");
    g_answers = {{4, "typed"}};
    EXPECT_EQ(expand("ASK %ins_Tvr%"), "typed " + root);
    // A command line made longer than 1039 bytes by a user parameter is
    // abandoned, never launched with its end cut off.
    const std::string v(259, 'v');
    snprintf(g_settings.param_values[0], 260, "%s", v.c_str());
    EXPECT_EQ(expand("ASK ASK ASK ASK"), v + " " + v + " " + v + " " + v);  // 1039 bytes
    EXPECT_EQ(expand("ASK ASK ASK ASK -end"), kCancelSentinel);
}
