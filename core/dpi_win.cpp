// Monitor DPI and small-icon sizes; the newer calls are found at run time.
#include "core/dpi_win.h"

namespace {

typedef HRESULT(WINAPI *DpiForMonitorCall)(HMONITOR, int, UINT *, UINT *);
typedef int(WINAPI *MetricsForDpiCall)(int, UINT);

// A function of a system DLL, or null where this Windows lacks it. The DLL
// is looked for in the system folder only.
FARPROC system_function(const char *dll, const char *name) {
    HMODULE module = GetModuleHandleA(dll);
    if (!module) module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace

int system_dpi() {
    // The system's DPI stays what it was at sign-in for the whole run.
    static int dpi;
    if (dpi > 0) return dpi;
    HDC screen = GetDC(nullptr);
    dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpi <= 0) dpi = kBaseDpi;
    return dpi;
}

int monitor_dpi_at(int x, int y) {
    static auto dpi_for_monitor =
        (DpiForMonitorCall)(void *)system_function("shcore.dll", "GetDpiForMonitor");
    HMONITOR monitor = MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST);
    UINT dpi_x = 0, dpi_y = 0;
    if (dpi_for_monitor && monitor && dpi_for_monitor(monitor, 0, &dpi_x, &dpi_y) == S_OK &&
        dpi_y > 0)
        return (int)dpi_y;  // 0: MDT_EFFECTIVE_DPI
    return system_dpi();
}

void small_icon_size_at(int dpi, int *width, int *height) {
    *width = GetSystemMetrics(SM_CXSMICON);
    *height = GetSystemMetrics(SM_CYSMICON);
    int system = system_dpi();
    if (dpi == system) return;
    static auto metrics_for_dpi =
        (MetricsForDpiCall)(void *)system_function("user32.dll", "GetSystemMetricsForDpi");
    if (metrics_for_dpi) {
        *width = metrics_for_dpi(SM_CXSMICON, (UINT)dpi);
        *height = metrics_for_dpi(SM_CYSMICON, (UINT)dpi);
    } else {
        *width = MulDiv(*width, dpi, system);
        *height = MulDiv(*height, dpi, system);
    }
}
