// Faults from outside: an icon cache held by another program, one that cannot
// be created, a write that breaks off, and a launch the shell cannot carry out
// among marked rows.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/paths.h"
#include "app/popup.h"
#include "launch/launch.h"
#include "menu/iconcache.h"
#include "menudef/items.h"
#include "menudef/settings.h"
#include "test_support.h"

namespace {

const SysTime kOld = {2024, 5, 5, 3, 10, 12, 34, 0};
const SysTime kNew = {2025, 1, 2, 4, 3, 4, 5, 0};

// Every name in a folder, "name/" for folders.
std::set<std::string> listing(const std::string &folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        names.insert(name + (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "/" : ""));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// The next write that would pass this many bytes in total writes up to it
// and fails; later ones fail at once.
size_t g_bytes_left;
size_t failing_write(const void *data, size_t size, FILE *file) {
    size_t n = size < g_bytes_left ? size : g_bytes_left;
    g_bytes_left -= n;
    return fwrite(data, 1, n, file);
}

class CacheFaults : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        g_app.instance = GetModuleHandleA(nullptr);
        g_settings.icon_mode = 1;
        g_settings.icon_width = g_settings.icon_height = 16;
        g_settings.definition_time = kOld;
        cache = dir.path() + "Tavrik.tvi";
        for (int row = 0; row < 4; ++row) {
            g_items.kind[row] = Entry;
            snprintf(g_items.target[row], kTextSize, "%s", dir.path().c_str());
        }
        g_items.item_count = 4;
        saved_write = icon_cache_write;
    }
    void TearDown() override {
        icon_cache_write = saved_write;
        icon_cache_release();
    }
    ScratchFolder dir;
    std::string cache;
    size_t (*saved_write)(const void *, size_t, FILE *);
};

}  // namespace

// Held without sharing, as another program that has it in use holds it.
TEST_F(CacheFaults, CacheHeldByAnotherProgramGivesTextAndStaysAsItWas) {
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    const std::string before = read_file(cache);
    HANDLE held = CreateFileA(cache.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(icon_cache_check(nullptr), 0) << "current, but cannot even be read";
    EXPECT_EQ(icon_cache_load(nullptr), 0);
    g_settings.definition_time = kNew;
    EXPECT_EQ(icon_cache_check(nullptr), 0) << "stale and cannot be replaced";
    CloseHandle(held);
    EXPECT_EQ(read_file(cache), before);
    EXPECT_EQ(listing(dir.path()), (std::set<std::string>{"Tavrik.tvi"}));
    EXPECT_EQ(icon_cache_check(nullptr), 1) << "once let go, it is written again";
    EXPECT_EQ(icon_cache_load(nullptr), 1);
}

// Nothing half made is left behind when the file cannot be made at all.
TEST_F(CacheFaults, CacheThatCannotBeCreatedLeavesNoFile) {
    const struct {
        const char *why;
        std::string definition, folder;  // definition_path below the folder; folder made first
    } cases[] = {
        {"folder missing", "gone\\Tavrik.ini", ""},
        {"cache name taken by a folder", "Tavrik.ini", "Tavrik.tvi"},
        {"temporary name taken by a folder", "Tavrik.ini",
         "Tavrik.tvi." + std::to_string(GetCurrentProcessId()) + ".tmp"},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder fresh;
        snprintf(g_app.definition_path, kTextSize, "%s", (fresh.path() + c.definition).c_str());
        std::set<std::string> expected;
        if (!c.folder.empty()) {
            fresh.make_folder(c.folder);
            expected.insert(c.folder + "/");
        }
        EXPECT_EQ(icon_cache_check(nullptr), 0);
        EXPECT_EQ(icon_cache_load(nullptr), 0);
        EXPECT_EQ(listing(fresh.path()), expected);
        EXPECT_TRUE(c.folder.empty() || listing(fresh.path() + c.folder + "\\").empty());
    }
}

// A write that breaks off anywhere, even in the last byte, leaves the old
// cache (here stale) or none, and no temporary file; the next run writes it.
TEST_F(CacheFaults, WriteBreakingOffNeverLeavesACurrentCache) {
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    const std::string old_cache = read_file(cache);
    const size_t whole = old_cache.size();  // 2020 + 6 * 808
    for (bool had_cache : {true, false}) {
        for (size_t written :
             {(size_t)0, (size_t)10, (size_t)2020, (size_t)2020 + 808 + 1, whole - 1}) {
            SCOPED_TRACE((had_cache ? "over the old cache, " : "no cache before, ") +
                         std::to_string(written) + " bytes written");
            had_cache ? (void)dir.write("Tavrik.tvi", old_cache) : (void)DeleteFileA(cache.c_str());
            g_settings.definition_time = kNew;
            icon_cache_write = failing_write;
            g_bytes_left = written;
            EXPECT_EQ(icon_cache_check(nullptr), 0);
            icon_cache_write = saved_write;
            EXPECT_EQ(listing(dir.path()),
                      had_cache ? std::set<std::string>{"Tavrik.tvi"} : std::set<std::string>{});
            EXPECT_EQ(read_file(cache), had_cache ? old_cache : "");
            // The next run sees a stale cache, or none, and writes it whole.
            EXPECT_EQ(icon_cache_check(nullptr), 1);
            EXPECT_EQ(read_file(cache).size(), whole);
            EXPECT_EQ(icon_cache_load(nullptr), 1);
            g_settings.definition_time = kOld;
        }
    }
}

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
        g_items.marked[row] = row > 0;
        snprintf(g_items.target[row], kTextSize, "%s",
                 dir.write(std::string(1, 'a' + row) + ".exe", "MZ").c_str());
    }
    g_items.kind[4] = Variant;  // a variant of the removed b
    g_items.owner[4] = 1;
    g_items.marked[4] = 1;
    snprintf(g_items.target[4], kTextSize, "-v");
    g_items.item_count = 5;
    g_items.marked_count = 4;
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
