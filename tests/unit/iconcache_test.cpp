// The icon cache file: its bytes, when it is written again, damaged and
// read-only files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/paths.h"
#include "menu/iconcache.h"
#include "menu/iconcache_file.h"
#include "menudef/items.h"
#include "menudef/settings.h"
#include "test_support.h"

namespace {

const SysTime kWritten = {2024, 5, 5, 3, 10, 12, 34, 789};

int32_t word(const std::string &bytes, size_t at, int size = 4) {
    int32_t v = 0;
    memcpy(&v, bytes.data() + at, size);
    return v;
}

class IconCache : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        g_app.instance = GetModuleHandleA(nullptr);
        g_settings.icon_mode = 1;
        g_settings.icon_width = g_settings.icon_height = 16;
        g_settings.definition_time = kWritten;
        cache = dir.path() + "Tavrik.tvi";
        // Ten entries, with rows of other kinds among them.
        const std::string targets[] = {"C:\\windows\\notepad.exe", dir.path(),
                                       dir.path() + "no.exe"};
        for (int n = 0; n < 10; ++n) {
            add(Entry, targets[n % 3]);
            if (n == 2 || n == 6) add(n == 2 ? Separator : SubmenuBegin, dir.path());
        }
    }
    void TearDown() override {
        icon_cache_release();
        SetFileAttributesA(cache.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    void add(RowKind kind, const std::string &target) {
        g_items.kind[g_items.item_count] = kind;
        snprintf(g_items.target[g_items.item_count++], kTextSize, "%s", target.c_str());
    }
    std::string record(int slot) { return read_file(cache).substr(2020 + slot * 808, 808); }
    void flip_last_byte() {
        std::string bytes = read_file(cache);
        bytes.back() ^= 0x5a;
        dir.write("Tavrik.tvi", bytes);
    }
    ScratchFolder dir;
    std::string cache;
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
    ASSERT_EQ(icon_cache_load(nullptr), 1);
    EXPECT_EQ(g_items.icon_slot[4], 5);
    EXPECT_EQ(g_items.icon_slot[3], 0);
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
        EXPECT_EQ(icon_cache_load(nullptr), 0);
        EXPECT_EQ(make_item_bitmap(kSystemPicture), nullptr);
        EXPECT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(read_file(cache), good);
    }
    g_settings.icon_width = g_settings.icon_height = 32;  // the system's icons grew
    EXPECT_EQ(icon_cache_load(nullptr), 0);
    EXPECT_EQ(icon_cache_check(nullptr), 1);
    EXPECT_EQ(read_file(cache).size(), icon_cache_file_size(10, icon_record_size(32, 32)));
    EXPECT_EQ(icon_cache_load(nullptr), 1);
}

TEST_F(IconCache, ReadOnlyOrHeldCacheGivesText) {
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    SetFileAttributesA(cache.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(icon_cache_check(nullptr), 1) << "current: nothing to write";
    EXPECT_EQ(icon_cache_load(nullptr), 0);
    g_settings.definition_time.year = 2030;
    EXPECT_EQ(icon_cache_check(nullptr), 0) << "stale and cannot be written";
    SetFileAttributesA(cache.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Held by another program that lets others only read it: not used either.
    HANDLE held = CreateFileA(cache.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    EXPECT_EQ(icon_cache_load(nullptr), 0);
    CloseHandle(held);
}
