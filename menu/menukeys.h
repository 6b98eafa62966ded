// Typed characters in an owner-drawn menu, which has no texts of its own for
// the system to search.
#pragma once

#include <windows.h>

// Answers: 0 no match, 1 launched (close the menu), 2 open the submenu at the
// menu character choice, 3 move to the menu character choice.
int menu_character_handler(HWND window, WPARAM wparam);
