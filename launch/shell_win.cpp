// The shell call behind every launch.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "core/lazy_win.h"
#include "launch/launch.h"

// The shell may hand a launch to extensions that need COM (shortcuts to
// shell folders, Internet shortcuts and other protocol handlers), so the
// thread joins a single-threaded apartment, without OLE1 DDE, before the
// first launch. It stays joined until the process ends.
static void shell_execute(const char *file, const char *parameters, const char *folder) {
    static thread_local bool com_ready = false;
    if (!com_ready) {
        lazy::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        com_ready = true;
    }
    lazy::ShellExecuteA(nullptr, nullptr, file, parameters, folder, SW_SHOWNORMAL);
}

void (*shell_open)(const char *, const char *, const char *) = shell_execute;
