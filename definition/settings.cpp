// The launcher settings and the values they start from.
#include "definition/settings.h"

#include <cstring>

#include "core/dpi.h"

LauncherSettings g_settings;

void settings_at_start() {
    memset(&g_settings, 0, sizeof g_settings);
    g_settings.icon_mode = kUnset;
    g_settings.menu_position = kUnset;
    g_settings.dpi = kBaseDpi;
}

// Pictures at the small-icon size; owner-drawn ones with "@font=" at its size.
static void size_pictures(LauncherSettings &s) {
    plat_small_icon_size(s.dpi, &s.icon_width, &s.icon_height);
    s.icon_draw_width = s.icon_width;
    s.icon_draw_height = s.icon_height;
    if (s.icon_mode == 2 && s.font_set == 1)
        s.icon_draw_width = s.icon_draw_height = scale_to_dpi(s.font_size, s.dpi);
}

void settings_before_system_section() {
    LauncherSettings &s = g_settings;
#define CHOSEN(name, group)
#define NUMBER(name, initial, group) s.name = initial;
#define TEXT(name, size, initial, group) text_copy(s.name, initial);
#define TEXTS(name, count, size, group) memset(s.name, 0, sizeof s.name);
    TAVRIK_SETTINGS(CHOSEN, NUMBER, TEXT, TEXTS)
#undef CHOSEN
#undef NUMBER
#undef TEXT
#undef TEXTS
    size_pictures(s);
}

void settings_after_system_section() {
    LauncherSettings &s = g_settings;
    if (s.icon_mode == kUnset) s.icon_mode = 0;
    if (s.menu_position == kUnset) s.menu_position = PositionActive;
    if (s.filter_count == 0) {
        text_copy(s.filter_exts[0], ".exe");
        text_copy(s.filter_exts[1], ".lnk");
        s.filter_count = 2;
    }
    size_pictures(s);
}

void settings_use_dpi(int dpi) {
    g_settings.dpi = dpi;
    size_pictures(g_settings);
}
