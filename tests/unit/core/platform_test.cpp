// The platform seam as the core relies on it: code page 932 lead bytes, the
// shell's letter-case rules, path forms, search order and folder listing.
// It runs on Windows (Wine) and on the native build alike, so the native
// answers are held to Windows' own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/platform.h"
#include "test_support.h"

TEST(Platform, LeadBytesAndLetterCase) {
    for (int c = 0; c < 256; ++c) {
        int lead = (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
        EXPECT_EQ(plat_is_lead_byte((unsigned char)c), lead) << c;
    }
    struct {
        const char *hay, *needle;
        int at;  // -1: not found
    } finds[] = {
        {"abcABC", "Cab", 2},
        {"[System]", "[SYSTEM]", 0},
        {"abc", "", -1},
        {"", "a", -1},
        {"ab", "abc", -1},
        {"x\x83\x41y", "Ay", -1},
        {"\x83\x41y", "\x83\x41Y", 0},
        {"\x83\x41\x41y", "Ay", 2},
        {"%end", "%END", 0},
    };
    for (const auto &f : finds) {
        const char *hit = plat_find_ci(f.hay, f.needle);
        EXPECT_EQ(hit ? (int)(hit - f.hay) : -1, f.at) << f.hay << " / " << f.needle;
    }
    struct {
        const char *text, *prefix;
        int n, same;
    } starts[] = {
        {"@ICON=1x", "@icon=1", 7, 1}, {"@ico", "@icon", 5, 0}, {"%End of", "%end", 4, 1},
        {"@filter", "@filte", 6, 1},   {"x", "y", 0, 1},
    };
    for (const auto &s : starts)
        EXPECT_EQ(plat_starts_ci(s.text, s.prefix, s.n), s.same) << s.text << " / " << s.prefix;
    EXPECT_LT(plat_collate_ci("a", "B"), 0);
    EXPECT_GT(plat_collate_ci("b", "A"), 0);
    EXPECT_EQ(plat_collate_ci("Setup.EXE", "setup.exe"), 0);
}

TEST(Platform, FullAndCanonicalPaths) {
    ScratchFolder dir;
    set_current_folder(dir.path());
    struct {
        std::string name, full;
    } fulls[] = {
        {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
        {"C:/a/b", "C:\\a\\b"},
        {"C:\\a\\\\b", "C:\\a\\b"},
        {"C:\\a\\", "C:\\a\\"},
        {"C:\\..\\a", "C:\\a"},
        {"x.txt", dir.path() + "x.txt"},
        {".\\sub\\..\\y", dir.path() + "y"},
        {"\\top", "C:\\top"},
    };
    char out[260];
    for (const auto &f : fulls) {
        ASSERT_EQ(plat_full_path(f.name.c_str(), out, sizeof out), 1) << f.name;
        EXPECT_EQ(std::string(out), f.full) << f.name;
    }
    EXPECT_EQ(plat_full_path(("C:\\" + std::string(300, 'a')).c_str(), out, sizeof out), 0);
    set_current_folder(temp_folder());
    struct {
        const char *path, *canonical;
    } canonicals[] = {
        {"C:\\a\\.\\b\\..\\c", "C:\\a\\c"},
        {"C:\\a\\b\\..\\..\\c.exe", "C:\\c.exe"},
        {"C:\\..\\a", "C:\\a"},
        {"C:\\a\\b\\.\\", "C:\\a\\b\\"},
        {"C:\\a\\b\\..\\", "C:\\a\\"},
        {"C:\\x\\\x95\x5c\\..\\y", "C:\\x\\y"},
    };
    for (const auto &c : canonicals) {
        ASSERT_EQ(plat_canonicalize(c.path, out, sizeof out), 1) << c.path;
        EXPECT_STREQ(out, c.canonical) << c.path;
    }
}

TEST(Platform, FilesSearchOrderAndListing) {
    ScratchFolder dir;
    std::string a = dir.make_folder("a"), b = dir.make_folder("b");
    dir.write("b\\Tool1.exe", "MZ");
    dir.write("b\\two.txt", "two");
    EXPECT_EQ(plat_exists((dir.path() + "B\\TOOL1.EXE").c_str()), 1);
    EXPECT_EQ(plat_exists((dir.path() + "b\\tool1.exe\\").c_str()), 0);
    EXPECT_EQ(plat_is_directory((dir.path() + "B").c_str()), 1);
    EXPECT_EQ(plat_is_directory((dir.path() + "b\\tool1.exe").c_str()), 0);
    char out[260];
    EXPECT_EQ(plat_search_path((a + ";" + b).c_str(), "tool1.exe", out, sizeof out), 1);
    EXPECT_EQ(std::string(out), b + "\\tool1.exe");
    EXPECT_EQ(plat_search_path((a + ";;" + b + "\\").c_str(), "two.txt", out, sizeof out), 1);
    EXPECT_EQ(std::string(out), b + "\\two.txt");
    EXPECT_EQ(plat_search_path(a.c_str(), "tool1.exe", out, sizeof out), 0);
    EXPECT_EQ(plat_search_path(nullptr, "notepad.exe", out, sizeof out), 1);
    EXPECT_EQ(plat_search_path(a.c_str(), (b + "\\two.txt").c_str(), out, 10), 0);

    char *data;
    size_t size;
    SysTime written;
    ASSERT_EQ(plat_read_file((b + "\\TWO.TXT").c_str(), 0, &data, &size, &written), 1);
    EXPECT_EQ(std::string(data, size), "two");
    EXPECT_GE(written.year, 2020);
    plat_free_file(data);
    EXPECT_EQ(plat_read_file(b.c_str(), 0, &data, &size, nullptr), 0);
    EXPECT_EQ(plat_read_file((a + "\\new.ini").c_str(), 1, &data, &size, nullptr), 1);
    EXPECT_EQ(size, 0u);
    plat_free_file(data);

    std::vector<std::string> names;
    PlatFindEntry entry;
    void *search = plat_find_first((dir.path() + "*.*").c_str(), &entry);
    ASSERT_NE(search, nullptr);
    do {
        names.push_back(std::string(entry.name) + (entry.is_directory ? "\\" : ""));
    } while (plat_find_next(search, &entry));
    plat_find_close(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"..\\", ".\\", "a\\", "b\\"}));
    EXPECT_EQ(plat_find_first((dir.path() + "none\\*.*").c_str(), &entry), nullptr);
}
