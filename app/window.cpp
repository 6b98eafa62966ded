// The launcher window procedure: loading at creation, one popup cycle on the
// start timer, and the menu's messages while it is tracked.
#include "app/window.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>

#include "app/cmdline.h"
#include "app/paths.h"
#include "app/popup.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"
#include "menu/builder.h"
#include "menu/iconcache.h"
#include "menu/menukeys.h"
#include "menu/ownerdraw.h"
#include "menudef/loader.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

ATOM register_launcher_class(HINSTANCE instance, const char *class_name) {
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = launcher_window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MYICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
    wc.lpszClassName = class_name;
    return RegisterClassA(&wc);
}

int create_launcher_window(HINSTANCE instance, const char *class_name) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES | WS_EX_TOPMOST, class_name,
                                  class_name, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 32, 32,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    g_app.launcher_window = window;
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);
    return 1;
}

static void send_key_press(unsigned char key) {
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

void (*press_key)(unsigned char key) = send_key_press;

namespace {

void compute_program_paths() {
    paths_from_program_file(&g_app);
    g_app.screen_width = GetSystemMetrics(SM_CXSCREEN);
    g_app.maximised_height = GetSystemMetrics(SM_CYMAXIMIZED);
    g_app.mouse_buttons = GetSystemMetrics(SM_CMOUSEBUTTONS);
}

// Window creation: paths, command line, the menu definition, then the timer
// that shows the menu once the message loop turns.
void start_sequence(HWND window) {
    g_app.launcher_window = window;
    g_app.target_window = GetForegroundWindow();
    compute_program_paths();
    text_format(g_app.definition_path, sizeof g_app.definition_path, "%s%s", g_app.program_folder,
                g_app.default_definition_name);
    if (g_app.command_line && g_app.command_line[0]) parse_command_line(g_app.command_line);
    if (load_definition(window)) {
        SetTimer(window, kStartTimer, 0, nullptr);
    } else {
        SendMessageA(window, WM_CLOSE, 0, 0);
    }
}

// A submenu built on demand is filled each time it opens.
void init_menu_popup(HMENU submenu, int position) {
    if (!g_popup.last_menu) return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    if (GetMenuItemInfoA(g_popup.last_menu, (UINT)position, TRUE, &info)) {
        int row = (int)info.wID - kFirstRowCommand;
        if (row >= 0 && row < g_items.item_count && g_items.kind[row] == SubmenuBegin)
            build_menu_level(submenu, row, 1);
    }
    if (g_popup.last_by_mouse) press_key(VK_DOWN);
}

LRESULT menu_char(HWND window, WPARAM wparam) {
    if (g_settings.icon_mode != 2) return 0;
    switch (menu_character_handler(window, wparam)) {
    case 1:
        return MAKELRESULT(0, MNC_CLOSE);
    case 2:
        press_key(VK_RIGHT);
        return MAKELRESULT(g_popup.menu_char_choice, MNC_SELECT);
    case 3:
        return MAKELRESULT(g_popup.menu_char_choice, MNC_SELECT);
    }
    return 0;
}

// A file dropped on the launcher window while the input dialog is open goes
// into the dialog's edit field.
void drop_files(HWND window, HDROP drop) {
    HWND edit = (HWND)g_input_edit_field;
    if (!g_launch.input_dialog_open || !edit) {
        DragFinish(drop);
        return;
    }
    char path[kTextSize + 2];  // room for the quotes
    int have_path = dropped_path(drop, 0, path);
    DragFinish(drop);
    if (!have_path) return;
    text_quote_spaces(path, sizeof path);
    SetWindowTextA(edit, path);
    SendMessageA(edit, EM_SETSEL, 0, (LPARAM)strlen(path));
    SetForegroundWindow(window);
    SetFocus(edit);
    ShowWindow(window, SW_HIDE);
}

void release_pictures() {
    if (g_settings.icon_mode != 0) icon_cache_release();
    if (g_settings.icon_mode != 1) return;
    BitmapHandle *fixed[] = {&g_system_bitmap, &g_folder_bitmap};
    for (BitmapHandle *bitmap : fixed) {
        if (*bitmap) DeleteObject((HGDIOBJ)*bitmap);
        *bitmap = nullptr;
    }
    for (BitmapHandle &bitmap : g_items.item_bitmap) {
        if (bitmap) DeleteObject((HGDIOBJ)bitmap);
        bitmap = nullptr;
    }
}

}  // namespace

LRESULT CALLBACK launcher_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        start_sequence(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_KILLFOCUS:
        // Another window took the focus: a click that lands outside the menu
        // makes its loop close it.
        if (g_popup.menu_active == 1) {
            g_popup.dismiss_click = 1;
            PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
        }
        return 0;
    case WM_CLOSE:
        release_pictures();
        DestroyWindow(window);
        return 0;
    case WM_MEASUREITEM:
        measure_item(window, (MEASUREITEMSTRUCT *)lparam);
        return 1;
    case WM_DRAWITEM:
        draw_item((DRAWITEMSTRUCT *)lparam);
        return 1;
    case WM_TIMER:
        if (wparam == kStartTimer) {
            KillTimer(window, kStartTimer);
            run_popup_cycle(window);
            SendMessageA(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_INITMENU:
        press_key(VK_DOWN);
        return 0;
    case WM_INITMENUPOPUP:
        init_menu_popup((HMENU)wparam, LOWORD(lparam));
        return 0;
    case WM_MENUSELECT:
        g_popup.last_menu = (HMENU)lparam;
        g_popup.last_item = LOWORD(wparam);
        g_popup.last_by_mouse = (HIWORD(wparam) & MF_MOUSESELECT) ? 1 : 0;
        return 0;
    case WM_MENUCHAR:
        return menu_char(window, wparam);
    case WM_LBUTTONDOWN:
        if (g_popup.dismiss_click == 1) {
            g_popup.dismiss_click = 0;
            return 1;
        }
        return 0;
    case WM_DROPFILES:
        drop_files(window, (HDROP)wparam);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
