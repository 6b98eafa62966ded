// The popup cycle: shows the menu once, then launches the choice and the
// marked rows.
#pragma once

#include <windows.h>

// What the window procedure, the hooks and the cycle share while the menu is up.
struct PopupState {
    int menu_active;    // 1 while the menu is tracked
    HMENU root_menu;    // the tracked menu while the cycle holds it, else null
    int dismiss_click;  // 1 from the posted dismissing click until it arrives
    HMENU last_menu;    // latest WM_MENUSELECT: the menu of the highlighted item
    WORD last_item;     // its command identifier, or its position for a submenu
    int last_by_mouse;  // 1 when it was highlighted with the mouse
    int folder_open_request;
};

extern PopupState g_popup;

// Where the menu opens and how it is aligned to that point.
struct MenuPlacement {
    int x, y;
    UINT flags;  // TrackPopupMenu flags
};

// The placement for the current menu_position. target_rect is null when the
// target window's rectangle could not be read.
MenuPlacement menu_placement(const RECT *target_rect, POINT cursor);

// The placement from the target window and the cursor as they are now.
MenuPlacement current_menu_placement();

// Shows the menu once and dispatches the choice; called from the start timer.
void run_popup_cycle(HWND window);

// Runs chosen command identifier command (0: dismissed), then the marked rows.
void dispatch_choice(HWND window, UINT command, int ctrl_held);
