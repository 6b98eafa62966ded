// State that command expansion and the input dialog hand to the launch.
#pragma once

#include "core/text.h"

constexpr int kMaxSelectedPaths = 100;
constexpr int kSelectedPathSize = 520;
constexpr int kParameterTextSize = 1040;
constexpr int kInputLabelSize = 32;

// Multi-file modes: which multi-file token waits in the parameter text.
enum MultiFileMode {
    MultiFileNone = 0,
    MultiFileQuoted = 3,    // "\"%M\"" or "\"%-M\""
    MultiFileUnquoted = 4,  // "%M" or "%-M"
};

struct LaunchState {
    void *owner;             // HWND that owns the input dialog
    int dialog_x, dialog_y;  // where the input dialog opens
    // Folder named by the working folder macro; used by the next launch only.
    char working_folder_override[kPathSize];
    int multi_file_mode;
    char selected_paths[kMaxSelectedPaths][kSelectedPathSize];
    int selected_count;
    int prompt_counter;                    // value prompts opened for the current command
    int input_dialog_open;                 // 1 while the input dialog is open
    char input_dialog_program[kPathSize];  // its icon shows in the input dialog
    char input_default_text[kPathSize];    // what the edit field starts with
    char input_label[kInputLabelSize];
    int input_label_set;                // 1: the value prompt shows input_label
    char input_result[kPathSize];       // what the user confirmed
    char chosen_entry_name[kPathSize];  // title of the row being launched
    char clipboard_text[kPathSize];     // latest clipboard text shorter than 260 bytes
};

extern LaunchState g_launch;

// The window that owns the dialogs and where the input dialog opens, for
// the launches of one menu.
void launch_begin(void *owner, int dialog_x, int dialog_y);
