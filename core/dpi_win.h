// The DPI of a monitor and the system's sizes at a DPI, with the calls of
// Windows 8.1 and 10 looked up at run time: Windows 7 knows one DPI only.
#pragma once

#include <windows.h>

#include "core/dpi.h"

// The DPI the system started with; fonts and metrics read without a DPI are
// given at it.
int system_dpi();

// The DPI of the monitor that holds the screen point (x, y), or the nearest
// one; the system's where monitors have no DPI of their own.
int monitor_dpi_at(int x, int y);

// The system's small-icon size at dpi.
void small_icon_size_at(int dpi, int *width, int *height);
