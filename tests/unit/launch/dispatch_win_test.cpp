// Launching and the dispatch of the popup cycle, with the shell, the pauses
// and the input dialog replaced by recorders.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <string>
#include <thread>
#include <vector>

#include "definition/startup.h"
#include "app/popup.h"
#include "launch/dispatch.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "menu/builder_win.h"
#include "definition/items.h"
#include "menu/menu_state.h"
#include "definition/settings.h"
#include "launch_recorder.h"
#include "test_support.h"

namespace {

void record_pause(int ms) { g_calls.push_back("pause " + std::to_string(ms)); }

class Launch : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        clear_recordings();
        g_popup = PopupState{};
        saved_open = shell_open;
        saved_pause = launch_pause;
        saved_dialog = run_input_dialog;
        shell_open = record_open;
        launch_pause = record_pause;
        run_input_dialog = scripted_dialog;
        prog = dir.write("bin\\p.exe", "MZ");
        folder = dir.path() + "bin";
    }
    void TearDown() override {
        shell_open = saved_open;
        launch_pause = saved_pause;
        run_input_dialog = saved_dialog;
    }
    void add_row(RowKind kind, const std::string &target, const std::string &title = "t",
                 int owner = 0) {
        int i = g_items.item_count++;
        g_items.kind[i] = kind;
        snprintf(g_items.target[i], kPathSize, "%s", target.c_str());
        snprintf(g_items.title[i], kPathSize, "%s", title.c_str());
        g_items.owner[i] = owner;
    }
    ScratchFolder dir;
    std::string prog, folder;
    void (*saved_open)(const char *, const char *, const char *);
    void (*saved_pause)(int);
    int (*saved_dialog)(void *);
};

}  // namespace

TEST_F(Launch, ChosenRowThenMarkedRowsWithDelays) {
    for (int i = 0; i < 10; ++i) add_row(Entry, prog);
    add_row(Variant, "-v 1", "var", 3);
    g_settings.first_launch_delay = 300;
    g_settings.next_launch_delay = 50;
    g_menu.marked[5] = g_menu.marked[9] = g_menu.marked[7] = g_menu.marked[10] = 1;
    g_menu.marked_count = 4;
    dispatch_choice(nullptr, 2007, 0);
    const std::string run = "open " + prog + "|(null)|" + folder;
    EXPECT_EQ(g_calls, (std::vector<std::string>{run, "pause 300", run, "pause 50", run, "pause 50",
                                                 "open " + prog + "|-v 1|" + folder, "pause 50"}));
    g_calls.clear();
    for (UINT dismissed : {0u, 2011u, 0xFFFFFFFEu}) dispatch_choice(nullptr, dismissed, 0);
    EXPECT_TRUE(g_calls.empty());  // dismissed or unknown: nothing, marks included
}

TEST_F(Launch, FolderRequestsPromptsAndSystemFiles) {
    add_row(Entry, prog, "&Ed");
    add_row(Variant, "-n", "new", 0);
    g_settings.filer_enabled = 1;
    snprintf(g_settings.filer_path, kPathSize, "%s", prog.c_str());
    g_popup.folder_open_request = 1;
    dispatch_choice(nullptr, 2001, 1);  // the folder wins over Ctrl
    EXPECT_EQ(g_calls, (std::vector<std::string>{"open " + prog + "|" + folder + "\\|" + folder,
                                                 "pause 0"}));

    g_calls.clear();
    g_popup.folder_open_request = 0;
    g_dialog_answer = 0;
    g_menu.marked[1] = 1;
    g_menu.marked_count = 1;
    dispatch_choice(nullptr, 2000, 1);  // a cancelled option prompt ends everything
    EXPECT_EQ(g_calls, std::vector<std::string>{"dialog 0"});
    EXPECT_STREQ(g_launch.input_dialog_program, prog.c_str());

    g_calls.clear();
    g_dialog_answer = 4;
    snprintf(g_launch.input_result, 260, "typed text");
    g_menu.marked_count = 0;
    dispatch_choice(nullptr, 2000, 1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{
                           "dialog 0", "open " + prog + "|typed text|" + folder, "pause 0"}));
    EXPECT_STREQ(g_launch.chosen_entry_name, "&Ed");

    g_calls.clear();
    snprintf(g_startup.definition_path, 260, "C:\\a b\\Tavrik.ini");
    dispatch_choice(nullptr, kOpenDefinitionId, 0);  // no editor: the shell opens the file
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"open \"C:\\a b\\Tavrik.ini\"|(null)|(null)", "pause 0"}));

    // A URL or shell location goes to the shell as it is; it has no folder.
    g_calls.clear();
    add_row(Entry, "ms-settings:display");
    add_row(Variant, "x y", "v", 2);
    dispatch_choice(nullptr, 2002, 0);
    dispatch_choice(nullptr, 2003, 0);
    g_popup.folder_open_request = 1;
    dispatch_choice(nullptr, 2002, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"open ms-settings:display|(null)|(null)",
                                                 "pause 0", "open ms-settings:display|x y|(null)",
                                                 "pause 0", "pause 0"}));
}

// The shell may hand a launch to extensions that need COM: the launching
// thread has joined a single-threaded apartment by then.
TEST(Shell, LaunchingJoinsASingleThreadedApartment) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    HRESULT joined = E_FAIL;
    std::thread([&] {
        shell_open(self, "--gtest_list_tests --gtest_filter=None.None", nullptr);
        joined = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // S_FALSE: already in one
        if (SUCCEEDED(joined)) CoUninitialize();
    }).join();
    EXPECT_EQ(joined, S_FALSE);
}

TEST_F(Launch, WorkingFolderAndOverride) {
    std::string root_program = "C:\\tavrik_root_test.exe";
    WriteFile(
        CreateFileA(root_program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
        "MZ", 2, nullptr, nullptr);
    launch_program(root_program.c_str(), "", 0);
    snprintf(g_launch.working_folder_override, 260, "%s", dir.path().c_str());
    launch_program(prog.c_str(), "-a", 1);
    launch_program(prog.c_str(), "-b", 1);  // the override served one launch
    launch_program((dir.path() + "missing.exe").c_str(), "doc.txt", 1);
    DeleteFileA(root_program.c_str());
    std::string scratch = dir.path().substr(0, dir.path().size() - 1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{
                           "open " + root_program + "|(null)|C:", "open " + prog + "|-a|" + scratch,
                           "open " + prog + "|-b|" + folder, "open doc.txt|(null)|(null)"}));
}

TEST(Placement, PositionsAndAlignment) {
    reset_launcher_state();
    RECT target = {100, 50, 301, 251}, flat = {10, 10, 300, 10};
    POINT cursor = {40, 60};
    const UINT base = TPM_RETURNCMD | TPM_RIGHTBUTTON,
               centred = base | TPM_CENTERALIGN | TPM_VCENTERALIGN;
    struct {
        int position, mouse_buttons;
        const RECT *rect;
        int x, y;
        UINT flags;
    } cases[] = {
        {PositionActive, 3, &target, 200, 150, centred},
        {PositionActive, 3, &flat, 512, 370, centred},
        {PositionActive, 3, nullptr, 512, 370, centred},
        {PositionPoint, 3, nullptr, 7, 9, base},
        {PositionMouse, 3, nullptr, 40, 60, base},
        {PositionMouse, 0, nullptr, 512, 370, centred},
        {PositionMouse2, 3, nullptr, 40, 60, base | TPM_VCENTERALIGN},
        {PositionCenter, 3, &target, 512, 370, centred},
    };
    for (const auto &c : cases) {
        g_settings.menu_position = c.position;
        g_settings.menu_x = 7;
        g_settings.menu_y = 9;
        g_startup.mouse_buttons = c.mouse_buttons;
        MenuPlacement p = menu_placement(c.rect, cursor);
        SCOPED_TRACE(c.position);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.flags, c.flags);
    }
}
