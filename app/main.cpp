// Entry point: program paths, the launcher window class and the message loop.
#include <windows.h>
#include <shlwapi.h>

#include "app/paths.h"
#include "app/window.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    (void)show;  // the launcher window is never shown
    g_app.instance = instance;
    GetModuleFileNameA(nullptr, g_app.program_file, sizeof g_app.program_file);
    PathUnquoteSpacesA(g_app.program_file);
    paths_from_program_file(&g_app);
    g_app.command_line = command_line;
    g_settings.icon_mode = kUnset;
    g_settings.menu_position = kUnset;
    if (!previous && !register_launcher_class(instance, g_app.program_base)) return 0;
    if (!create_launcher_window(instance, g_app.program_base)) return 0;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
