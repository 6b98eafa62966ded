// The popup cycle: build, place and track the menu, then dispatch the choice.
#include "app/popup.h"

#include <cstring>

#include "app/hooks.h"
#include "app/paths.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "launch/macros.h"
#include "menu/builder.h"
#include "menu/iconcache.h"
#include "menudef/items.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

PopupState g_popup;

static void sleep_ms(int milliseconds) {
    if (milliseconds > 0) Sleep((DWORD)milliseconds);
}

void (*launch_pause)(int milliseconds) = sleep_ms;

namespace {

// The version box, in code page 932.
const char kVersionText[] =
    "\x81u\x83^\x83\x94\x83\x8a\x83N \x83\x89\x83\x93\x83`\x83\x83\x90\xea\x97p\x81v\x81@\r\n"
    "\r\n"
    "    \x81@ Ver.L_1.34\r\n"
    "\r\n"
    "\x81@ 2010\x94N05\x8c\x8e"
    "13\x93\xfa";
const char kVersionCaption[] = "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1";

// Opens the folder of path in the filer.
void open_folder(const char *path) {
    PathParts parts;
    path_split(path, &parts);
    char folder[kTextSize * 2];
    text_format(folder, sizeof folder, "%s%s", parts.drive, parts.folder);
    text_quote_spaces(folder, sizeof folder);
    launch_program(g_settings.filer_path, folder, 1);
}

// Opens a file of the program's own in the editor.
void open_in_editor(const char *path) {
    char quoted[kTextSize + 2];
    text_copy(quoted, path);
    text_quote_spaces(quoted, sizeof quoted);
    launch_program(g_settings.editor_path, quoted, 1);
}

// Expands the template for row and launches target with it; 0 when the
// expansion was cancelled.
int expand_and_launch(HWND window, int row, const char *parameter_template, const char *target) {
    char parameters[kParameterTextSize];
    text_copy(g_launch.chosen_entry_name, g_items.title[row]);
    expand_command_macros(window, parameter_template, target, parameters, sizeof parameters);
    if (strcmp(parameters, kCancelSentinel) == 0) return 0;
    launch_program(target, parameters, 1);
    return 1;
}

// The option prompt of Ctrl: extra parameters typed for target.
int prompt_and_launch(HWND window, int row, const char *target) {
    text_copy(g_launch.input_dialog_program, target);
    g_launch.prompt_counter = 0;
    int code = run_input_dialog(window);
    g_launch.input_dialog_open = 0;
    if (code == 0) return 0;
    char typed[kTextSize];
    text_copy(typed, g_launch.input_result);
    return expand_and_launch(window, row, typed, target);
}

bool wants_folder() { return g_popup.folder_open_request == 1 && g_settings.filer_enabled == 1; }

// Runs one row; 0 when its launch was cancelled, which ends the cycle.
int launch_row(HWND window, int row, int ctrl_held) {
    ItemTable &t = g_items;
    int kind = t.kind[row];
    if (kind != Entry && kind != Variant && kind != SoleVariant) return 1;
    const char *target = kind == Entry ? t.target[row] : t.target[t.owner[row]];
    if (wants_folder()) {
        open_folder(target);
    } else if (ctrl_held) {
        return prompt_and_launch(window, row, target);
    } else if (kind == Entry) {
        launch_program(target, "", 0);
    } else {
        return expand_and_launch(window, row, t.target[row], target);
    }
    return 1;
}

void set_screen_centre(MenuPlacement &p) {
    p.x = g_app.screen_width / 2;
    p.y = g_app.maximised_height / 2;
    p.flags |= TPM_CENTERALIGN | TPM_VCENTERALIGN;
}

}  // namespace

MenuPlacement menu_placement(const RECT *target_rect, POINT cursor) {
    MenuPlacement p = {0, 0, TPM_RETURNCMD | TPM_RIGHTBUTTON};
    bool has_mouse = g_app.mouse_buttons != 0;
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

void dispatch_choice(HWND window, UINT command, int ctrl_held) {
    int chosen = (int)command - kFirstRowCommand;
    // Only a row or a system command is a choice. Anything else (0 for a
    // dismissed menu, or a value no item carries, as some menu loops return
    // after a submenu was opened and the menu then dismissed) launches
    // nothing, marked rows included.
    bool is_row = chosen >= 0 && chosen < g_items.item_count;
    if (!is_row && command != kOpenDefinitionId && command != kHelpId && command != kVersionId)
        return;
    if (command == kOpenDefinitionId) {
        open_in_editor(g_app.definition_path);
    } else if (command == kHelpId) {
        open_in_editor(g_app.help_path);
    } else if (command == kVersionId) {
        SetForegroundWindow(window);
        MessageBoxA(window, kVersionText, kVersionCaption, MB_OK);
    } else if (!launch_row(window, chosen, ctrl_held)) {
        return;
    }
    launch_pause(g_settings.first_launch_delay);
    if (g_items.marked_count < 1) return;
    for (int row = 0; row < g_items.item_count; ++row) {
        if (g_items.marked[row] != 1 || row == chosen) continue;
        if (!launch_row(window, row, 0)) return;
        launch_pause(g_settings.next_launch_delay);
    }
}

void run_popup_cycle(HWND window) {
    HMENU root = CreatePopupMenu();
    g_popup.root_menu = root;
    if (g_settings.icon_mode == 1 || g_settings.icon_mode == 2) {
        if (!icon_cache_load(window)) g_settings.icon_mode = 0;
    }
    build_menu_level(root, 0, 0);
    if (g_settings.system_entry_always == 1 || GetMenuItemCount(root) == 0)
        append_system_entry(root);

    RECT target_rect;
    HWND target = (HWND)g_app.target_window;
    bool have_rect = target && GetWindowRect(target, &target_rect);
    POINT cursor = {0, 0};
    if (g_app.mouse_buttons != 0) GetCursorPos(&cursor);
    MenuPlacement place = menu_placement(have_rect ? &target_rect : nullptr, cursor);
    g_popup.popup_point = {place.x, place.y};

    for (int row = 0; row < g_items.item_count; ++row) g_items.marked[row] = 0;
    g_items.marked_count = 0;
    g_popup.menu_active = 1;
    install_menu_hooks(window);
    if (g_settings.force_activate == 1) {
        forced_activation(window);
    } else {
        SetForegroundWindow(window);
    }
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
