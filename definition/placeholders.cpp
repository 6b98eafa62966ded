// Replaces placeholders in entry lines and parameter texts.
#include "definition/placeholders.h"

#include <cstring>

#include "core/phases.h"
#include "core/text.h"
#include "definition/settings.h"
#include "definition/startup.h"

namespace {

enum Source { SpecialFolder, LauncherFolder, LauncherDrive, Date };

struct Placeholder {
    const char *token;
    Source source;
    int csidl;           // special folders
    const char *format;  // date tokens: the printf format of the number
    int date_field;      // 0 year, 1 month, 2 day
};

const Placeholder kPlaceholders[] = {
    {"%Windows%", SpecialFolder, 36, nullptr, 0},
    {"%Program Files%", SpecialFolder, 38, nullptr, 0},
    {"%System%", SpecialFolder, 37, nullptr, 0},
    {"%My Pictures%", SpecialFolder, 39, nullptr, 0},
    {"%My Music%", SpecialFolder, 13, nullptr, 0},
    {"%My Video%", SpecialFolder, 14, nullptr, 0},
    {"%My Documents%", SpecialFolder, 5, nullptr, 0},
    {"%Favorites%", SpecialFolder, 6, nullptr, 0},
    {"%Start Menu%", SpecialFolder, 11, nullptr, 0},
    {"%Programs%", SpecialFolder, 2, nullptr, 0},
    {"%StartUp%", SpecialFolder, 7, nullptr, 0},
    {"%SendTo%", SpecialFolder, 9, nullptr, 0},
    {"%Internet Cache%", SpecialFolder, 32, nullptr, 0},
    {"%Fonts%", SpecialFolder, 20, nullptr, 0},
    {"%Cookies%", SpecialFolder, 33, nullptr, 0},
    {"%History%", SpecialFolder, 34, nullptr, 0},
    {"%Desktop%", SpecialFolder, 0, nullptr, 0},
    {"%DesktopDirectory%", SpecialFolder, 16, nullptr, 0},
    {"%Recent%", SpecialFolder, 8, nullptr, 0},
    {"%Common Start Menu%", SpecialFolder, 22, nullptr, 0},
    {"%Common Programs%", SpecialFolder, 23, nullptr, 0},
    {"%Common StartUp%", SpecialFolder, 24, nullptr, 0},
    {"%Common Desktop%", SpecialFolder, 25, nullptr, 0},
    {"%Common Favorites%", SpecialFolder, 31, nullptr, 0},
    {"%Common My Documents%", SpecialFolder, 46, nullptr, 0},
    {"%Common My Pictures%", SpecialFolder, 54, nullptr, 0},
    {"%Common My Music%", SpecialFolder, 53, nullptr, 0},
    {"%Common My Video%", SpecialFolder, 55, nullptr, 0},
    {"%ins_Tvr%", LauncherFolder, 0, nullptr, 0},
    {"%drv_Tvr%", LauncherDrive, 0, nullptr, 0},
    {"%4y%", Date, 0, "%d", 0},
    {"%2y%", Date, 0, "%d", 0},  // cut to its last two characters below
    {"%mm%", Date, 0, "%d", 1},
    {"%0m%", Date, 0, "%02d", 1},
    {"%-m%", Date, 0, "%2d", 1},
    {"%dd%", Date, 0, "%d", 2},
    {"%0d%", Date, 0, "%02d", 2},
    {"%-d%", Date, 0, "%2d", 2},
};

// The value of one placeholder; 0 when the system has none.
int placeholder_value(const Placeholder &p, const SysTime &today, char *value, size_t size) {
    switch (p.source) {
    case SpecialFolder:
        return plat_special_folder(p.csidl, value);
    case LauncherFolder:
        text_copy(value, size, g_startup.program_folder);
        text_remove_final_backslash(value);
        return 1;
    case LauncherDrive:
        text_copy(value, size, g_startup.program_drive);
        text_remove_final_backslash(value);
        return 1;
    case Date: {
        int number = p.date_field == 0 ? today.year : p.date_field == 1 ? today.month : today.day;
        size_t n = text_format(value, size, p.format, number);
        if (p.token[1] == '2' && n > 2) memmove(value, value + n - 2, 3);
        return 1;
    }
    }
    return 0;
}

// Puts value in place of the token_length bytes at at, keeping the whole text
// within its buffer. Returns the offset just behind the inserted value.
size_t replace_at(char *text, size_t at, size_t token_length, const char *value) {
    char rebuilt[kPlaceholderTextSize];
    text_copy_n(rebuilt, text, at);
    size_t behind = text_append(rebuilt, value);
    text_append(rebuilt, text + at + token_length);
    text_copy(text, kPlaceholderTextSize, rebuilt);
    return behind;
}

}  // namespace

void expand_placeholders_on(const char *input, const SysTime &today, char *out, size_t out_size) {
    char text[kPlaceholderTextSize];
    char value[kPathSize];
    text_copy(text, input);
    for (const Placeholder &p : kPlaceholders) {
        // Each search goes on behind the value just put in, so a value that
        // holds its own token (a folder named like one) cannot loop.
        size_t from = 0;
        const char *hit;
        while ((hit = plat_find_ci(text + from, p.token)) != nullptr) {
            if (!placeholder_value(p, today, value, sizeof value)) break;
            from = replace_at(text, (size_t)(hit - text), strlen(p.token), value);
        }
    }
    for (int i = 0; i < g_settings.param_count; ++i) {
        const char *name = g_settings.param_names[i];
        if (!name[0]) continue;  // an empty name would match between every byte
        size_t from = 0;
        const char *hit;
        while ((hit = plat_find_ci(text + from, name)) != nullptr)
            from = replace_at(text, (size_t)(hit - text), strlen(name), g_settings.param_values[i]);
    }
    text_copy(out, out_size, text);
}

int is_own_token(const char *token, size_t length) {
    for (const Placeholder &p : kPlaceholders)
        if (strlen(p.token) == length && plat_starts_ci(token, p.token, (int)length)) return 1;
    for (int i = 0; i < g_settings.param_count; ++i) {
        const char *name = g_settings.param_names[i];
        // The name as written, or within the percent signs.
        if ((strlen(name) == length && plat_starts_ci(token, name, (int)length)) ||
            (strlen(name) == length - 2 && plat_starts_ci(token + 1, name, (int)length - 2)))
            return 1;
    }
    return 0;
}

void expand_placeholders(const char *text, char *out, size_t out_size) {
    SysTime today;
    plat_local_time(&today);
    expand_placeholders_on(text, today, out, out_size);
}

size_t expand_if_enabled(const char *text, char *out, size_t out_size) {
    if (g_settings.placeholders_enabled) {
        double started = phase_start();
        expand_placeholders(text, out, out_size);
        phase_add(SumPlaceholders, started);
    } else {
        text_copy(out, out_size, text);
    }
    return strlen(out);
}
