// Launcher settings: what the [system] section and the command line decide.
#pragma once

#include <cstdint>

#include "core/platform.h"
#include "core/text.h"

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

// Every setting once, with its value when the [system] section starts and
// the group the definition checker reports it under:
//   CHOSEN(name, group)                 a number the command line may choose
//                                       before loading; loading keeps it
//   NUMBER(name, initial, group)        a number
//   TEXT(name, size, initial, group)    a text of size bytes
//   TEXTS(name, count, size, group)     count texts, empty at start
#define TAVRIK_SETTINGS(CHOSEN, NUMBER, TEXT, TEXTS)         \
    CHOSEN(icon_mode, Icon) /* 0 text, 1 bitmaps, 2 drawn */ \
    CHOSEN(menu_position, Position)                          \
    CHOSEN(menu_x, Position)                                 \
    CHOSEN(menu_y, Position)                                 \
    NUMBER(filer_enabled, 0, Filer)                          \
    TEXT(filer_path, kPathSize, "", Filer)                   \
    TEXT(editor_path, kPathSize, "", Editor)                 \
    NUMBER(first_launch_delay, 0, Delays) /* milliseconds */ \
    NUMBER(next_launch_delay, 0, Delays)                     \
    NUMBER(variant_mark, 1, Mark)                            \
    NUMBER(folder_depth, 0, Folder)                          \
    NUMBER(folder_sort, 1, Folder)                           \
    NUMBER(folder_access_keys, 1, Folder)                    \
    TEXTS(filter_exts, kMaxFilters, kPathSize, Filters)      \
    NUMBER(filter_count, 0, Filters)                         \
    NUMBER(system_entry_always, 1, Sysmenu)                  \
    NUMBER(force_activate, 0, Active)                        \
    TEXT(input_initial_text, kPathSize, "", InputText)       \
    TEXT(input_title, kInputTitleSize, "", InputTitle)       \
    NUMBER(input_title_mode, 0, InputTitle)                  \
    NUMBER(placeholders_enabled, 0, Params)                  \
    TEXTS(param_names, kMaxParams, kParamNameSize, Params)   \
    TEXTS(param_values, kMaxParams, kPathSize, Params)       \
    NUMBER(param_count, 0, Params)                           \
    TEXT(delimiter, kDelimiterSize, " | ", Delimiter)        \
    TEXT(search_list, kSearchListSize, "", SearchList)       \
    NUMBER(search_list_set, 0, SearchList)                   \
    TEXT(font_face, kFontFaceSize, "", Font)                 \
    NUMBER(font_size, 0, Font)                               \
    NUMBER(font_weight, 0, Font)                             \
    NUMBER(font_set, 0, Font)

#define TAVRIK_SETTING_NUMBER(name, ...) int32_t name;
#define TAVRIK_SETTING_TEXT(name, size, ...) char name[size];
#define TAVRIK_SETTING_TEXTS(name, count, size, ...) char name[count][size];

struct LauncherSettings {
    TAVRIK_SETTINGS(TAVRIK_SETTING_NUMBER, TAVRIK_SETTING_NUMBER, TAVRIK_SETTING_TEXT,
                    TAVRIK_SETTING_TEXTS)
    // Facts of the system and the file rather than settings of the user:
    int32_t dpi;                                // of the menu's monitor; 96 until it is known
    int32_t icon_width, icon_height;            // the system's small icons at that DPI
    int32_t icon_draw_width, icon_draw_height;  // as drawn: the "@font=" size when owner-drawn
    SysTime definition_time;                    // last write of the menu definition file, UTC
};

#undef TAVRIK_SETTING_NUMBER
#undef TAVRIK_SETTING_TEXT
#undef TAVRIK_SETTING_TEXTS

extern LauncherSettings g_settings;

// The settings as at program start: nothing chosen, everything else zero.
void settings_at_start();

// The values the [system] section starts from; what the command line chose
// stays.
void settings_before_system_section();

// After the [system] section: what nothing chose gets its default.
void settings_after_system_section();

// Sizes the pictures for the DPI of the monitor the menu shows on: the
// small-icon size there, and an "@font=" size (given for 96 DPI) scaled to it.
void settings_use_dpi(int dpi);
