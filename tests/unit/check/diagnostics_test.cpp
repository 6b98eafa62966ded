// The loader's diagnostics: one definition per finding, seen through the sink,
// and loading with a sink must leave the same table and settings as without.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "check/collector.h"
#include "check/report.h"
#include "core/diagnostics.h"
#include "core/platform.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

const char *kind_name(DiagKind kind) {
    static const char *names[] = {
        "LineRead",          "SectionStart",      "SectionEnd",      "RowAdded",
        "ResolveStart",      "ResolveTry",        "Encoding",        "EntryNotFound",
        "MarkerAsEntry",     "UnmatchedClose",    "UnclosedSubmenu", "SectionRunsOn",
        "TableFull",         "LineCut",           "FieldCut",        "DirectiveUnknown",
        "DirectiveTooShort", "DirectiveNoEffect", "ValueFellBack",   "ProgramNotFound",
        "SearchListUnread",  "TooManyFilters",    "TooManyParams",   "FolderEmpty",
        "FolderNotListed",   "ListingFull",       "ListingCut",      "LastLineNoEol",
        "CharacterLost",     "EmptyDefinition",   "HiddenExtension", "HeaderInComment",
        "VariantElsewhere",
    };
    static_assert(sizeof names / sizeof names[0] == DiagVariantElsewhere + 1, "a name each");
    return names[kind];
}

// Findings as "Kind@line" words in the order reported; events are left out.
struct Recorder {
    std::string findings;
    std::vector<std::string> tries;  // step, name, "+" when found
    static void report(void *context, const DiagEvent &e) {
        auto &r = *(Recorder *)context;
        if (e.kind == DiagResolveTry)
            r.tries.push_back(std::to_string(e.number) + e.text + (e.number2 ? "+" : ""));
        if (e.kind < DiagEntryNotFound) return;
        r.findings += (r.findings.empty() ? "" : " ") + std::string(kind_name(e.kind)) + "@" +
                      std::to_string(e.line);
    }
};

std::string repeat(const std::string &line, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += line;
    return out;
}

class Diagnostics : public ::testing::Test {
protected:
    // The files are made once for all cases.
    static void SetUpTestSuite() {
        shared = new ScratchFolder;
        shared->write("ed.exe", "MZ");
        shared->write("docs\\readme.txt", "x");
        for (int i = 0; i < 12; ++i) shared->write("list\\p" + std::to_string(i) + ".exe", "MZ");
        for (int i = 0; i < 101; ++i) shared->write("many\\m" + std::to_string(i) + ".exe", "MZ");
    }
    static void TearDownTestSuite() {
        delete shared;
        shared = nullptr;
    }
    void SetUp() override { SetCurrentDirectoryA(dir.path().c_str()); }
    void TearDown() override {
        g_diag_sink = nullptr;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        SetCurrentDirectoryA(temp);
    }
    // Loads text without and then with a sink; the two loads must agree.
    std::string findings(const std::string &text) {
        reset_launcher_state(dir.path());
        load_text(text);
        static ItemTable items;
        static LauncherSettings settings;
        items = g_items;
        settings = g_settings;
        recorder = Recorder();
        DiagSink sink = {Recorder::report, &recorder};
        reset_launcher_state(dir.path());
        g_diag_sink = &sink;
        load_text(text);
        g_diag_sink = nullptr;
        EXPECT_EQ(memcmp(&items, &g_items, sizeof items), 0) << "the sink changed the table";
        EXPECT_EQ(memcmp(&settings, &g_settings, sizeof settings), 0)
            << "the sink changed the settings";
        return recorder.findings;
    }
    static ScratchFolder *shared;
    const ScratchFolder &dir = *shared;
    Recorder recorder;
};

ScratchFolder *Diagnostics::shared = nullptr;

}  // namespace

TEST_F(Diagnostics, EachFindingAtItsLine) {
    const std::string ed = dir.path() + "ed.exe";
    const std::string full = ed + "\n" + repeat("+\n", 499);  // rows 0 to 499
    const std::string locked = dir.write("paths.txt", "path=C:\\\n");
    HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    struct {
        std::string text, expected;
    } cases[] = {
        {"[launch]\n" + ed + "\nnot_here | x\n", "EntryNotFound@3"},
        {"[launch]\n\n   \n;note\n | blank target\n", "EntryNotFound@5"},
        {"[launch]\n+\n-\n>v\n{\n",
         "MarkerAsEntry@2 EntryNotFound@2 MarkerAsEntry@3 "
         "EntryNotFound@3 MarkerAsEntry@4 EntryNotFound@4 "
         "MarkerAsEntry@5 EntryNotFound@5"},
        {"[launch]\n}\n", "UnmatchedClose@2 EntryNotFound@2"},
        {"[launch]\n{A\n{B\n" + ed + "\n}\n", "UnclosedSubmenu@5"},
        {"[launch]\n{A\n%end\n", "UnclosedSubmenu@3"},
        {"[system]\n@icon\n[launch]\n" + ed + "\n",
         "DirectiveUnknown@3 DirectiveUnknown@4 SectionRunsOn@3"},
        {"[launch]\n" + ed + "\n[system]\n@icon\n",
         "EntryNotFound@3 EntryNotFound@4 SectionRunsOn@3"},
        {"[launch]\n" + full + "+\n+\n", "TableFull@502 TableFull@503"},
        {"[system]\n@xinit=" + std::string(600, 'x') + "\n", "LineCut@2 FieldCut@2"},
        {"[launch]\n" + ed + " | " + std::string(300, 't') + "\n>" + std::string(300, 'p') +
             " | v\n{" + std::string(300, 's') + "\n}\n",
         "FieldCut@2 FieldCut@3 FieldCut@4"},
        {"[system]\n@dlm=" + std::string(40, ':') + "\n@xtitle=" + std::string(40, 't') +
             "\n@dist=1234567\n@font=" + std::string(130, 'f') + "\n",
         "FieldCut@2 FieldCut@3 FieldCut@4 ValueFellBack@4 FieldCut@5"},
        {"[system]\n@nothing\nicon\n\n  \n@menu=1\n@dlm=:\n@filter=x\n",
         "DirectiveUnknown@2 DirectiveUnknown@3 DirectiveTooShort@6 DirectiveTooShort@7 "
         "DirectiveTooShort@8"},
        {"[system]\n@icon\n@icon=1\n@menu=center\n@menu=mouse\n",
         "DirectiveNoEffect@3 DirectiveNoEffect@5"},
        {"[system]\n@menu=100,max\n@font=,0,11\n@dist=0,20000\n@folder=-1,2\n",
         "ValueFellBack@2 ValueFellBack@3 ValueFellBack@3 ValueFellBack@3 ValueFellBack@4 "
         "ValueFellBack@5 ValueFellBack@5"},
        {"[system]\n@menu=where\n", "ValueFellBack@2"},
        {"[system]\n@path=" + locked + "\n", "SearchListUnread@2"},
        {"[system]\n@editor=nowhere\n@filer=" + dir.path() + "docs\n",
         "ProgramNotFound@2 ProgramNotFound@3"},
        {"[system]\n@filter=.a;.b;.c;.d;.e;.f;.g;.h;.i;.j;.k\n", "TooManyFilters@2"},
        {"[system]\n@param\n" + repeat("n | v\n", 11), "TooManyParams@13 DirectiveUnknown@13"},
        {"[launch]\n" + dir.path() + "docs\n", "FolderEmpty@2"},
        {"[launch]\n" + dir.path() + "many\n", "ListingFull@2"},
        {"[launch]\n" + ed + "\n" + repeat("+\n", 497) + dir.path() + "list\n",
         "FolderNotListed@500"},
        {"[launch]\n" + ed + "\n" + repeat("+\n", 490) + dir.path() + "list\n", "ListingCut@493"},
        {"[launch]\n" + ed + "\n" + ed, "LastLineNoEol@3"},
        {"[launch]\n" + ed + "\n\xe2\x98\x83 | snow\n", "CharacterLost@3 EntryNotFound@3"},
        {"\r\n \n", "EmptyDefinition@0"},
        {"; [launch] after this\n[launch]\n", "HeaderInComment@1 EntryNotFound@2"},
        {"[launch]\n" + ed + "\n\n>-n\nnot_here\n+\n>-v\n", "EntryNotFound@5 VariantElsewhere@7"},
        {"[system]\n@icon\n%end\n[launch]\n" + ed + "\n%end\n" + ed, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 120));
        EXPECT_EQ(findings(c.text), c.expected);
    }
    CloseHandle(lock);
}

TEST_F(Diagnostics, ResolutionStepsInOrder) {
    char saved[1024];
    int had = plat_environment("PATHEXT", saved, sizeof saved);
    set_environment("PATHEXT", ".COM;.EXE");
    findings("[system]\n@path=" + dir.path() + "docs\n%end\n[launch]\nnot_here\n");
    set_environment("PATHEXT", had ? saved : nullptr);
    // As named, with ".exe", in the search list, in the system search order;
    // then App Paths and the other PATHEXT extensions in the same order.
    std::vector<std::string> expected = {"0" + dir.path() + "docs+"};
    for (const char *step : {"0", "1", "2"})
        for (const char *name : {"not_here", "not_here.exe"})
            expected.push_back(step + std::string(name));
    expected.push_back("3not_here.exe");
    for (const char *step : {"0", "1", "2"}) expected.push_back(step + std::string("not_here.com"));
    EXPECT_EQ(recorder.tries, expected);
}

// The checker's own bookkeeping: row lines, setting lines, findings merged.
TEST_F(Diagnostics, CollectorAndReport) {
    const std::string ed = dir.path() + "ed.exe";
    const std::string text =
        "; menu\n[system]\n@menu=center\n@dlm=::\n@menu=mouse\n%end\n"
        "[launch]\n" +
        ed + "::&Edit\n>-n::new\n+\n{Sub\n+\n" + dir.path() + "list::L\n}\n}\n" +
        std::string(530, 'z') + "\n";
    reset_launcher_state(dir.path());
    static CheckResult result;
    check_definition_text(text.data(), text.size(), &result);
    EXPECT_EQ(result.row_line[0], 8);
    EXPECT_EQ(result.row_line[3], 11);
    EXPECT_EQ(result.row_line[5], 13);  // a listed file: the folder's line
    EXPECT_EQ(result.setting_line[SettingPosition], 3);
    EXPECT_EQ(result.setting_line[SettingDelimiter], 4);
    EXPECT_TRUE(check_setting_differs(result, SettingDelimiter));
    EXPECT_FALSE(check_setting_differs(result, SettingIcon));
    std::string lines;
    for (const CheckFinding &f : result.findings)
        lines += std::to_string(f.line) + ":" + kind_name(f.kind) + " ";
    // "+" after "{" is one finding; the long line is cut and its target not found.
    EXPECT_EQ(lines,
              "5:DirectiveNoEffect 12:MarkerAsEntry 15:UnmatchedClose 16:LineCut "
              "16:EntryNotFound ");
    std::string report = check_report(result, CheckEnglish, "C:\\m.ini", "C:\\");
    for (const char *expected :
         {"     8  &Edit  ->  ", "     9    > new  [-n]", "  line 3: menu position: screen centre",
          "  line 12: \"+\" here is read", "Findings: 5"})
        EXPECT_NE(report.find(expected), std::string::npos) << expected << "\n" << report;
    // Japanese texts are code page 932 bytes: "行目" is 8D 73 96 DA.
    report = check_report(result, CheckJapanese, "C:\\m.ini", "C:\\");
    EXPECT_NE(report.find("  12 \x8d\x73\x96\xda: "), std::string::npos) << report;

    // An empty or missing definition beside one saved with a hidden extension.
    const std::string ini = dir.path() + "Menu.ini";
    dir.write("Menu.ini.txt", "\xef\xbb\xbf[launch]\n");
    dir.write("Menu.txt", "notes\n  [launch]\n");  // an example in a text, as in the help file
    EXPECT_EQ(check_definition_file(ini.c_str(), &result), 0);
    EXPECT_EQ(result.findings.size(), 1u);
    dir.write("Menu.ini", "");
    EXPECT_EQ(check_definition_file(ini.c_str(), &result), 1);
    ASSERT_EQ(result.findings.size(), 2u);
    EXPECT_EQ(check_finding_text(result.findings[0], CheckEnglish),
              "  \"Menu.ini.txt\" holds a menu definition but is not read: with file extensions "
              "hidden its name looks right; rename it to \"Menu.ini\"\n");
    EXPECT_EQ(result.findings[1].kind, DiagEmptyDefinition);
}
