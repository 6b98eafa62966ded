// The popup cycle: build, place and track the menu, then dispatch the choice.
#include "app/popup.h"

#include "app/check_item.h"
#include "app/hooks.h"
#include "core/phases.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "launch/dispatch.h"
#include "launch/launch_state.h"
#include "menu/builder_win.h"
#include "menu/iconcache.h"
#include "menu/menu_state.h"

PopupState g_popup;

namespace {

void set_screen_centre(MenuPlacement &p) {
    p.x = g_startup.screen_width / 2;
    p.y = g_startup.maximised_height / 2;
    p.flags |= TPM_CENTERALIGN | TPM_VCENTERALIGN;
}

}  // namespace

MenuPlacement menu_placement(const RECT *target_rect, POINT cursor) {
    MenuPlacement p = {0, 0, TPM_RETURNCMD | TPM_RIGHTBUTTON};
    bool has_mouse = g_startup.mouse_buttons != 0;
    switch (g_settings.menu_position) {
    case PositionActive:
        if (target_rect && target_rect->right - target_rect->left >= 1 &&
            target_rect->bottom - target_rect->top >= 1) {
            p.x = target_rect->left + (target_rect->right - target_rect->left) / 2;
            p.y = target_rect->top + (target_rect->bottom - target_rect->top) / 2;
            p.flags |= TPM_CENTERALIGN | TPM_VCENTERALIGN;
        } else {
            set_screen_centre(p);
        }
        break;
    case PositionPoint:
        p.x = g_settings.menu_x;
        p.y = g_settings.menu_y;
        break;
    case PositionMouse:
    case PositionMouse2:
        if (!has_mouse) {
            set_screen_centre(p);
            break;
        }
        p.x = cursor.x;
        p.y = cursor.y;
        if (g_settings.menu_position == PositionMouse2) p.flags |= TPM_VCENTERALIGN;
        break;
    default:
        set_screen_centre(p);
        break;
    }
    return p;
}

MenuPlacement current_menu_placement() {
    RECT target_rect;
    HWND target = (HWND)g_startup.target_window;
    bool have_rect = target && GetWindowRect(target, &target_rect);
    POINT cursor = {0, 0};
    if (g_startup.mouse_buttons != 0) GetCursorPos(&cursor);
    return menu_placement(have_rect ? &target_rect : nullptr, cursor);
}

void dispatch_choice(HWND window, UINT command, int ctrl_held) {
    if (command == kCheckId) run_check_item();
    Choice choice = {command, ctrl_held, g_popup.folder_open_request, g_menu.marked,
                     g_menu.marked_count};
    run_choice(window, choice);
}

void run_popup_cycle(HWND window) {
    HMENU root = CreatePopupMenu();
    g_popup.root_menu = root;
    int mode = menu_icon_mode();
    if ((mode == 1 || mode == 2) && !icon_cache_load()) menu_turn_icons_off();
    phase_mark(MarkIconsLoaded);
    build_menu_level(root, 0, 0);
    if (g_settings.system_entry_always == 1 || GetMenuItemCount(root) == 0)
        append_system_entry(root);

    MenuPlacement place = current_menu_placement();
    launch_begin(window, place.x, place.y);  // the input dialog opens there

    menu_clear_marks();
    g_popup.menu_active = 1;
    install_menu_hooks(window);
    if (g_settings.force_activate == 1) {
        forced_activation(window);
    } else {
        SetForegroundWindow(window);
    }
    phase_mark(MarkMenuBuilt);
    UINT command = (UINT)TrackPopupMenu(root, place.flags, place.x, place.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    remove_menu_hooks();
    destroy_submenus(root);
    DestroyMenu(root);
    g_popup.root_menu = nullptr;
    g_popup.menu_active = 0;

    int ctrl_held = GetKeyState(VK_CONTROL) < 0;
    if (GetKeyState(VK_SHIFT) < 0) g_popup.folder_open_request = 1;
    dispatch_choice(window, command, ctrl_held);
}
