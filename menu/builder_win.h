// Turns the item table into menus: the root level, submenus filled as they
// open, variant submenus, breaks, check marks and the system entry.
#pragma once

#include <windows.h>

// Empties menu and fills it with the rows of one level, starting at row
// first_row + offset. Returns the first row it did not consume.
int build_menu_level(HMENU menu, int first_row, int offset);

// Appends the system entry ("system ( &0 )") and its submenu.
void append_system_entry(HMENU menu);

// Destroys every submenu reachable from menu, depth first, but not menu itself.
void destroy_submenus(HMENU menu);

// Marks the row behind item (a command identifier of menu), or unmarks it,
// with its check mark.
void menu_toggle_mark(HMENU menu, UINT item);

// Releases the item bitmaps and the pictures of the icon cache.
void menu_release_pictures();
