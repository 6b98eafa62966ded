// The hidden launcher window: its class, its creation and its messages.
#pragma once

#include <windows.h>

constexpr UINT_PTR kStartTimer = 610;

// Registers the launcher window class named class_name; 0 on failure.
ATOM register_launcher_class(HINSTANCE instance, const char *class_name);

// Creates the hidden launcher window (all loading happens while it is
// created); 1 on success, 0 on failure.
int create_launcher_window(HINSTANCE instance, const char *class_name);

// Presses and releases a key for the menu's loop (keybd_event); tests
// replace it to see the presses.
extern void (*press_key)(unsigned char key);

LRESULT CALLBACK launcher_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
