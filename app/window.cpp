// The launcher window procedure: loading at creation, one popup cycle on the
// start timer, and the menu's messages while it is tracked.
#include "app/window.h"

#include "app/popup.h"
#include "core/dpi_win.h"
#include "core/phases.h"
#include "core/platform.h"
#include "definition/cmdline.h"
#include "definition/items.h"
#include "definition/loader.h"
#include "definition/settings.h"
#include "launch/dispatch.h"
#include "launch/input_dialog.h"
#include "menu/builder_win.h"
#include "menu/iconcache.h"
#include "menu/menu_state.h"
#include "menu/menukeys_win.h"
#include "menu/ownerdraw_win.h"
#include "res/resource.h"

ATOM register_launcher_class(HINSTANCE instance, const char *class_name) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = launcher_window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, TAVRIK_ICON_APP);
    // The small icon is the resource's own small picture; left to the
    // system, it is scaled from the large one, which cost the start 2 ms.
    wc.hIconSm =
        (HICON)LoadImageA(instance, TAVRIK_ICON_APP, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                          GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
    wc.lpszClassName = class_name;
    return RegisterClassExA(&wc);
}

int create_launcher_window(HINSTANCE instance, const char *class_name, const char *command_line) {
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES | WS_EX_TOPMOST, class_name,
                                  class_name, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 32, 32,
                                  nullptr, nullptr, instance, (void *)command_line);
    if (!window) return 0;
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

constexpr UINT_PTR kStartTimer = 610;

// The one message box of a failed start, its text and caption: English, and
// "設定ファイル異常" (settings file error), "エラー" (error) in code page 932.
const char *const kDefinitionError[2][2] = {
    {"Settings file error", "Error"},
    {"\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x88\xd9\x8f\xed",
     "\x83\x47\x83\x89\x81\x5b"},
};

void show_definition_error(HWND window) {
    const char *const *box = kDefinitionError[plat_ansi_is_japanese()];
    SetForegroundWindow(window);
    MessageBoxA(window, box[0], box[1], MB_OK);
}

// The menu's place decides the DPI its pictures, font and margins are made for.
void size_for_menu_monitor() {
    MenuPlacement place = current_menu_placement();
    settings_use_dpi(monitor_dpi_at(place.x, place.y));
}

// Set once the window's creation has loaded everything the menu needs.
bool g_ready_for_menu;

// Window creation: the command line, the menu definition and its icon
// cache, with the timer that shows the menu once the message loop turns.
// The timer is armed first: its least interval (10 ms under Wine, 15.6 on
// Windows) then runs out while the definition loads instead of after it.
void start_sequence(HWND window, const char *command_line) {
    phase_mark(MarkWindow);
    g_ready_for_menu = false;
    SetTimer(window, kStartTimer, 0, nullptr);
    if (command_line && command_line[0]) parse_command_line(command_line);
    if (!load_definition()) {
        KillTimer(window, kStartTimer);  // the message box's loop must not show the menu
        show_definition_error(window);
        SendMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    phase_mark(MarkDefinition);
    size_for_menu_monitor();
    if (menu_icon_mode() > 0 && !icon_cache_check(window)) menu_turn_icons_off();
    phase_mark(MarkIconsChecked);
    g_ready_for_menu = true;
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

// A row picked by its key runs at once, while the menu is still open; the
// popup cycle then gets no command, so marked rows are not launched after it.
LRESULT menu_char(HWND window, WPARAM wparam) {
    if (menu_icon_mode() != 2) return 0;
    MenuKeyAnswer answer = menu_character_handler(g_popup.root_menu, wparam);
    switch (answer.action) {
    case MenuKeyRunRow:
        launch_row(window, answer.row, 0, 0);
        return MAKELRESULT(0, MNC_CLOSE);
    case MenuKeyOpenSubmenu:
        press_key(VK_RIGHT);
        return MAKELRESULT(answer.position, MNC_SELECT);
    case MenuKeyMoveTo:
        return MAKELRESULT(answer.position, MNC_SELECT);
    case MenuKeyNoMatch:
        break;
    }
    return 0;
}

}  // namespace

LRESULT CALLBACK launcher_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        start_sequence(window, (const char *)((CREATESTRUCTA *)lparam)->lpCreateParams);
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
        menu_release_pictures();
        DestroyWindow(window);
        return 0;
    case WM_MEASUREITEM:
        measure_item(window, (MEASUREITEMSTRUCT *)lparam);
        return 1;
    case WM_DRAWITEM:
        draw_item((DRAWITEMSTRUCT *)lparam);
        return 1;
    case WM_TIMER:
        // A message loop run inside the creation (by the shell, say) finds
        // the timer too early; it fires again once the creation is done.
        if (wparam == kStartTimer && g_ready_for_menu) {
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
        // A file dropped here while the input dialog is open goes into its
        // edit field.
        input_dialog_take_drop((void *)wparam, window);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
