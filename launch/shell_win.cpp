// The shell call behind every launch.
#include <windows.h>
#include <shellapi.h>

#include "launch/launch.h"

static void shell_execute(const char *file, const char *parameters, const char *folder) {
    ShellExecuteA(nullptr, nullptr, file, parameters, folder, SW_SHOWNORMAL);
}

void (*shell_open)(const char *, const char *, const char *) = shell_execute;
