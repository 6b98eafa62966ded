// Faults from outside: a launch the shell cannot carry out among marked rows.
// (The icon cache's faults are with the icon cache tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/popup.h"
#include "launch/dispatch.h"
#include "launch/launch.h"
#include "definition/items.h"
#include "menu/menu_state.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

std::vector<std::string> g_opened;
void record_open(const char *file, const char *parameters, const char *folder) {
    g_opened.push_back(std::string(file ? file : "(null)") + "|" + (parameters ? parameters : "") +
                       "|" + (folder ? folder : ""));
}

}  // namespace

// A marked row whose program was removed after the menu was built cannot be
// run by the shell; the rows after it still run.
TEST(LaunchFaults, RemovedTargetAmongMarkedRowsLeavesTheOthersRunning) {
    ScratchFolder dir;
    reset_launcher_state(dir.path());
    for (int row = 0; row < 4; ++row) {
        g_items.kind[row] = Entry;
        g_menu.marked[row] = row > 0;
        snprintf(g_items.target[row], kPathSize, "%s",
                 dir.write(std::string(1, 'a' + row) + ".exe", "MZ").c_str());
    }
    g_items.kind[4] = Variant;  // a variant of the removed b
    g_items.owner[4] = 1;
    g_menu.marked[4] = 1;
    snprintf(g_items.target[4], kPathSize, "-v");
    g_items.item_count = 5;
    g_menu.marked_count = 4;
    DeleteFileA(g_items.target[1]);
    auto saved_open = shell_open;
    auto saved_pause = launch_pause;
    shell_open = record_open;
    launch_pause = [](int) {};
    g_opened.clear();
    dispatch_choice(nullptr, kFirstRowCommand + 0, 0);
    shell_open = saved_open;
    launch_pause = saved_pause;
    const std::string folder = dir.path().substr(0, dir.path().size() - 1);
    EXPECT_EQ(g_opened,
              (std::vector<std::string>{
                  dir.path() + "a.exe||" + folder, "||",  // the shell gets no name
                  dir.path() + "c.exe||" + folder, dir.path() + "d.exe||" + folder, "-v||"}));
}
