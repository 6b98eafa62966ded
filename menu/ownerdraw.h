// Owner-drawn menu items: measured and drawn with their picture and text.
#pragma once

#include <windows.h>

BOOL measure_item(HWND window, MEASUREITEMSTRUCT *request);
BOOL draw_item(DRAWITEMSTRUCT *request);
