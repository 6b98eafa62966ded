// The benchmark's yardstick: the least a program can do to show a popup menu
// of N plain items. Started as "minimal_menu.exe N", it makes a hidden window
// like the launcher's, fills a menu with N string items, tracks it at the
// screen's centre and exits when the menu closes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

int g_items = 1;

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(window, 1, 0, nullptr);
        return 0;
    case WM_TIMER: {
        KillTimer(window, 1);
        HMENU menu = CreatePopupMenu();
        for (int i = 0; i < g_items; ++i) {
            char text[32];
            snprintf(text, sizeof text, "Item &%d", i);
            AppendMenuA(menu, MF_STRING, (UINT_PTR)(1000 + i), text);
        }
        SetForegroundWindow(window);
        int x = GetSystemMetrics(SM_CXSCREEN) / 2;
        int y = GetSystemMetrics(SM_CYMAXIMIZED) / 2;
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_CENTERALIGN | TPM_VCENTERALIGN, x,
                       y, 0, window, nullptr);
        PostMessageA(window, WM_NULL, 0, 0);
        DestroyMenu(menu);
        DestroyWindow(window);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    int items = atoi(command_line);
    if (items > 0 && items < 1000) g_items = items;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "MinimalMenu";
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 32, 32, nullptr, nullptr, instance,
                                  nullptr);
    if (!window) return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
