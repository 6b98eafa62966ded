// Command macros with a scripted user at the input dialog and the real
// clipboard filled by the test.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
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

void put_files_on_clipboard(const std::vector<std::string> &paths) {
    HGLOBAL memory = (HGLOBAL)make_file_drop(paths);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_HDROP, memory);
    CloseClipboard();
}

void put_text_on_clipboard(const std::string &text) {
    HGLOBAL memory = GlobalAlloc(GHND, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

class Macros : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        start_scripted_user();
        file = dir.write("dir\\sub\\name.ext", "x");
        folder = dir.make_folder("data\\proj");
        root = dir.path().substr(0, dir.path().size() - 1);
    }
    void TearDown() override { stop_scripted_user(); }
    ScratchFolder dir;
    std::string file, folder, root;
};

}  // namespace

TEST_F(Macros, PathMacrosForAFileAndAFolder) {
    const std::string all = "%$P|%-$P|%$D|%-$D|%$F|%$N|%$E|%$A|%$B";
    const std::string r = dir.path();
    struct {
        std::string path, expected;
    } cases[] = {
        {file, file + "|" + file + "|" + r + "dir\\sub\\|" + r +
                   "dir\\sub|sub|name.ext|.ext|name|" + r + "dir\\sub\\name"},
        {folder,
         folder + "\\|" + folder + "|" + r + "data\\|" + r + "data|data|proj||proj|" + folder},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        put_files_on_clipboard({c.path, file});
        EXPECT_EQ(expand(all), c.expected);
        put_text_on_clipboard("  \"" + c.path + "\"  \r\nno such file\n");
        EXPECT_EQ(expand(all), c.expected);
    }
    put_text_on_clipboard("C:\\no\\such\\file.txt");
    EXPECT_EQ(expand("x %$N"), kCancelSentinel);
    EXPECT_EQ(expand("no macros %$"), "no macros %$");
    EXPECT_EQ(g_launch.multi_file_mode, 0);
}

TEST_F(Macros, ClipboardTextWindowAndLoopSafety) {
    put_text_on_clipboard(std::string(300, 'c') + "\n" + file);
    EXPECT_EQ(expand("[%$C]"), "[]");
    EXPECT_EQ(g_launch.selected_count, 1);  // the long text still gave its path
    put_text_on_clipboard("short text");
    EXPECT_EQ(expand("[%$c][%$C]"), "[short text][short text]");
    put_text_on_clipboard("%$C");
    EXPECT_EQ(expand("%$C"), "%$C");  // a value holding its own macro is inserted once
    put_files_on_clipboard({dir.make_folder("a%$Pb")});
    EXPECT_EQ(expand("%$N %$P"), "a%$Pb " + dir.path() + "a%$Pb\\");
    g_startup.target_window = -5;
    EXPECT_EQ(expand("%$W"), "-5");
    g_startup.target_window = 0;
    EXPECT_EQ(expand("w=%$w"), "w=0");
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(expand("%$C"), kCancelSentinel);
    EXPECT_EQ(expand("%$W %$P"), kCancelSentinel);
}
