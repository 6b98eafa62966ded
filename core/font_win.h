// The font factory: Shift-JIS fonts for owner-drawn items and the input dialog.
#pragma once

#include <windows.h>

// A font of the given face, height and weight (0: default weight); the
// caller deletes it.
HFONT make_font(const char *face, int height, int weight);
