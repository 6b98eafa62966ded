// The window, clipboard and shell ends of the portable code's hooks for the
// native build.
//
// The native build compiles no window code: the input dialog answers
// "cancelled", the clipboard is empty, the shell call, the pauses and the
// version box do nothing. Tests and fuzz targets put their own procedures
// into the hooks.
#include "launch/dispatch.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/macros.h"

int show_input_dialog(void *) { return 0; }
int (*run_input_dialog)(void *owner) = show_input_dialog;

int (*read_clipboard_input)(void *owner) = [](void *) { return 0; };
void (*shell_open)(const char *file, const char *parameters,
                   const char *folder) = [](const char *, const char *, const char *) {};
void (*launch_pause)(int milliseconds) = [](int) {};
void (*show_version_box)(void *owner) = [](void *) {};
