// The input dialog: value prompt, option prompt or file collection.
#pragma once

// Opens the input dialog modally over owner and returns its end code: 0
// cancelled, 1 confirmed with Ctrl held, 4 confirmed. Callers fill the
// launch state before the call; tests replace the dialog with a scripted user.
extern int (*run_input_dialog)(void *owner);

// The edit field of the open input dialog (an HWND), for files dropped on the
// launcher window while the dialog is open.
extern void *g_input_edit_field;
