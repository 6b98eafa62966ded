// Owner-drawn menu items: measured and drawn with their picture and text.
#pragma once

#include <windows.h>

// Sets the item's width and height from its text in the item font and the
// picture size; returns TRUE.
BOOL measure_item(HWND window, MEASUREITEMSTRUCT *request);

// Paints the item's whole rectangle: background (highlighted when selected),
// picture at the left, text beside it; returns TRUE.
BOOL draw_item(DRAWITEMSTRUCT *request);
