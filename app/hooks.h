// Thread hooks while the menu is tracked: Space and the middle button mark
// rows, the right button asks for the folder; and forced activation.
#pragma once

#include <windows.h>

void install_menu_hooks(HWND window);
void remove_menu_hooks();

LRESULT CALLBACK menu_mouse_hook(int code, WPARAM message, LPARAM data);
LRESULT CALLBACK menu_keyboard_hook(int code, WPARAM key, LPARAM flags);

// Brings window forward even when another program holds the foreground.
void forced_activation(HWND window);
