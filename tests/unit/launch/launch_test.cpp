// The launch without windows: macros, copied path lists, collected files, with recorders
// and a scripted user in place of the shell, the dialog and the clipboard.
#include <gtest/gtest.h>

#include "definition/settings.h"
#include "definition/startup.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "launch/macros.h"
#include "launch_cases.h"
#include "test_support.h"

namespace {

// "open file|parameters|folder", "[prompt counter|default text|label]"; - for null, own label.
std::vector<std::string> g_calls;
std::string g_answers;             // "4a,1b": end code and text of each dialog; then cancel
std::vector<std::string> g_drops;  // dropped on the file collection
std::string g_clipboard;           // the copied text; empty: nothing

class Launch : public ::testing::Test {
protected:
    // The state at start, with the recorders in the hooks' places and nothing recorded.
    void SetUp() override {
        reset_launcher_state(d);
        text_copy(g_settings.input_initial_text, "init");
        text_copy(g_settings.input_title, "Fixed");
        g_startup.target_window = -5;
        text_copy(g_launch.chosen_entry_name, "&Edit && go");
        g_calls.clear(), g_answers.clear(), g_drops.clear(), g_clipboard.clear();
        shell_open = [](const char *file, const char *parameters, const char *folder) {
            g_calls.push_back("open " + std::string(file ? file : "-") + "|" +
                              (parameters ? parameters : "-") + "|" + (folder ? folder : "-"));
        };
        run_input_dialog = [](void *) {
            LaunchState &st = g_launch;
            g_calls.push_back("[" + std::to_string(st.prompt_counter) + "|" +
                              st.input_default_text + "|" +
                              (st.input_label_set ? st.input_label : "-") + "]");
            for (const std::string &path : g_drops)
                text_copy(st.selected_paths[st.selected_count++], path.c_str());
            std::string a = g_answers.substr(0, g_answers.find(','));
            g_answers.erase(0, a.size() + 1 < g_answers.size() ? a.size() + 1 : std::string::npos);
            text_copy(st.input_result, a.empty() ? "" : a.c_str() + 1);
            return a.empty() ? 0 : a[0] - '0';
        };
        read_clipboard_input = [](void *) {
            text_copy(g_launch.clipboard_text,
                      g_clipboard.size() < kPathSize ? g_clipboard.c_str() : "");
            parse_path_list(g_clipboard.c_str());
            return (int)!g_clipboard.empty();
        };
    }
    void TearDown() override {
        shell_open = open, run_input_dialog = dialog, read_clipboard_input = clipboard;
    }
    // The text with {d} the scratch folder, {r} it without its final backslash, {p} a program in
    // folder {b}, {f} a file, {g} a folder and {!} the cancelled launch filled in.
    std::string fill(std::string text) const {
        const std::string values[] = {d, r, prog, bin, f, g, kCancelSentinel};
        for (int n = 0; n < 7; ++n)
            for (size_t at; (at = text.find({'{', "drpbfg!"[n], '}'})) != std::string::npos;)
                text.replace(at, 3, values[n]);
        return text;
    }
    // One case of cases.txt, from the state at start: what its template expands to, or what runs.
    std::vector<std::string> run(const Case &c) {
        SetUp();
        const std::string input = fill(c.input), first = input.substr(0, input.find('\n'));
        g_answers = c.option("answers");
        g_launch.multi_file_mode = c.number("mode", MultiFileQuoted);  // left by an earlier one
        if (c.head[0] == "collect") {
            g_launch.selected_count = 1;  // a collection starts empty
            g_drops = {"\"" + f + "\"", g};
            launch_program(prog.c_str(), first.c_str(), 1);
            EXPECT_EQ(g_launch.multi_file_mode + g_launch.selected_count, 0);
            return {calls()};
        }
        g_settings.input_title_mode = c.number("title", 0);
        g_launch.prompt_counter = 5;  // as an earlier prompt left them
        g_launch.input_label_set = 1;
        if (!c.option("param").empty()) {  // the user parameter ASK, placeholders on
            g_settings.placeholders_enabled = g_settings.param_count = 1;
            text_copy(g_settings.param_names[0], "ASK");
            text_copy(g_settings.param_values[0], c.option("param").c_str());
        }
        g_clipboard = input.substr(std::min(first.size() + 1, input.size()));
        g_clipboard.erase(g_clipboard.empty() ? 0 : g_clipboard.size() - 1);  // the last line end
        char text[kParameterTextSize];
        expand_command_macros(nullptr, first.c_str(), "C:\\p.exe", text, sizeof text);
        std::vector<std::string> out = {
            text, "selected " + std::to_string(g_launch.selected_count) + " mode " +
                      std::to_string(g_launch.multi_file_mode)};
        if (g_launch.working_folder_override[0])
            out.push_back("folder " + std::string(g_launch.working_folder_override));
        if (!g_calls.empty()) out.push_back(calls());
        return out;
    }
    std::string calls() const {  // those since the last call
        std::string all;
        for (const std::string &call : g_calls) all += (all.empty() ? "" : "; ") + call;
        g_calls.clear();
        return all;
    }
    decltype(shell_open) open = shell_open;
    decltype(run_input_dialog) dialog = run_input_dialog;
    decltype(read_clipboard_input) clipboard = read_clipboard_input;
    ScratchFolder dir;
    const std::string d = dir.path(), r = d.substr(0, d.size() - 1), bin = d + "my bin";
    const std::string prog = dir.write("my bin\\p.exe", "MZ"), f = dir.write("b\\c\\n.e", "");
    const std::string g = dir.make_folder("q\\r"), odd = dir.make_folder("a%$Pb");
};

}  // namespace

TEST_F(Launch, Cases) {
    set_environment("TAVRIK_TEST_DIR", r.c_str());
    for (const Case &c : read_cases(kCases)) {
        if (c.head[0] == "dialog") continue;  // launch_win_test.cpp's
        SCOPED_TRACE("cases.txt:" + std::to_string(c.line));
        std::vector<std::string> expected;
        for (const std::string &line : c.expected) expected.push_back(fill(line));
        EXPECT_EQ(run(c), expected);
    }
    set_environment("TAVRIK_TEST_DIR", nullptr);
}
