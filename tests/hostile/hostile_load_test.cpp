// Loads thousands of generated and mutated definition files and checks that
// the table and the settings stay within their bounds after each.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "definition/startup.h"
#include "check/collector.h"
#include "check/report.h"
#include "definition/listing.h"
#include "definition/items.h"
#include "definition/loader.h"
#include "definition/settings.h"

namespace {

std::string scratch_folder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "tavrik_hostile_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "\\list").c_str(), nullptr);
    CreateDirectoryA((dir + "\\list\\sub").c_str(), nullptr);
    for (const char *name : {"\\ed.exe", "\\list\\a.exe", "\\list\\b.lnk", "\\list\\sub\\c.exe"})
        std::ofstream(dir + name) << "MZ";
    return dir + "\\";
}

std::vector<std::string> split_lines(const std::string &text) {
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 1)
        lines.push_back(text.substr(at, (end = text.find('\n', at)) - at));
    return lines;
}

class Generator {
public:
    Generator(const std::string &dir) : dir_(dir), rng_(20101213) {}

    std::string next(int index) {
        if (index % 4 == 0) return random_bytes(pick(0, 1500));
        return index % 4 == 1 ? structured() : mutate(structured());
    }

private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    char byte() { return (char)pick(0, 255); }

    // Random bytes without folder separators, so that no line names a folder
    // outside the scratch folder (a drive root would be listed in full).
    std::string random_bytes(int n) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            char c = pick(0, 30) ? byte() : '\n';
            s += c == '\\' || c == '/' ? '_' : c;
        }
        return s;
    }

    std::string line() {
        // One line each, in this order (the seed's sequence depends on it).
        static const std::vector<std::string> fixed = split_lines(
            "+\n-\n}\n{\n{&Sub\n>\n>-p | variant\n%end\n%END\n;comment\n"
            "@param\n@dlm=\n@dlm=::\n@dlm=x\n@menu=\n@menu=mouse\n@menu=MAX,MAX,MAX\n@menu=,\n"
            "@font=\n@font=,,,,\n@font=Face,-5,99\n@dist=-1,,\n@folder=1,1,1,1\n@folder=\n"
            "@filter=\n@filter=;;;\n@icon\n@icon=1\n@xtitle=\n@xinit=\n@path=\n@path=;;;\n"
            "@editor=\n@filer=\n@filer\n[system]\n[launch]\n\n \n\t\n"
            "%ins_Tvr%\\ed.exe | %4y%\n%Fonts%\\a.ttf | f\n%ins_Tvr%\nname | value\n | \n&\n");
        const int kind = pick(0, 9);
        if (kind == 0) return dir_ + "ed.exe | &Ed";
        if (kind == 1) return dir_ + (pick(0, 1) ? "list" : "list | &L");
        if (kind == 2) return std::string(pick(300, 3000), (char)pick(32, 126));
        if (kind == 3) return "@filter=" + repeat(".e;", pick(1, 2000));
        if (kind == 4) return random_bytes(pick(1, 40));
        return fixed[pick(0, (int)fixed.size() - 1)];
    }

    std::string repeat(const std::string &s, int n) {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    }

    std::string structured() {
        std::string s;
        if (pick(0, 3)) s += "[system]\n";
        if (pick(0, 3) == 0) s += "@param\n" + repeat("p | q\n", pick(0, 14));
        int lines = pick(0, 60) ? pick(0, 40) : pick(500, 2000);
        for (int i = 0; i < lines; ++i) {
            if (i == lines / 3 && pick(0, 1)) s += "%end\n[launch]\n";
            if (pick(0, 40) == 0) s += repeat("{x\n", pick(1, 200));
            s += line();
            s += pick(0, 10) ? "\n" : (pick(0, 1) ? "\r\n" : "\r");
        }
        return s;
    }

    std::string mutate(std::string s) {
        int edits = pick(1, 20);
        for (int i = 0; i < edits && !s.empty(); ++i) {
            size_t at = (size_t)pick(0, (int)s.size() - 1);
            int edit = pick(0, 3);
            if (edit == 0)
                s[at] = (char)pick(48, 91);
            else if (edit == 1)
                s.insert(at, 1, "\n\r\t\0{}+->;%@|&"[pick(0, 13)]);
            else if (edit == 2)
                s.erase(at, (size_t)pick(1, 50));
            else
                s.insert(at, s.substr(at, (size_t)pick(1, 400)));
        }
        return s;
    }

    std::string dir_;
    std::mt19937 rng_;
};

void remove_folder(const std::string &dir) {
    std::string from = dir.substr(0, dir.size() - 1) + std::string(1, '\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

template <size_t N>
bool terminated(const char (&text)[N]) {
    return memchr(text, 0, N) != nullptr;
}

// Everything a later stage reads must hold, whatever the file said.
void check_invariants() {
    const ItemTable &t = g_items;
    ASSERT_TRUE(t.item_count >= 0 && t.item_count <= kMaxRows);
    std::vector<int> variants(kMaxRows, 0);
    for (int i = 0; i < t.item_count; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        ASSERT_TRUE(terminated(t.target[i]) && terminated(t.title[i]) &&
                    terminated(t.access_key[i]));
        int k = t.kind[i];
        ASSERT_TRUE(k == Entry || k == Variant || k == SoleVariant || k == Separator ||
                    k == ColumnBreak || k == SubmenuBegin || k == SubmenuEnd);
        int expected_level = i == 0                          ? 0
                             : t.kind[i - 1] == SubmenuBegin ? t.level[i - 1] + 1
                             : t.kind[i - 1] == SubmenuEnd   ? t.level[i - 1] - 1
                                                             : t.level[i - 1];
        ASSERT_EQ(t.level[i], expected_level);
        ASSERT_TRUE(k != SubmenuEnd || t.level[i] >= 1);
        if (k == Variant || k == SoleVariant) {
            int owner = t.owner[i];
            ASSERT_TRUE(owner >= 0 && owner < i && t.kind[owner] == Entry);
            ASSERT_EQ(t.level[owner], t.level[i]);
            ASSERT_EQ(k == SoleVariant, t.variant_count[owner] == 1);  // decided by the loader
            ++variants[owner];
        }
    }
    for (int i = 0; i < t.item_count; ++i)
        ASSERT_TRUE(t.kind[i] != Entry || t.variant_count[i] == variants[i]) << "row " << i;
    const LauncherSettings &s = g_settings;
    ASSERT_TRUE(terminated(s.delimiter) && terminated(s.search_list) && terminated(s.font_face) &&
                terminated(s.input_title) && terminated(s.input_initial_text) &&
                terminated(s.editor_path) && terminated(s.filer_path));
    ASSERT_TRUE(s.filter_count >= 1 && s.filter_count <= kMaxFilters);
    for (int i = 0; i < s.filter_count; ++i) ASSERT_TRUE(terminated(s.filter_exts[i]));
    ASSERT_TRUE(s.param_count >= 0 && s.param_count <= kMaxParams);
    for (int i = 0; i < s.param_count; ++i)
        ASSERT_TRUE(terminated(s.param_names[i]) && terminated(s.param_values[i]));
    ASSERT_TRUE(s.icon_mode >= 0 && s.icon_mode <= 2);
    ASSERT_TRUE(s.menu_position >= 0 && s.menu_position <= 4);
    ASSERT_TRUE(g_listing.count >= 0 && g_listing.count <= kMaxListedFiles);
}

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        SetCurrentDirectoryA(dir.c_str());
        g_startup.mouse_buttons = 3;
        const char *count = getenv("TAVRIK_HOSTILE_FILES");  // fewer while investigating
        files = count ? atoi(count) : 10000;
    }
    void TearDown() override {
        SetCurrentDirectoryA("C:\\");
        if (!HasFailure()) remove_folder(dir);
    }
    // Keeps the text that broke an invariant for a closer look.
    void keep_if_failed(const std::string &text, int i) {
        if (!HasFailure()) return;
        std::ofstream(dir + "failing.ini", std::ios::binary) << text;
        FAIL() << "file " << i << " kept as " << dir << "failing.ini";
    }
    const std::string dir = scratch_folder();
    Generator generator{dir};
    int files;
};

}  // namespace

TEST_F(HostileInput, TenThousandDefinitionsStayInBounds) {
    snprintf(g_startup.program_folder, sizeof g_startup.program_folder, "%s", dir.c_str());
    snprintf(g_startup.default_definition_name, sizeof g_startup.default_definition_name,
             "Tavrik.ini");
    g_startup.screen_width = 1024;
    g_startup.maximised_height = 740;
    const std::string file = dir + "Tavrik.ini";
    DWORD started = GetTickCount();
    for (int i = 0; i < files && !HasFailure(); ++i) {
        std::string text = generator.next(i);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        settings_at_start();
        snprintf(g_startup.definition_path, sizeof g_startup.definition_path, "%s", file.c_str());
        EXPECT_EQ(load_definition(), 1) << "file " << i;
        check_invariants();
        keep_if_failed(text, i);
    }
    fprintf(stderr, "%d files in %lu ms\n", files, GetTickCount() - started);
}

// The checker loads the same text with its sink installed: the diagnostics
// must stay in bounds too, and every finding must name a line of the text
// (the whole file for an empty one).
TEST_F(HostileInput, CheckerReportsOnHostileDefinitions) {
    static CheckResult result;
    for (int i = 0; i < files / 10 && !HasFailure(); ++i) {
        std::string text = generator.next(i);
        check_definition_text(text.c_str(), text.size(), &result);
        check_invariants();
        int lines = 1 + (int)std::count(text.begin(), text.end(), '\n');
        for (const CheckFinding &f : result.findings)
            EXPECT_TRUE((f.line >= 1 || f.kind == DiagEmptyDefinition) && f.line <= lines)
                << "file " << i << " kind " << f.kind;  // an empty file: no line
        for (int row = 0; row < g_items.item_count; ++row)
            EXPECT_TRUE(result.row_line[row] >= 1 && result.row_line[row] <= lines) << "file " << i;
        EXPECT_FALSE(check_report(result, i % 2 ? CheckJapanese : CheckEnglish, "x", "y").empty());
        keep_if_failed(text, i);
    }
}
