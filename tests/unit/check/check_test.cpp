// The checker's view of a load: the findings of each definition of cases.txt
// at their lines, the resolution steps tried, and the lines rows and
// settings came from. A load with the sink must leave what one without does.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "check/collector.h"
#include "check_cases.h"
#include "core/diagnostics.h"
#include "core/platform.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "test_support.h"

namespace {

const char *const kKindNames[] = {
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
static_assert(sizeof kKindNames / sizeof *kKindNames == DiagVariantElsewhere + 1, "a name each");

// Findings as "Kind@line" words (a cut listing and a marker line also "#number");
// resolution steps as "step name[+]".
struct Recorder {
    std::string findings;
    std::vector<std::string> tries;
    static void report(void *context, const DiagEvent &e) {
        auto &r = *(Recorder *)context;
        if (e.kind == DiagResolveTry)
            r.tries.push_back(std::to_string(e.number) + " " + e.text + (e.number2 ? "+" : ""));
        if (e.kind >= DiagEntryNotFound)
            r.findings += (r.findings.empty() ? "" : " ") + std::string(kKindNames[e.kind]) + "@" +
                          std::to_string(e.line) +
                          (e.kind == DiagListingCut || e.kind == DiagMarkerAsEntry
                               ? "#" + std::to_string(e.number)
                               : "");
    }
};

class Check : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("ed.exe", "MZ");
        dir.write("docs\\readme.txt", "x");
        for (int i = 0; i < 12; ++i) dir.write("list\\p" + std::to_string(i) + ".exe", "MZ");
        for (int i = 0; i < 101; ++i) dir.write("many\\m" + std::to_string(i) + ".exe", "MZ");
        set_current_folder(dir.path());
        set_environment("PATHEXT", ".COM;.EXE");
    }
    void TearDown() override { set_environment("PATHEXT", nullptr); }
    // Loads the text without the sink, then with it.
    Recorder load(const std::string &text, int mouse) {
        static ItemTable items;
        static LauncherSettings settings;
        Recorder recorder;
        DiagSink sink = {Recorder::report, &recorder};
        for (DiagSink *with : {(DiagSink *)nullptr, &sink}) {
            reset_launcher_state(dir.path());
            g_startup.mouse_buttons = mouse;
            g_diag_sink = with;
            load_text(text);
            if (!with) items = g_items, settings = g_settings;
        }
        g_diag_sink = nullptr;
        EXPECT_EQ(memcmp(&items, &g_items, sizeof items), 0) << "the sink changed the table";
        EXPECT_EQ(memcmp(&settings, &g_settings, sizeof settings), 0)
            << "the sink changed the settings";
        return recorder;
    }
    ScratchFolder dir;
};

}  // namespace

TEST_F(Check, Cases) {
    const std::string home = dir.path().substr(0, dir.path().size() - 1);
    for (const Case &c : read_cases(kCases)) {
        SCOPED_TRACE("cases.txt:" + std::to_string(c.line));
        std::string input = c.input;
        for (size_t at; (at = input.find('~')) != std::string::npos;) input.replace(at, 1, home);
        Recorder r = load(input, c.number("mouse", 3));
        std::vector<std::string> out =
            c.head[0] == "tries" ? r.tries : std::vector<std::string>{r.findings};
        for (std::string &line : out)
            for (size_t at; (at = line.find(home)) != std::string::npos;)
                line.replace(at, home.size(), "~");
        if (out == std::vector<std::string>{""}) out.clear();
        EXPECT_EQ(out, c.expected);
    }
}

// A definition saved under a name with a hidden extension is found (the
// lines of rows, settings and findings are check_cli's).
TEST_F(Check, HiddenExtensions) {
    static CheckResult result;
    const std::string ini = dir.path() + "Menu.ini";
    dir.write("Menu.ini.txt", "\xef\xbb\xbf[launch]\n");
    dir.write("Menu.txt", "notes\n  [launch]\n");  // an example in a text, as in the help file
    EXPECT_EQ(check_definition_file(ini.c_str(), &result), 0);
    EXPECT_EQ(result.findings.size(), 1u);
    dir.write("Menu.ini", "");
    EXPECT_EQ(check_definition_file(ini.c_str(), &result), 1);
    ASSERT_EQ(result.findings.size(), 2u);
    EXPECT_EQ(result.findings[0].kind * 100 + result.findings[1].kind,
              DiagHiddenExtension * 100 + DiagEmptyDefinition);
    EXPECT_EQ(result.findings[0].text, "Menu.ini.txt");
}
