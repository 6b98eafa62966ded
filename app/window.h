// The hidden launcher window: its class, its creation and its messages.
#pragma once

#include <windows.h>

// Registers the launcher window class named class_name; 0 on failure.
ATOM register_launcher_class(HINSTANCE instance, const char *class_name);

// Creates the hidden launcher window, which applies command_line and loads
// the menu definition while it is created; 1 on success, 0 on failure.
int create_launcher_window(HINSTANCE instance, const char *class_name, const char *command_line);

// Presses and releases a key for the menu's loop (keybd_event); tests
// replace it to see the presses.
extern void (*press_key)(unsigned char key);

LRESULT CALLBACK launcher_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
