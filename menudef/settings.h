// Launcher settings: what the [system] section and the command line decide.
#pragma once

#include <cstdint>

#include "menudef/platform.h"

constexpr int kUnset = 9;  // icon_mode and menu_position before anything chose them
constexpr int kMaxFilters = 10;
constexpr int kMaxParams = 10;
constexpr int kParamNameSize = 20;
constexpr int kDelimiterSize = 32;
constexpr int kInputTitleSize = 32;
constexpr int kSearchListSize = 5200;
constexpr int kFontFaceSize = 128;

// menu_position values
enum MenuPosition : int32_t {
    PositionActive = 0,  // centre of the target window
    PositionPoint = 1,   // (menu_x, menu_y)
    PositionMouse = 2,
    PositionMouse2 = 3,  // left edge at the cursor, centred vertically on it
    PositionCenter = 4,
};

struct LauncherSettings {
    int32_t icon_mode;  // 0 text, 1 item bitmaps, 2 owner-drawn
    int32_t menu_position;
    int32_t menu_x, menu_y;
    int32_t filer_enabled;
    char filer_path[260];
    char editor_path[260];
    int32_t first_launch_delay, next_launch_delay;  // milliseconds
    int32_t variant_mark;
    int32_t folder_depth, folder_sort, folder_access_keys;
    char filter_exts[kMaxFilters][260];
    int32_t filter_count;
    int32_t system_entry_always;
    int32_t force_activate;
    char input_initial_text[260];
    char input_title[kInputTitleSize];
    int32_t input_title_mode;
    int32_t placeholders_enabled;
    char param_names[kMaxParams][kParamNameSize];
    char param_values[kMaxParams][260];
    int32_t param_count;
    char delimiter[kDelimiterSize];
    char search_list[kSearchListSize];
    int32_t search_list_set;
    char font_face[kFontFaceSize];
    int32_t font_size, font_weight, font_set;
    int32_t icon_width, icon_height;
    int32_t icon_draw_width, icon_draw_height;
    SysTime definition_time;  // last write of the menu definition file, UTC
};

extern LauncherSettings g_settings;
