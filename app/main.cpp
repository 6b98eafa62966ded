// Entry point: the start-up facts, the launcher window and the message loop.
#include <windows.h>
#include <shlwapi.h>

#include <cstdint>

#include "app/window.h"
#include "definition/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    char program_file[2 * kPathSize];
    GetModuleFileNameA(nullptr, program_file, sizeof program_file);
    PathUnquoteSpacesA(program_file);
    startup_begin(program_file, (intptr_t)GetForegroundWindow());
    // The launcher window is never shown; loading happens while it is created.
    if (!register_launcher_class(instance, g_startup.program_base)) return 0;
    if (!create_launcher_window(instance, g_startup.program_base, command_line)) return 0;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
