// Bounded text helpers, decimal parsing and the path split.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/pathparts.h"
#include "core/text.h"

TEST(Text, ToIntFollowsTheDocumentedShellRules) {
    const struct {
        const char *text;
        int value;
    } cases[] = {
        {"\t+5", 5}, {"  -3", -3},      {"12abc", 12},
        {"abc", 0},  {"", 0},           {"+ 5", 0},
        {"1 2", 1},  {"4294967297", 1}, {"-2147483648", (int)0x80000000},
    };
    for (const auto &c : cases) EXPECT_EQ(text_to_int(c.text), c.value) << "\"" << c.text << "\"";
}

TEST(Text, CopiesAndAppendsAreCutToTheBuffer) {
    char small[5];
    EXPECT_EQ(text_copy(small, "abcdefgh"), 4u);
    EXPECT_STREQ(small, "abcd");
    text_copy(small, "ab");
    EXPECT_EQ(text_append(small, "cdef"), 4u);
    EXPECT_STREQ(small, "abcd");
    EXPECT_EQ(text_format(small, sizeof small, "%d", 123456), 4u);
    EXPECT_STREQ(small, "1234");
    text_copy_n(small, "xyz", 2);
    EXPECT_STREQ(small, "xy");
}

// "\x83\x41" is one Shift-JIS character (ア); a cut never keeps its first byte alone.
TEST(Text, CutsKeepDoubleByteCharactersWhole) {
    const std::string a = "\x83\x41", xa = "x" + a;
    const struct {
        const char *what;
        std::function<size_t(char *)> write;  // into 3 bytes
        std::string kept;
    } cases[] = {
        {"copy cut at a lead byte", [&](char *b) { return text_copy(b, 3, xa.c_str()); }, "x"},
        {"copy cut behind it", [&](char *b) { return text_copy(b, 3, (a + "y").c_str()); }, a},
        {"n bytes end in a lead byte", [&](char *b) { return text_copy_n(b, 3, xa.c_str(), 2); },
         "x"},
        {"format cut at a lead byte", [&](char *b) { return text_format(b, 3, "%s", xa.c_str()); },
         "x"},
        {"append cut at a lead byte",
         [&](char *b) { return text_copy(b, 3, "x"), text_append(b, 3, a.c_str()); }, "x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        char buffer[3];
        EXPECT_EQ(c.write(buffer), c.kept.size());
        EXPECT_EQ(std::string(buffer), c.kept);
    }
    char one[1];
    EXPECT_EQ(text_copy(one, "abc"), 0u);
    EXPECT_EQ(one[0], 0);
}

TEST(Text, FinalBackslashIgnoresTrailBytesOfDoubleByteCharacters) {
    // 0x95 0x5C is one Shift-JIS character whose second byte looks like a backslash.
    char kanji[] = "C:\\\x95\x5c", folder[] = "C:\\\x95\x5c\\";
    EXPECT_EQ(text_remove_final_backslash(kanji), 0);
    EXPECT_EQ(text_remove_final_backslash(folder), 1);
    EXPECT_STREQ(folder, kanji);
}

TEST(Paths, SplitGivesDriveFolderBaseAndExtension) {
    struct {
        const char *path, *drive, *folder, *base, *ext;
    } cases[] = {
        {"D:\\tools\\Menu2.exe", "D:", "\\tools\\", "Menu2", ".exe"},
        {"C:\\", "C:", "\\", "", ""},
        {"\\\\server\\share\\a.txt", "", "\\\\server\\share\\", "a", ".txt"},
        {"C:\\dir.x\\file", "C:", "\\dir.x\\", "file", ""},
        {"archive.exe.bak", "", "", "archive.exe", ".bak"},
        {"C:\\\x95\x5c\\a.txt", "C:", "\\\x95\x5c\\", "a", ".txt"},
        {"C:\\x\\\x83\x5c", "C:", "\\x\\", "\x83\x5c", ""},
    };
    for (const auto &c : cases) {
        PathParts parts;
        path_split(c.path, &parts);
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(parts.drive, c.drive);
        EXPECT_STREQ(parts.folder, c.folder);
        EXPECT_STREQ(parts.base, c.base);
        EXPECT_STREQ(parts.ext, c.ext);
    }
}
