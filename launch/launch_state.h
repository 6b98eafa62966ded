// State that command expansion and the input dialog hand to the launch.
#pragma once

constexpr int kMaxSelectedPaths = 100;
constexpr int kSelectedPathSize = 520;
constexpr int kParameterTextSize = 1040;

// Multi-file modes: which multi-file token waits in the parameter text.
enum MultiFileMode {
    MultiFileNone = 0,
    MultiFileQuoted = 3,    // "\"%M\"" or "\"%-M\""
    MultiFileUnquoted = 4,  // "%M" or "%-M"
};

struct LaunchState {
    // Folder named by the working folder macro; used by the next launch only.
    char working_folder_override[260];
    int multi_file_mode;
    char selected_paths[kMaxSelectedPaths][kSelectedPathSize];
    int selected_count;
    int prompt_counter;     // value prompts opened for the current command
    int input_dialog_open;  // 1 while the input dialog is open
    char input_dialog_program[260];
    char input_result[260];
    char chosen_entry_name[260];
};

extern LaunchState g_launch;
