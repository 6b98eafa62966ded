// The window, clipboard and shell ends of the launch hooks for the native build.
//
// The native build compiles no window code: the input dialog answers
// "cancelled", the clipboard is empty, the shell call does nothing and the
// icon cache is never current (the menu stays text). Tests and fuzz targets
// put their own procedures into the hooks.
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/macros.h"
#include "menu/iconcache.h"

int show_input_dialog(void *) { return 0; }
int (*run_input_dialog)(void *owner) = show_input_dialog;

static int empty_clipboard(void *) { return 0; }
int (*read_clipboard_input)(void *owner) = empty_clipboard;

static void no_shell(const char *, const char *, const char *) {}
void (*shell_open)(const char *file, const char *parameters, const char *folder) = no_shell;

int icon_cache_check(void *) { return 0; }
