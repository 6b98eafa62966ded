// Entry point: the start-up facts, the launcher window and the message loop.
#include <windows.h>

#include <cstdint>

#include "app/window.h"
#include "core/phases.h"
#include "definition/startup.h"

namespace {

// The file named by TAVRIK_TIMING, to which a run appends its start-up
// times (for the benchmark); empty when none is named.
char g_timing_file[kPathSize];

void append_timing() {
    char line[512];
    size_t length = timing_format(line, sizeof line);
    HANDLE file = CreateFileA(g_timing_file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written;
    WriteFile(file, line, (DWORD)length, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    DWORD named = GetEnvironmentVariableA("TAVRIK_TIMING", g_timing_file, sizeof g_timing_file);
    if (named > 0 && named < sizeof g_timing_file) {
        timing_begin();
        phase_mark(MarkMain);
    }
    char program_file[2 * kPathSize];
    GetModuleFileNameA(nullptr, program_file, sizeof program_file);
    text_unquote(program_file);
    startup_begin(program_file, (intptr_t)GetForegroundWindow());
    // The launcher window is never shown; loading happens while it is created.
    if (!register_launcher_class(instance, g_startup.program_base)) return 0;
    if (!create_launcher_window(instance, g_startup.program_base, command_line)) return 0;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (g_phases) append_timing();
    return (int)msg.wParam;
}
