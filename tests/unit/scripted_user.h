// A user at the input dialog for the macro tests: answers given in turn, and
// a log of the prompts as each one opened.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "launch/input_dialog.h"
#include "launch/launch_state.h"
#include "launch/macros.h"

struct Answer {
    int code;
    std::string text;
};
inline std::vector<Answer> g_answers;
inline std::vector<std::string> g_prompts;  // "counter|default|label" as each prompt opened

inline int scripted_user(void *) {
    const LaunchState &st = g_launch;
    g_prompts.push_back(std::to_string(st.prompt_counter) + "|" + st.input_default_text + "|" +
                        (st.input_label_set ? st.input_label : "(default)"));
    Answer a = g_answers.empty() ? Answer{0, ""} : g_answers.front();
    if (!g_answers.empty()) g_answers.erase(g_answers.begin());
    snprintf(g_launch.input_result, 260, "%s", a.text.c_str());
    return a.code;
}

// Puts the scripted user in the dialog's place with no answers and no log;
// the chosen entry is "&Edit && go".
inline void start_scripted_user() {
    run_input_dialog = scripted_user;
    g_answers.clear();
    g_prompts.clear();
    snprintf(g_launch.chosen_entry_name, 260, "&Edit && go");
}

inline void stop_scripted_user() { run_input_dialog = show_input_dialog; }

inline std::string expand(const std::string &parameter_template) {
    char out[kParameterTextSize];
    expand_command_macros(nullptr, parameter_template.c_str(), "C:\\p.exe", out, sizeof out);
    return out;
}
