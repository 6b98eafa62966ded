// What this run's menu holds beside the definition: marked rows, the rows'
// pictures and bitmaps, and the icon mode in effect.
#pragma once

#include <cstdint>

#include "definition/items.h"

typedef void *BitmapHandle;  // HBITMAP, kept opaque so that the state stays portable

struct MenuState {
    int32_t marked[kMaxRows];  // 1: marked with Space or the middle button
    int32_t marked_count;
    int32_t icon_slot[kMaxRows];         // each row's picture in the icon cache
    BitmapHandle item_bitmap[kMaxRows];  // item bitmaps (icon mode 1)
    int32_t icons_off;                   // 1 once the icon cache failed
};

extern MenuState g_menu;

// The icon mode of this run's menu: the setting, or 0 (text) once the icon
// cache has failed.
int menu_icon_mode();

// The icon cache failed: the menu is text for the rest of the run.
void menu_turn_icons_off();

// Unmarks every row.
void menu_clear_marks();
