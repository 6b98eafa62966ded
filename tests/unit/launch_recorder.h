// Recorders and a scripted user in place of the shell, the dialog and the clipboard.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "launch/macros.h"

// "open file|parameters|folder", "[prompt counter|default text|label]"; - for null, own label.
inline std::vector<std::string> g_calls;
inline std::string g_answers;             // "4a,1b": end code and text of each dialog; then cancel
inline std::vector<std::string> g_drops;  // dropped on the file collection
inline std::string g_clipboard;           // the copied text; empty: nothing

// The fields of a table row, " ~ " between them.
inline std::vector<std::string> fields(const std::string &row) {
    std::vector<std::string> out;
    for (size_t at = 0, end; at <= row.size(); at = end + 3)
        out.push_back(row.substr(at, (end = std::min(row.find(" ~ ", at), row.size())) - at));
    return out;
}

// The recorders in the hooks' places for one test, nothing recorded yet.
struct Recorders {
    decltype(shell_open) open = shell_open;
    decltype(run_input_dialog) dialog = run_input_dialog;
    decltype(read_clipboard_input) clipboard = read_clipboard_input;
    Recorders() {
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
    ~Recorders() { shell_open = open, run_input_dialog = dialog, read_clipboard_input = clipboard; }
};
