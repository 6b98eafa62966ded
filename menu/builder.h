// Turns the item table into menus: the root level, submenus filled as they
// open, variant submenus, breaks, check marks and the system entry.
#pragma once

#include <windows.h>

#include "menudef/items.h"

// Menu command identifiers besides the rows' 2000 + i.
constexpr UINT kSystemSeparatorId = 2600;
constexpr UINT kSystemEntryId = 2650;
constexpr UINT kOpenDefinitionId = 2660;
constexpr UINT kHelpId = 2670;
constexpr UINT kVersionId = 2680;

// Bitmaps of icon mode 1 besides the rows' own; released when the launcher
// window closes.
extern BitmapHandle g_system_bitmap;
extern BitmapHandle g_folder_bitmap;

// Empties menu and fills it with the rows of one level, starting at row
// first_row + offset. Returns the first row it did not consume.
int build_menu_level(HMENU menu, int first_row, int offset);

// Appends the system entry ("system ( &0 )") and its submenu.
void append_system_entry(HMENU menu);

// Destroys every submenu reachable from menu, depth first, but not menu itself.
void destroy_submenus(HMENU menu);
