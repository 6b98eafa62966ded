// Typed characters in an owner-drawn menu, which has no texts of its own for
// the system to search.
#pragma once

#include <windows.h>

#include "menudef/items.h"

// Answers: 0 no match, 1 launched (close the menu), 2 open the submenu at the
// menu character choice, 3 move to the menu character choice.
int menu_character_handler(HWND window, WPARAM wparam);

// The row an access key list names for the system entry (command 2650).
constexpr int kSystemEntryRow = 650;
// A level's rows give at most 500 positions; the system entry adds two.
constexpr int kMaxMenuKeys = kMaxRows + 2;

// One position of a menu: the row its item stands for (command - 2000) and
// its access character, empty for separators and items without one.
struct MenuKey {
    int row;
    char key[kAccessKeySize];
};

// The position list of menu, one entry per item in menu order; returns the
// number of entries.
int menu_key_list(HMENU menu, MenuKey *list, int capacity);

// The position of the first highlighted item of menu, or -1 for none.
int highlighted_position(HMENU menu);
