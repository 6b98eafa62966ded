// The base layer: bounded text helpers, path parts, definition encodings and
// the platform seam, whose native answers are held to Windows' own (these
// cases run on both).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/encoding.h"
#include "core/pathparts.h"
#include "core/platform.h"
#include "core/text.h"
#include "test_support.h"

// Each writer into a 4-byte buffer: what it keeps and the length it reports.
// "\x83\x41" is one Shift-JIS character; a cut never keeps its lead byte alone.
TEST(Core, TextHelpersCutToTheBuffer) {
    const std::string a = "\x83\x41";
    const struct {
        std::function<size_t(char *)> write;
        std::string kept;
        size_t length;
    } cases[] = {
        {[](char *b) { return text_copy(b, 4, "abcde"); }, "abc", 3},
        {[](char *b) { return text_copy(b, 4, "abc"); }, "abc", 3},
        {[&](char *b) { return text_copy(b, 4, ("xy" + a).c_str()); }, "xy", 2},
        {[&](char *b) { return text_copy(b, 4, ("x" + a + "y").c_str()); }, "x" + a, 3},
        {[](char *b) { return text_copy_n(b, 4, "abcdef", 2); }, "ab", 2},
        {[](char *b) { return text_copy_n(b, 4, "abcdef", 3); }, "abc", 3},
        {[&](char *b) { return text_copy_n(b, 4, ("x" + a).c_str(), 2); }, "x", 1},
        {[](char *b) { return text_copy(b, 4, "a"), text_append(b, 4, "bcd"); }, "abc", 3},
        {[](char *b) { return text_copy(b, 4, "a"), text_append_n(b, 4, "bcd", 1); }, "ab", 2},
        {[&](char *b) { return text_copy(b, 4, "xy"), text_append(b, 4, a.c_str()); }, "xy", 2},
        {[](char *b) { return text_format(b, 4, "%d", 123); }, "123", 3},
        // a result cut, even by one byte, reports the shorter length written
        {[](char *b) { return text_format(b, 4, "%d", 1234); }, "123", 3},
        {[&](char *b) { return text_format(b, 4, "%s", ("xy" + a).c_str()); }, "xy", 2},
        {[](char *b) { return text_copy(b, 1, "abc"); }, "", 0},
        {[](char *b) { return text_copy_n(b, 4, "abcdef", 4); }, "abc", 3},
        // a lone lead byte that ends the source is the source's own
        {[&](char *b) { return text_copy_n(b, 4, ("x" + a.substr(0, 1)).c_str(), 3); }, "x\x83", 2},
        {[&](char *b) { return text_copy_n(b, 4, ("x" + a.substr(0, 1)).c_str(), 2); }, "x", 1},
        {[](char *b) { return text_copy(b, 0, "abc"); }, "####", 0},
        {[](char *b) { return text_append(b, 0, "abc"); }, "####", 0},
        {[](char *b) { return text_format(b, 0, "%d", 5); }, "####", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kept);
        char buffer[5] = "####";
        EXPECT_EQ(c.write(buffer), c.length);
        EXPECT_EQ(std::string(buffer), c.kept);
        EXPECT_EQ(buffer[4], 0);
    }
}

TEST(Core, TextHelpersOfTheShell) {
    const struct {
        const char *text;
        int number;
        std::string unquoted, quoted, unblanked;
    } cases[] = {
        {"\t+5", 5, "\t+5", "\t+5", "+5"},
        {" -3 x", -3, " -3 x", "\" -3 x\"", "-3 x"},
        {"\"12abc\"", 0, "12abc", "\"12abc\"", "\"12abc\""},
        {"\"a b", 0, "\"a b", "\"\"a b\"", "\"a b"},
        {"", 0, "", "", ""},
        {"+ 5", 0, "+ 5", "\"+ 5\"", "+ 5"},
        {"4294967297", 1, "4294967297", "4294967297", "4294967297"},
        {"-2147483648 ", (int)0x80000000, "-2147483648 ", "\"-2147483648 \"", "-2147483648"},
        {"\"\"", 0, "", "\"\"", "\"\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        char text[16];
        EXPECT_EQ(text_to_int(c.text), c.number);
        text_copy(text, c.text);
        text_unquote(text);
        EXPECT_EQ(text, c.unquoted);
        text_copy(text, c.text);
        EXPECT_EQ(text_quote_spaces(text, sizeof text), c.quoted != c.text);
        EXPECT_EQ(text, c.quoted);
        text_copy(text, c.text);
        text_remove_blanks(text);
        EXPECT_EQ(text, c.unblanked);
        EXPECT_EQ(text_is_blank(c.text), c.unblanked.empty());
    }
    char full[] = "a b";
    EXPECT_EQ(text_quote_spaces(full, sizeof full + 1), 0);  // no room for the quotes
    EXPECT_STREQ(full, "a b");
    // 0x95 0x5C is one Shift-JIS character whose second byte looks like a backslash.
    char kanji[] = "C:\\\x95\x5c", folder[] = "C:\\\x95\x5c\\";
    EXPECT_EQ(text_remove_final_backslash(kanji), 0);
    EXPECT_EQ(text_remove_final_backslash(folder), 1);
    EXPECT_STREQ(folder, kanji);
}

TEST(Core, PathParts) {
    struct {
        const char *path, *drive, *folder, *base, *ext;
    } cases[] = {
        {"D:\\tools\\Menu2.exe", "D:", "\\tools\\", "Menu2", ".exe"},
        {"\\\\server\\share\\a.txt", "", "\\\\server\\share\\", "a", ".txt"},
        {"C:\\dir.x\\file", "C:", "\\dir.x\\", "file", ""},
        {"archive.exe.bak", "", "", "archive.exe", ".bak"},
        {"C:\\\x95\x5c\\a.txt", "C:", "\\\x95\x5c\\", "a", ".txt"},
        {"C:\\x\\\x83\x5c", "C:", "\\x\\", "\x83\x5c", ""},
    };
    for (const auto &c : cases) {
        PathParts parts;
        path_split(c.path, &parts);
        EXPECT_EQ(
            std::string(parts.drive) + "|" + parts.folder + "|" + parts.base + "|" + parts.ext,
            std::string(c.drive) + "|" + c.folder + "|" + c.base + "|" + c.ext);
    }
}

TEST(Core, EncodingsDetectedAndConverted) {
    struct {
        std::string bytes;
        TextEncoding encoding;
        std::string ansi;  // the converted text
    } cases[] = {
        // Shift-JIS: lead bytes 81-9F are UTF-8 trail bytes, never a start.
        {"a | \x83\x81\x83\x82\x92\xa0(&N)\n", EncodingAnsi, ""},
        {"caf\xe9\n", EncodingAnsi, ""},
        {"\xc0\x80\n", EncodingAnsi, ""},            // an overlong NUL
        {"\xed\xa0\x80\n", EncodingAnsi, ""},        // a surrogate
        {"\xe3\x83\xa1\xe3\x83", EncodingAnsi, ""},  // cut in a character
        {"\xe3\x83\xa1\xe3\x83\xa2\xe5\xb8\xb3(&N)\n", EncodingUtf8,
         "\x83\x81\x83\x82\x92\xa0(&N)\n"},
        {"\xef\xbb\xbf[launch]\xef\xbf\xbd\n", EncodingUtf8Bom, "[launch]\x1a\n"},
        {std::string("\xff\xfe\xe1\x30\xe2\x30\n\x00", 8), EncodingUtf16Le, "\x83\x81\x83\x82\n"},
        {std::string("\xfe\xff\x30\xe1\x00\n\x00", 7), EncodingUtf16Be,
         "\x83\x81\n"},                                // odd byte dropped
        {"\xe2\x98\x83x\n", EncodingUtf8, "\x1ax\n"},  // a snowman
        {std::string("\xff\xfe=\xd8\x00\xde\n\x00", 8), EncodingUtf16Le, "\x1a\x1a\n"},  // an emoji
        {"\xff\xfe", EncodingUtf16Le, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(detect_encoding(c.bytes.data(), c.bytes.size()), c.encoding);
        if (c.encoding == EncodingAnsi) continue;
        size_t length = 99;
        char *text = convert_to_ansi(c.bytes.data(), c.bytes.size(), c.encoding, &length);
        EXPECT_EQ(std::string(text, length) + '|' + text[length], c.ansi + '|' + '\0');
        free(text);
    }
}

TEST(Core, PlatformTextAndPaths) {
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(plat_is_lead_byte((unsigned char)c),
                  (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc));
    const char *finds[][3] = {{"abcABC", "Cab", "2"},
                              {"abc", "", "-"},
                              {"ab", "abc", "-"},
                              {"x\x83\x41y", "Ay", "-"},
                              {"\x83\x41\x41y", "Ay", "2"}};
    for (auto &f : finds) {
        const char *hit = plat_find_ci(f[0], f[1]);
        EXPECT_EQ(hit ? std::to_string(hit - f[0]) : "-", f[2]) << f[0];
    }
    EXPECT_TRUE(plat_starts_ci("@ICON=1x", "@icon=1", 7) && !plat_starts_ci("@ico", "@icon", 5));
    EXPECT_TRUE(plat_collate_ci("a", "B") < 0 && plat_collate_ci("Setup.EXE", "setup.exe") == 0);
    ScratchFolder dir;
    set_current_folder(dir.path());
    const std::string paths[][3] = {
        // name, full path, canonical form ("" when it has none of its own)
        {"C:\\a\\.\\b\\..\\c", "C:\\a\\c", "C:\\a\\c"},
        {"C:/a/b", "C:\\a\\b", ""},
        {"C:\\a\\b\\..\\", "C:\\a\\", "C:\\a\\"},
        {"C:\\..\\a", "C:\\a", "C:\\a"},
        {".\\sub\\..\\y", dir.path() + "y", ""},
        {"\\top", "C:\\top", ""},
        {"C:\\x\\\x95\x5c\\..\\y", "C:\\x\\y", "C:\\x\\y"},
    };
    char out[260];
    for (const auto &p : paths) {
        EXPECT_TRUE(plat_full_path(p[0].c_str(), out, sizeof out) && out == p[1]) << p[0];
        if (!p[2].empty()) {
            EXPECT_TRUE(plat_canonicalize(p[0].c_str(), out, sizeof out) && out == p[2]) << p[0];
        }
    }
    EXPECT_EQ(plat_full_path(("C:\\" + std::string(300, 'a')).c_str(), out, sizeof out), 0);
    set_current_folder(temp_folder());
}

// Files, searches and listings as the definition's cases use them, and the
// corners those cases do not reach.
TEST(Core, PlatformFilesAndSearches) {
    ScratchFolder dir;
    std::string a = dir.make_folder("a"), b = dir.make_folder("b");
    dir.write("b\\Tool1.exe", "MZ");
    EXPECT_FALSE(plat_exists((dir.path() + "b\\tool1.exe\\").c_str()) ||
                 plat_is_directory((b + "\\tool1.exe").c_str()));
    char out[260];
    EXPECT_TRUE(plat_search_path((a + ";;" + b + "\\").c_str(), "tool1.exe", out, sizeof out) &&
                out == b + "\\tool1.exe");
    EXPECT_FALSE(plat_search_path(a.c_str(), (b + "\\tool1.exe").c_str(), out, 10));
}
