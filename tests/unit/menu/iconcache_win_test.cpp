// The icon cache file: its bytes, when it is written again, and damaged,
// read-only, held, uncreatable files and writes that break off.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>

#include "definition/startup.h"
#include "menu/iconcache.h"
#include "menu/iconcache_file.h"
#include "definition/items.h"
#include "menu/menu_state.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

const SysTime kWritten = {2024, 5, 5, 3, 10, 12, 34, 789};
const SysTime kLater = {2025, 1, 2, 4, 3, 4, 5, 0};

int32_t word(const std::string &bytes, size_t at, int size = 4) {
    int32_t v = 0;
    memcpy(&v, bytes.data() + at, size);
    return v;
}

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

std::string hex8(unsigned long value) {
    char text[9];
    snprintf(text, sizeof text, "%08lx", value);
    return text;
}

// The next write that would pass this many bytes in total writes up to it
// and fails; later ones fail at once.
size_t g_bytes_left;
size_t failing_write(const void *data, size_t size, FILE *file) {
    size_t n = size < g_bytes_left ? size : g_bytes_left;
    g_bytes_left -= n;
    return fwrite(data, 1, n, file);
}

class IconCache : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        g_settings.icon_mode = 1;
        g_settings.icon_width = g_settings.icon_height = 16;
        g_settings.definition_time = kWritten;
        cache = dir.path() + "Tavrik.tvi";
        saved_write = icon_cache_write;
        // Ten entries, with rows of other kinds among them.
        const std::string targets[] = {"C:\\windows\\notepad.exe", dir.path(),
                                       dir.path() + "no.exe"};
        for (int n = 0; n < 10; ++n) {
            add(Entry, targets[n % 3]);
            if (n == 2 || n == 6) add(n == 2 ? Separator : SubmenuBegin, dir.path());
        }
    }
    void TearDown() override {
        icon_cache_write = saved_write;
        icon_cache_release();
        SetFileAttributesA(cache.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    void add(RowKind kind, const std::string &target) {
        g_items.kind[g_items.item_count] = kind;
        snprintf(g_items.target[g_items.item_count++], kPathSize, "%s", target.c_str());
    }
    std::string record(int slot) { return read_file(cache).substr(2020 + slot * 808, 808); }
    void flip_last_byte() {
        std::string bytes = read_file(cache);
        bytes.back() ^= 0x5a;
        dir.write("Tavrik.tvi", bytes);
    }
    ScratchFolder dir;
    std::string cache;
    size_t (*saved_write)(const void *, size_t, FILE *);
};

}  // namespace

TEST_F(IconCache, FileLayoutForTenEntriesAtSixteenPixels) {
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    std::string file = read_file(cache);
    ASSERT_EQ(file.size(), 11716u);
    EXPECT_EQ(memcmp(file.data(), &kWritten, 16), 0);  // all eight words
    EXPECT_EQ(word(file, 16), 808);
    std::string slots;  // entries get 2.. in row order; other rows and the rest 0
    for (int row = 0; row < kMaxRows; ++row)
        if (row < 13 || word(file, 20 + 4 * row))
            slots += std::to_string(word(file, 20 + 4 * row)) + " ";
    EXPECT_EQ(slots, "2 3 4 0 5 6 7 8 0 9 10 11 0 ");
    for (int slot = 0; slot < 12; ++slot) {
        std::string rec = record(slot);
        EXPECT_EQ(word(rec, 0) + word(rec, 4) + word(rec, 8), 40 + 16 + 16) << slot;
        EXPECT_EQ(word(rec, 12, 2) + word(rec, 14, 2) + word(rec, 16), 1 + 24 + BI_RGB) << slot;
    }
    // Slot 0 "MYSYS", slot 1 the program folder, then the entries' own:
    // entries at that folder share slot 1's picture, a missing file is a
    // square of the menu colour.
    EXPECT_NE(record(0), record(1));
    EXPECT_NE(record(2), record(1));
    for (int slot : {3, 6, 9}) EXPECT_EQ(record(slot), record(1)) << slot;
    for (int slot : {5, 8, 11}) EXPECT_EQ(record(slot), record(2)) << slot;
    for (int slot : {7, 10}) EXPECT_EQ(record(slot), record(4)) << slot;
    COLORREF menu = GetSysColor(COLOR_MENU);
    std::string plain;
    for (int px = 0; px < 256; ++px)
        plain += {(char)GetBValue(menu), (char)GetGValue(menu), (char)GetRValue(menu)};
    EXPECT_EQ(record(4).substr(40), plain);
    ASSERT_EQ(icon_cache_load(), 1);
    EXPECT_EQ(g_menu.icon_slot[4], 5);
    EXPECT_EQ(g_menu.icon_slot[3], 0);
}

TEST_F(IconCache, WrittenAgainOnlyWhenTheStampDiffersToTheSecond) {
    const struct {
        uint16_t SysTime::*field;
        bool written;
    } cases[] = {
        {&SysTime::milliseconds, false}, {&SysTime::day_of_week, false}, {&SysTime::second, true}};
    for (auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        g_settings.definition_time = kWritten;
        ASSERT_EQ(icon_cache_check(nullptr), 1);
        flip_last_byte();  // shows whether the next check wrote the file
        std::string before = read_file(cache);
        g_settings.definition_time.*c.field += 1;
        ASSERT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(read_file(cache) != before, c.written);
    }
}

// A damaged file with a current stamp is not loaded, and the check writes
// it again.
TEST_F(IconCache, DamagedFilesAreNeverReadPastTheirData) {
    struct {
        const char *damage;
        std::function<void(std::string &)> change;
    } cases[] = {
        {"cut inside a picture", [](std::string &b) { b.resize(2020 + 5 * 808 + 100); }},
        {"cut inside the slot table", [](std::string &b) { b.resize(1000); }},
        {"record size of other icons", [](std::string &b) { b[16] = (char)(812 & 0xff); }},
        {"slot one past the pictures", [](std::string &b) { b[20 + 4 * 7] = 12; }},
        {"negative slot", [](std::string &b) { memset(&b[20 + 4 * 499], 0xff, 4); }},
        {"more pictures than rows", [](std::string &b) { b.append(kMaxRows * 808, '\0'); }},
    };
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    const std::string good = read_file(cache);
    for (auto &c : cases) {
        SCOPED_TRACE(c.damage);
        std::string bad = good;
        c.change(bad);
        dir.write("Tavrik.tvi", bad);
        EXPECT_EQ(icon_cache_load(), 0);
        EXPECT_EQ(make_item_bitmap(kSystemPicture), nullptr);
        EXPECT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(read_file(cache), good);
    }
    g_settings.icon_width = g_settings.icon_height = 32;  // the system's icons grew
    EXPECT_EQ(icon_cache_load(), 0);
    EXPECT_EQ(icon_cache_check(nullptr), 1);
    EXPECT_EQ(read_file(cache).size(), icon_cache_file_size(10, icon_record_size(32, 32)));
    EXPECT_EQ(icon_cache_load(), 1);
}

// Read-only: the text menu. Held by another program, without sharing or
// sharing it for reading only: this run draws the pictures it rendered (a
// current file held for reading is read, and only a writable one is used);
// the file stays as it was until it is let go.
TEST_F(IconCache, ReadOnlyCacheGivesTextAHeldOneThePicturesJustMade) {
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    const std::string before = read_file(cache);
    SetFileAttributesA(cache.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(icon_cache_check(nullptr), 1) << "current: nothing to write";
    EXPECT_EQ(icon_cache_load(), 0);
    g_settings.definition_time = kLater;
    EXPECT_EQ(icon_cache_check(nullptr), 0) << "stale and cannot be written";
    SetFileAttributesA(cache.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (DWORD share : {0, FILE_SHARE_READ}) {
        SCOPED_TRACE(share);
        HANDLE held =
            CreateFileA(cache.c_str(), share ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE, share,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        g_settings.definition_time = kWritten;
        EXPECT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(icon_cache_load(), share ? 0 : 1) << "current";
        g_settings.definition_time = kLater;
        EXPECT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(icon_cache_load(), 1) << "stale";
        EXPECT_NE(make_item_bitmap(kSystemPicture), nullptr);
        CloseHandle(held);
        EXPECT_EQ(read_file(cache), before);
        EXPECT_EQ(listing(dir.path()), (std::set<std::string>{"Tavrik.tvi"}));
    }
    EXPECT_EQ(icon_cache_check(nullptr), 1) << "once let go, it is written again";
    EXPECT_NE(read_file(cache), before);
    EXPECT_EQ(icon_cache_load(), 1);
}

// Nothing half made is left behind when the file cannot be made at all; the
// run draws the pictures it rendered.
TEST_F(IconCache, CacheThatCannotBeCreatedLeavesNoFile) {
    const struct {
        const char *why;
        std::string definition, folder;  // definition_path below the folder; folder made first
    } cases[] = {
        {"folder missing", "gone\\Tavrik.ini", ""},
        {"cache name taken by a folder", "Tavrik.ini", "Tavrik.tvi"},
        {"temporary name taken by a folder", "Tavrik.ini",
         "~tv" + hex8(GetCurrentProcessId()) + ".tmp"},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder fresh;
        snprintf(g_startup.definition_path, kPathSize, "%s", (fresh.path() + c.definition).c_str());
        std::set<std::string> expected;
        if (!c.folder.empty()) {
            fresh.make_folder(c.folder);
            expected.insert(c.folder + "/");
        }
        EXPECT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(icon_cache_load(), 1);
        EXPECT_EQ(listing(fresh.path()), expected);
        EXPECT_TRUE(c.folder.empty() || listing(fresh.path() + c.folder + "\\").empty());
    }
}

// Beside a definition whose path is as long as a path can be, the cache is
// still written under a temporary name that fits, then moved into place.
TEST_F(IconCache, WrittenBesideADefinitionWithTheLongestPath) {
    std::string relative;
    while (dir.path().size() + relative.size() < 230) relative += "0123456789\\";
    const std::string folder = dir.make_folder(relative.substr(0, relative.size() - 1)) + "\\";
    const std::string base(259 - folder.size() - 4, 'b');
    snprintf(g_startup.definition_path, kPathSize, "%s%s.ini", folder.c_str(), base.c_str());
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    EXPECT_EQ(read_file(folder + base + ".tvi").size(), 11716u);
    EXPECT_EQ(listing(folder), (std::set<std::string>{base + ".tvi"}));
}

// A write that breaks off anywhere, even in the last byte, leaves the old
// cache (here stale) or none, and no temporary file; the next run writes it.
TEST_F(IconCache, WriteBreakingOffNeverLeavesACurrentCache) {
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    const std::string old_cache = read_file(cache);
    const size_t whole = old_cache.size();  // 2020 + 12 * 808
    for (bool had_cache : {true, false}) {
        for (size_t written :
             {(size_t)0, (size_t)10, (size_t)2020, (size_t)2020 + 808 + 1, whole - 1}) {
            SCOPED_TRACE((had_cache ? "over the old cache, " : "no cache before, ") +
                         std::to_string(written) + " bytes written");
            had_cache ? (void)dir.write("Tavrik.tvi", old_cache) : (void)DeleteFileA(cache.c_str());
            g_settings.definition_time = kLater;
            icon_cache_write = failing_write;
            g_bytes_left = written;
            EXPECT_EQ(icon_cache_check(nullptr), 1);  // this run draws from memory
            EXPECT_EQ(icon_cache_load(), 1);
            icon_cache_write = saved_write;
            EXPECT_EQ(listing(dir.path()),
                      had_cache ? std::set<std::string>{"Tavrik.tvi"} : std::set<std::string>{});
            EXPECT_EQ(read_file(cache), had_cache ? old_cache : "");
            // The next run sees a stale cache, or none, and writes it whole.
            EXPECT_EQ(icon_cache_check(nullptr), 1);
            EXPECT_EQ(read_file(cache).size(), whole);
            EXPECT_EQ(icon_cache_load(), 1);
            g_settings.definition_time = kWritten;
        }
    }
}
