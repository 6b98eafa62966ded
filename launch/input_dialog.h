// The input dialog: value prompt, option prompt or file collection.
#pragma once

#include <cstddef>

// Opens the input dialog modally over owner and returns its end code: 0
// cancelled, 1 confirmed with Ctrl held, 4 confirmed. Callers fill the
// launch state before the call; tests replace the dialog with a scripted user.
extern int (*run_input_dialog)(void *owner);

// The real dialog on the "OPTION" template.
int show_input_dialog(void *owner);

// The open dialog and its edit field (HWNDs), null while closed.
extern void *g_input_dialog;
extern void *g_input_edit_field;

// A drop (HDROP) on the launcher window: while the dialog is open, its first
// path goes into the edit field, and the dialog comes to the front.
void input_dialog_take_drop(void *drop, void *launcher_window);

// Copies path index of a drop (HDROP) into path, which holds 260 bytes. A
// path of 260 bytes or more fits no buffer of ours whole and is skipped: 0.
int dropped_path(void *drop, unsigned index, char *path);
