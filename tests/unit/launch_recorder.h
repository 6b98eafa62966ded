// The shell and the file collection replaced by recorders, for the launch tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "launch/launch_state.h"

inline std::vector<std::string> g_calls;  // "open file|parameters|folder", "dialog N", "pause N"
inline std::vector<std::string> g_dialog_paths;
inline int g_dialog_answer;

inline std::string or_null(const char *text) { return text ? text : "(null)"; }

inline void record_open(const char *file, const char *parameters, const char *folder) {
    g_calls.push_back("open " + or_null(file) + "|" + or_null(parameters) + "|" + or_null(folder));
}

// A user who drops g_dialog_paths (file collection) and answers g_dialog_answer.
inline int scripted_dialog(void *) {
    g_calls.push_back("dialog " + std::to_string(g_launch.prompt_counter));
    for (const std::string &path : g_dialog_paths)
        snprintf(g_launch.selected_paths[g_launch.selected_count++], kSelectedPathSize, "%s",
                 path.c_str());
    g_launch.input_dialog_open = 1;
    return g_dialog_answer;
}

inline void clear_recordings() {
    g_calls.clear();
    g_dialog_paths.clear();
    g_dialog_answer = 0;
}
