// The loader: choosing the file, line rules, row kinds and loader state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "definition/startup.h"
#include "definition/items.h"
#include "definition/loader.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

// The rows as "kind level [title]" words: E entry, V variant, S separator,
// C column break, B submenu begin, X submenu end.
std::string rows() {
    std::string out;
    for (int i = 0; i < g_items.item_count; ++i) {
        const char *kinds = "EVSC?O??BX";
        out += (i ? " " : "") + std::string(1, kinds[g_items.kind[i]]) +
               std::to_string(g_items.level[i]);
        if (g_items.title[i][0]) out += "[" + std::string(g_items.title[i]) + "]";
    }
    return out;
}

class Loader : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        dir.write("ed.exe", "MZ");
        dir.write("Tool Two.exe", "MZ");
        set_current_folder(dir.path());
    }
    void TearDown() override { set_current_folder(temp_folder()); }
    std::string load(const std::string &launch_lines) {
        load_text("[launch]\n" + launch_lines);
        return rows();
    }
    ScratchFolder dir;
};

}  // namespace

TEST_F(Loader, RowKindsAndLoaderState) {
    const std::string ed = dir.path() + "ed.exe";
    struct {
        std::string lines, rows;
    } cases[] = {
        {"+\n-\n>x\n}\n{\n" + ed + " | &Ed\n", "E0[&Ed]"},
        {ed + " | Ed\n>-n | new\n+\n>-p\n-\n" + ed + "\n", "E0[Ed] V0[new] S0 V0[-p] C0 E0[ed]"},
        {"{&Sub\n+\n>x\n" + ed + " | A\n}\n+\n}\n>y\n", "B0[&Sub] E1[A] X1 S0"},
        {"{A\n{B\n" + ed + " | in\n}\n", "B0[A] B1[B] E2[in] X2"},
        {ed + " | A\nnot_here | B\n+\n", "E0[A] S0"},
        {"https://e.jp/" + std::string(250, 'a') + " | cut\n", ""},  // never cut to fit
        {"Tool Two | T2\n" + ed + "\n%END\n" + ed + " | after\n", "E0[T2] E0[ed]"},
        {"\t  ; comment\n  " + ed + " | indented\n" + ed + " | last line without LF",
         "E0[indented]"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lines);
        EXPECT_EQ(load(c.lines), c.rows);
    }
    load(ed + " | A\n>p1 | one\n>p2\n");
    EXPECT_EQ(g_items.variant_count[0], 2);
    EXPECT_EQ(g_items.owner[2], 0);
    EXPECT_STREQ(g_items.target[1], "p1");
    EXPECT_STREQ(g_items.target[2], "p2");
}

TEST_F(Loader, TargetsTitlesAndAccessKeys) {
    struct {
        std::string line, target, title, key;
    } cases[] = {
        {"ed | E&dit", "ed.exe", "E&dit", "d"},
        {dir.path() + "e\td.exe\r", "ed.exe", "ed", ""},  // TAB and CR are dropped
        {dir.path() + ".\\sub\\..\\ed.exe | x& ", "ed.exe", "x& ", " "},
        {dir.path() + "ed.exe |  & ", "ed.exe", " & ", " "},
        {dir.path() + "ed.exe | a&", "ed.exe", "a&", ""},
        {"%TVT%ed | &Env", "ed.exe", "&Env", "E"},
        {"ed | \xe2\x98\x83&x", "ed.exe", "?&x", "x"},  // UTF-8: a snowman cp932 lacks
        // URLs and shell locations are kept as written, never resolved.
        {"https://example.com/a%20b?q=1 | &Web", "https://example.com/a%20b?q=1", "&Web", "W"},
        {"ms-settings:display", "ms-settings:display", "ms-settings:display", ""},
    };
    set_environment("TVT", dir.path().c_str());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        load(c.line + "\n");
        ASSERT_EQ(g_items.item_count, 1);
        EXPECT_EQ(g_items.target[0], (c.target[0] == 'e' ? dir.path() : "") + c.target);
        EXPECT_EQ(g_items.title[0], c.title);
        EXPECT_EQ(g_items.access_key[0], c.key);
    }
    set_environment("TVT", nullptr);
}

TEST_F(Loader, LongLinesAreCutAndTheNextLineStillReads) {
    std::string ed = dir.path() + "ed.exe";
    std::string long_title(600, 't');
    load(ed + " | " + long_title + "\n" + ed + " | next\n{" + std::string(400, 's') + "\n");
    ASSERT_EQ(g_items.item_count, 3);
    EXPECT_EQ(strlen(g_items.title[0]), 259u);
    EXPECT_STREQ(g_items.title[1], "next");
    EXPECT_EQ(strlen(g_items.title[2]), 259u);
    // A delimiter beyond byte 517 is cut away: the whole line is then the target.
    load(ed + std::string(520, 'x') + " | far\n");
    EXPECT_EQ(g_items.item_count, 0);
}

TEST_F(Loader, SectionsAreFoundAnywhereInAnyCase) {
    std::string ed = dir.path() + "ed.exe";
    load_text("[LAUNCH]\n" + ed + "\n%end\n[System]\n@mark=0\n%end\n");
    EXPECT_EQ(rows(), "E0[ed]");
    EXPECT_EQ(g_settings.variant_mark, 0);
    // Without "%end" the [system] section runs on over the [launch] lines.
    reset_launcher_state(dir.path());
    load_text("[system]\n@icon\n[launch]\n@sysmenu=0\n" + ed + "\n");
    EXPECT_EQ(g_settings.system_entry_always, 0);
    EXPECT_EQ(rows(), "E0[ed]");
}

TEST_F(Loader, TableStopsAtFiveHundredRows) {
    std::string lines = dir.path() + "ed.exe\n";
    for (int i = 0; i < 700; ++i) lines += i % 2 ? "+\n" : ">v\n";
    lines += "}\n";
    load(lines);
    EXPECT_EQ(g_items.item_count, 500);
    EXPECT_EQ(g_items.variant_count[0], 250);
}

TEST_F(Loader, ChoosesCreatesOrReportsTheDefinitionFile) {
    snprintf(g_startup.default_definition_name, 260, "Menu2.ini");
    // Nothing there: the default name is created empty.
    snprintf(g_startup.definition_path, 260, "%smissing.ini", dir.path().c_str());
    EXPECT_EQ(load_definition(), 1);
    EXPECT_EQ(std::string(g_startup.definition_path), dir.path() + "Menu2.ini");
    EXPECT_EQ(read_file(dir.path() + "Menu2.ini"), "");
    EXPECT_GE(g_settings.definition_time.year, 2020);
    // Tavrik.ini is the fallback when the default name is missing.
    delete_file(dir.path() + "Menu2.ini");
    dir.write("Tavrik.ini", "[launch]\n" + dir.path() + "ed.exe\n");
    snprintf(g_startup.definition_path, 260, "%smissing.ini", dir.path().c_str());
    EXPECT_EQ(load_definition(), 1);
    EXPECT_EQ(std::string(g_startup.definition_path), dir.path() + "Tavrik.ini");
    EXPECT_EQ(rows(), "E0[ed]");
    // A folder exists but cannot be read as a file.
    snprintf(g_startup.definition_path, 260, "%s", dir.path().c_str());
    EXPECT_EQ(load_definition(), 0);
}
