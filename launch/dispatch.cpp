// Dispatch of a menu choice: system commands, folders, entries, variants and
// the marked rows after them.
#include "launch/dispatch.h"

#include <cstring>

#include "core/pathparts.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "launch/macros.h"

namespace {

// Opens the folder of path in the filer.
void open_folder(const char *path) {
    char folder[kPathSize * 2];
    path_folder(path, folder, sizeof folder);
    text_quote_spaces(folder, sizeof folder);
    launch_program(g_settings.filer_path, folder, 1);
}

// Expands the template for row and launches target with it; 0 when the
// expansion was cancelled.
int expand_and_launch(void *owner, int row, const char *parameter_template, const char *target) {
    char parameters[kParameterTextSize];
    text_copy(g_launch.chosen_entry_name, g_items.title[row]);
    expand_command_macros(owner, parameter_template, target, parameters, sizeof parameters);
    if (strcmp(parameters, kCancelSentinel) == 0) return 0;
    launch_program(target, parameters, 1);
    return 1;
}

// The option prompt of Ctrl: extra parameters typed for target.
int prompt_and_launch(void *owner, int row, const char *target) {
    text_copy(g_launch.input_dialog_program, target);
    g_launch.prompt_counter = 0;
    int code = run_input_dialog(owner);
    g_launch.input_dialog_open = 0;
    if (code == 0) return 0;
    char typed[kPathSize];
    text_copy(typed, g_launch.input_result);
    return expand_and_launch(owner, row, typed, target);
}

}  // namespace

void open_in_editor(const char *path) {
    char quoted[kPathSize + 2];
    text_copy(quoted, path);
    text_quote_spaces(quoted, sizeof quoted);
    launch_program(g_settings.editor_path, quoted, 1);
}

int launch_row(void *owner, int row, int ctrl_held, int folder_request) {
    const ItemTable &t = g_items;
    int kind = t.kind[row];
    if (kind != Entry && kind != Variant && kind != SoleVariant) return 1;
    const char *target = kind == Entry ? t.target[row] : t.target[t.owner[row]];
    if (folder_request == 1 && g_settings.filer_enabled == 1) {
        // A URL or shell location has no folder to open.
        if (!path_is_shell_location(target)) open_folder(target);
    } else if (ctrl_held) {
        return prompt_and_launch(owner, row, target);
    } else if (kind == Entry) {
        launch_program(target, "", 0);
    } else {
        return expand_and_launch(owner, row, t.target[row], target);
    }
    return 1;
}

void run_choice(void *owner, const Choice &choice) {
    unsigned command = choice.command;
    int chosen = (int)command - kFirstRowCommand;
    // Only a row or a system command is a choice. Anything else (0 for a
    // dismissed menu, or a value no item carries, as some menu loops return
    // after a submenu was opened and the menu then dismissed) launches
    // nothing, marked rows included.
    bool is_row = chosen >= 0 && chosen < g_items.item_count;
    if (!is_row && command != kOpenDefinitionId && command != kCheckId && command != kHelpId &&
        command != kVersionId)
        return;
    // The check of the definition has run before: its report needs the
    // checker, which the application links.
    if (command == kCheckId) {
    } else if (command == kOpenDefinitionId) {
        open_in_editor(g_startup.definition_path);
    } else if (command == kHelpId) {
        open_in_editor(g_startup.help_path);
    } else if (command == kVersionId) {
        show_version_box(owner);
    } else if (!launch_row(owner, chosen, choice.ctrl_held, choice.folder_request)) {
        return;
    }
    launch_pause(g_settings.first_launch_delay);
    if (choice.marked_count < 1) return;
    for (int row = 0; row < g_items.item_count; ++row) {
        if (choice.marked[row] != 1 || row == chosen) continue;
        if (!launch_row(owner, row, 0, choice.folder_request)) return;
        launch_pause(g_settings.next_launch_delay);
    }
}
