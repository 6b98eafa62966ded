// The font factory: fonts for owner-drawn items and the input dialog.
#pragma once

#include <windows.h>

// A font of the given face, height and weight (0: default weight); the
// caller deletes it. On code page 932 it is a Shift-JIS font of fixed pitch
// as it always was; elsewhere a font of the system's own character set with
// the face as named, since a Shift-JIS font would show the system's texts
// as Japanese characters.
HFONT make_font(const char *face, int height, int weight);
