// Typed characters in an owner-drawn menu, which has no texts of its own for
// the system to search.
#pragma once

#include <windows.h>

#include "definition/items.h"

// What a typed character asks of the menu.
enum MenuKeyAction {
    MenuKeyNoMatch,      // nothing has the key
    MenuKeyRunRow,       // close the menu and run row (an entry or a sole variant)
    MenuKeyOpenSubmenu,  // open the submenu of the item at position
    MenuKeyMoveTo,       // highlight the item at position
};

struct MenuKeyAnswer {
    MenuKeyAction action;
    int row;       // MenuKeyRunRow
    int position;  // MenuKeyOpenSubmenu, MenuKeyMoveTo: in the highlighted item's menu
};

// Answers the character in wparam typed into the menu root and the
// submenus open below it.
MenuKeyAnswer menu_character_handler(HMENU root, WPARAM wparam);

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
