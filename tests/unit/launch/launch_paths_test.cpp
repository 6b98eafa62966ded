// Launching with the files collected for a multi-file token, with the shell
// and the input dialog replaced by recorders.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "launch_recorder.h"
#include "test_support.h"

namespace {

class LaunchPaths : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        clear_recordings();
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
