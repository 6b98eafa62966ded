// The input dialog: value prompt, option prompt or file collection.
#pragma once

#include <cstddef>

// Opens the input dialog modally over owner and returns its end code: 0
// cancelled, 1 confirmed with Ctrl held, 4 confirmed. Callers fill the
// launch state before the call; tests replace the dialog with a scripted user.
extern int (*run_input_dialog)(void *owner);

// The real dialog on the "OPTION" template.
int show_input_dialog(void *owner);

// The open dialog and its edit field (HWNDs), null while closed. Files
// dropped on the launcher window while the dialog is open go to the field.
extern void *g_input_dialog;
extern void *g_input_edit_field;

// Copies path index of a drop (HDROP) into path, which holds 260 bytes. A
// path of 260 bytes or more fits no buffer of ours whole and is skipped: 0.
int dropped_path(void *drop, unsigned index, char *path);

// 1 when the dialog about to open collects files for a multi-file token.
int input_dialog_collects_files();

// The label above the edit field for the dialog about to open.
void input_dialog_label(char *label, size_t size);
