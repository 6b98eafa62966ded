// Menu characters: owner-drawn menus are not built yet, so nothing matches.
#include "menu/menukeys.h"

int menu_character_handler(HWND window, WPARAM wparam) {
    (void)window;
    (void)wparam;
    return 0;
}
