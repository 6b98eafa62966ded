// Loads a definition with a diagnostics sink and keeps what the checker reports.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "definition/items.h"
#include "definition/settings.h"

struct CheckAttempt {
    DiagResolveStep step;
    std::string name;
};

struct CheckFinding {
    DiagKind kind;
    int line;
    long number, number2, number3;
    std::string text, text2;
    std::vector<CheckAttempt> attempts;  // resolution steps that found nothing
};

// Settings as the report groups them.
enum CheckSetting : int {
    SettingIcon,
    SettingPosition,
    SettingFiler,
    SettingEditor,
    SettingDelays,
    SettingMark,
    SettingFolder,
    SettingFilters,
    SettingSysmenu,
    SettingActive,
    SettingInputText,
    SettingInputTitle,
    SettingParams,
    SettingDelimiter,
    SettingSearchList,
    SettingFont,
    kCheckSettingCount
};

struct CheckResult {
    std::vector<CheckFinding> findings;    // sorted by line
    int row_line[kMaxRows];                // the line each row of g_items came from
    int setting_line[kCheckSettingCount];  // the last line that changed the setting, 0 none
    LauncherSettings defaults;             // the settings after loading an empty definition
    int encoding;                          // the TextEncoding the file was read in
};

// Loads the bytes of a definition file (length bytes, NUL after them) into
// g_settings and g_items, with the settings as at program start, and fills
// result.
void check_definition_text(const char *text, size_t length, CheckResult *result);

// Reads the definition file at path (never creating it) and checks it. When
// it is missing, unreadable or empty, files beside it that hold a definition
// under a name with a hidden extension ("Tavrik.ini.txt") are findings too.
// Returns 0 when the file cannot be read.
int check_definition_file(const char *path, CheckResult *result);

// 1 when the setting ended up different from its default.
int check_setting_differs(const CheckResult &result, CheckSetting setting);
