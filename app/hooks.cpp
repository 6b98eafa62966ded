// Mouse and keyboard hooks of the menu's modal loop, and forced activation.
#include "app/hooks.h"

#include "app/popup.h"
#include "definition/items.h"
#include "menu/builder_win.h"
#include "menu/menu_state.h"

namespace {

HHOOK g_mouse_hook;
HHOOK g_keyboard_hook;

// The highlighted item can be marked: the item of a row that launches
// something (not a separator, which some menu loops report as highlighted,
// nor a submenu), in a menu that is not owner-drawn.
bool highlighted_item_markable() {
    int row = (int)g_popup.last_item - kFirstRowCommand;
    if (!g_popup.last_menu || menu_icon_mode() == 2 || row < 0 || row >= kMaxRows ||
        row >= g_items.item_count)
        return false;
    int kind = g_items.kind[row];
    return kind == Entry || kind == Variant || kind == SoleVariant;
}

}  // namespace

void install_menu_hooks(HWND window) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    g_mouse_hook = SetWindowsHookExA(WH_MOUSE, menu_mouse_hook, instance, thread);
    g_keyboard_hook = SetWindowsHookExA(WH_KEYBOARD, menu_keyboard_hook, instance, thread);
}

void remove_menu_hooks() {
    if (g_mouse_hook) UnhookWindowsHookEx(g_mouse_hook);
    if (g_keyboard_hook) UnhookWindowsHookEx(g_keyboard_hook);
    g_mouse_hook = g_keyboard_hook = nullptr;
}

LRESULT CALLBACK menu_mouse_hook(int code, WPARAM message, LPARAM data) {
    if (code >= 0) {
        if (message == WM_MBUTTONDOWN && highlighted_item_markable()) {
            menu_toggle_mark(g_popup.last_menu, g_popup.last_item);
            return 1;
        }
        if (message == WM_RBUTTONDOWN) g_popup.folder_open_request = 1;
    }
    return CallNextHookEx(g_mouse_hook, code, message, data);
}

// A markable Space is toggled and swallowed at the first call it gets, be it
// HC_NOREMOVE or HC_ACTION: a swallowed key is discarded, so no second call
// follows for the same press. Some menu loops turn a key into a character
// before HC_ACTION, and a Space that got that far would run the item.
LRESULT CALLBACK menu_keyboard_hook(int code, WPARAM key, LPARAM flags) {
    bool key_down = (flags & 0x80000000) == 0;
    if (code >= 0 && key == VK_SPACE && key_down && highlighted_item_markable()) {
        menu_toggle_mark(g_popup.last_menu, g_popup.last_item);
        return 1;
    }
    return CallNextHookEx(g_keyboard_hook, code, key, flags);
}

void forced_activation(HWND window) {
    DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    DWORD own = GetWindowThreadProcessId(window, nullptr);
    AttachThreadInput(own, foreground, TRUE);
    DWORD saved = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &saved, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (void *)(UINT_PTR)0, 0);
    SetActiveWindow(window);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (void *)(UINT_PTR)saved, 0);
    AttachThreadInput(own, foreground, FALSE);
}
