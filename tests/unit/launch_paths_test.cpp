// Launching with the files collected for a multi-file token, with the shell
// and the input dialog replaced by recorders.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "test_support.h"

namespace {

std::vector<std::string> g_calls;  // "open file|parameters|folder" and "dialog N"
std::vector<std::string> g_dialog_paths;
int g_dialog_answer;

std::string or_null(const char *text) { return text ? text : "(null)"; }

void record_open(const char *file, const char *parameters, const char *folder) {
    g_calls.push_back("open " + or_null(file) + "|" + or_null(parameters) + "|" + or_null(folder));
}

// A user who drops g_dialog_paths and answers g_dialog_answer.
int scripted_dialog(void *) {
    g_calls.push_back("dialog " + std::to_string(g_launch.prompt_counter));
    for (const std::string &path : g_dialog_paths)
        snprintf(g_launch.selected_paths[g_launch.selected_count++], kSelectedPathSize, "%s",
                 path.c_str());
    g_launch.input_dialog_open = 1;
    return g_dialog_answer;
}

class LaunchPaths : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        g_calls.clear();
        g_dialog_paths.clear();
        g_dialog_answer = 0;
        saved_open = shell_open;
        shell_open = record_open;
        run_input_dialog = scripted_dialog;
        prog = dir.write("bin\\p.exe", "MZ");
        folder = dir.path() + "bin";
    }
    void TearDown() override {
        shell_open = saved_open;
        run_input_dialog = show_input_dialog;
    }
    ScratchFolder dir;
    std::string prog, folder;
    void (*saved_open)(const char *, const char *, const char *) = nullptr;
};

}  // namespace

TEST_F(LaunchPaths, SelectedPathsReplaceTheMultiFileToken) {
    std::string file = dir.write("x y.txt", "x");
    std::string sub = dir.make_folder("f");
    struct {
        int mode;
        std::string parameters, expected;
    } cases[] = {
        {MultiFileQuoted, "-a \"%M\" -b", "-a \"" + file + "\" \"" + sub + "\\\" -b"},
        {MultiFileQuoted, "-a \"%-M\" -b", "-a \"" + file + "\" \"" + sub + "\" -b"},
        {MultiFileUnquoted, "-a %M -b", "-a " + file + " " + sub + "\\ -b"},
        {MultiFileQuoted, "\"%-m\" \"%M\"", "\"%-m\" \"" + file + "\" \"" + sub + "\\\""},
        {MultiFileUnquoted, "%m %M", file + " " + sub + "\\ %M"},
        {MultiFileUnquoted, "none", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.parameters);
        g_calls.clear();
        g_launch.multi_file_mode = c.mode;
        g_dialog_paths = {"\"" + file + "\"", sub};
        g_dialog_answer = 4;
        launch_program(prog.c_str(), c.parameters.c_str(), 1);
        std::vector<std::string> expected = {"dialog 0"};
        if (!c.expected.empty())
            expected.push_back("open " + prog + "|" + c.expected + "|" + folder);
        EXPECT_EQ(g_calls, expected);
        EXPECT_EQ(g_launch.multi_file_mode, 0);
        EXPECT_EQ(g_launch.selected_count, 0);
    }
    g_calls.clear();
    g_launch.multi_file_mode = MultiFileUnquoted;
    g_dialog_answer = 0;  // a cancelled collection launches nothing
    launch_program(prog.c_str(), "%M", 1);
    EXPECT_EQ(g_calls, std::vector<std::string>{"dialog 0"});
}
