// Makes the program's fonts.
#include "core/font_win.h"

#include "core/platform.h"

HFONT make_font(const char *face, int height, int weight) {
    int japanese = plat_ansi_is_japanese();
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE,
                       japanese ? SHIFTJIS_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       japanese ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE, face);
}
