// Directives of the [system] section and the small parsers behind them.
#include "definition/directives.h"

#include <cstring>

#include "core/diagnostics.h"
#include "core/platform.h"
#include "core/text.h"
#include "definition/environment.h"
#include "definition/lines.h"
#include "definition/placeholders.h"
#include "definition/resolve.h"
#include "definition/settings.h"
#include "definition/startup.h"

// Field scanning: "," closes a field, CR or LF closes the last one. Bytes
// beyond max_bytes are dropped. Returns ',' or '\n' for the closing byte, or
// 0 when the text ended first.
static char scan_field(const char *text, size_t *pos, char *field, size_t max_bytes) {
    size_t kept = 0;
    size_t given = 0;
    field[0] = 0;
    for (;; ++*pos) {
        char c = text[*pos];
        if (c == 0) return 0;
        if (c == ',' || c == '\r' || c == '\n') {
            ++*pos;
            field[kept] = 0;
            diag_cut_length(FieldValue, kept, given);
            return c == ',' ? ',' : '\n';
        }
        if (kept < max_bytes) field[kept++] = c;
        ++given;
    }
}

constexpr size_t kShortField = 6;
constexpr size_t kFontField = 127;

// The position words, tested in this order. Returns 1 when one was found.
static int apply_position_word(const char *field) {
    if (plat_find_ci(field, "mouse")) {
        if (g_startup.mouse_buttons >= 1) {
            g_settings.menu_position = PositionMouse;
        } else {
            diag_report(DiagValueFellBack, ValuePositionNoMouse, field);
        }
    } else if (plat_find_ci(field, "mous2")) {
        if (g_startup.mouse_buttons >= 1) {
            g_settings.menu_position = PositionMouse2;
        } else {
            diag_report(DiagValueFellBack, ValuePositionNoMouse, field);
        }
    } else if (plat_find_ci(field, "center")) {
        g_settings.menu_position = PositionCenter;
    } else if (plat_find_ci(field, "active")) {
        g_settings.menu_position = PositionActive;
    } else {
        return 0;
    }
    return 1;
}

void parse_position(const char *text, size_t start) {
    char field[kShortField + 1];
    size_t pos = start;
    g_settings.menu_position = PositionActive;
    char end = scan_field(text, &pos, field, kShortField);
    if (end != ',') {
        if (end && !apply_position_word(field))
            diag_report(DiagValueFellBack, ValuePositionWord, field);
        return;
    }
    if (plat_find_ci(field, "MAX")) {
        g_settings.menu_x = g_startup.screen_width;
    } else if (apply_position_word(field)) {
        return;
    } else {
        g_settings.menu_x = text_to_int(field);
    }
    end = scan_field(text, &pos, field, kShortField);
    if (!end) return;
    int is_max = end == ',' ? plat_find_ci(field, "MAX") != nullptr : strcmp(field, "MAX") == 0;
    if (g_diag_sink && !is_max && plat_find_ci(field, "MAX"))
        diag_report(DiagValueFellBack, ValuePositionMaxCase, field);
    g_settings.menu_y = is_max ? g_startup.maximised_height : text_to_int(field);
    g_settings.menu_position = PositionPoint;
}

void parse_font(const char *line) {
    char field[kFontField + 1];
    size_t pos = 6;
    char end = scan_field(line, &pos, field, kFontField);
    if (!end) return;
    text_copy(g_settings.font_face, field);
    g_settings.font_size = 16;
    g_settings.font_weight = 0;
    if (end != ',') return;
    end = scan_field(line, &pos, field, kFontField);
    if (!end) return;
    int size = text_to_int(field);
    g_settings.font_size = size > 0 ? size : 16;
    if (size <= 0) diag_report(DiagValueFellBack, ValueFontSize, field);
    if (end != ',') return;
    if (!scan_field(line, &pos, field, kFontField)) return;
    int weight = text_to_int(field);
    g_settings.font_weight = weight >= 0 && weight <= 10 ? weight * 100 : 0;
    if (weight < 0 || weight > 10) diag_report(DiagValueFellBack, ValueFontWeight, field);
}

static int delay_in_range(const char *field) {
    int ms = text_to_int(field);
    if (ms >= 1 && ms <= 10000) return ms;
    if (ms != 0) diag_report(DiagValueFellBack, ValueDelay, field);
    return 0;
}

void parse_delays(const char *line) {
    char field[kShortField + 1];
    size_t pos = 6;
    char end = scan_field(line, &pos, field, kShortField);
    if (!end) return;
    int first = delay_in_range(field);
    if (end != ',') {
        g_settings.first_launch_delay = g_settings.next_launch_delay = first;
        return;
    }
    g_settings.first_launch_delay = first;
    if (scan_field(line, &pos, field, kShortField))
        g_settings.next_launch_delay = delay_in_range(field);
}

void parse_folder_options(const char *line) {
    char field[kShortField + 1];
    size_t pos = 8;
    char end = scan_field(line, &pos, field, kShortField);
    if (!end) return;
    int depth = text_to_int(field);
    g_settings.folder_depth = depth < 0 ? 0 : depth;
    if (depth < 0) diag_report(DiagValueFellBack, ValueFolderDepth, field);
    if (end != ',') return;
    end = scan_field(line, &pos, field, kShortField);
    if (!end) return;
    int sort = text_to_int(field);
    g_settings.folder_sort = sort == 1;
    if (sort != 0 && sort != 1) diag_report(DiagValueFellBack, ValueFolderSort, field);
    if (end != ',') return;
    if (scan_field(line, &pos, field, kShortField))
        g_settings.folder_access_keys = text_to_int(field) != 0;
}

void parse_filter(const char *line) {
    char ext[kPathSize];
    size_t kept = 0;
    size_t given = 0;
    for (size_t pos = 8;; ++pos) {
        char c = line[pos];
        if (c == 0) return;  // no line end: the open extension is not taken
        if (c == ';' || c == '\r' || c == '\n') {
            ext[kept] = 0;
            if (kept > 0 && g_settings.filter_count < kMaxFilters) {
                diag_cut_length(FieldFilterExt, kept, given);
                text_copy(g_settings.filter_exts[g_settings.filter_count++], ext);
            } else if (kept > 0) {
                diag_report(DiagTooManyFilters, 0, ext);
            }
            kept = given = 0;
            if (c != ';') return;
            continue;
        }
        if (kept < sizeof ext - 1) ext[kept++] = c;
        ++given;
    }
}

// "@editor=" (which 0) and "@filer=" (which 1): the value must name an
// existing file.
static void set_program_setting(const char *written, char *setting, int which) {
    char expanded[kLineSize];
    char value[kLineSize];
    expand_if_enabled(written, expanded, sizeof expanded);
    expand_environment(expanded, value, sizeof value);
    char resolved[kPathSize];
    int found = resolve_program(value, 1, resolved);
    if (found && !plat_is_directory(resolved)) {
        text_copy(setting, kPathSize, resolved);
    } else {
        diag_report(DiagProgramNotFound, which, value, found);
    }
}

static void set_search_list(const char *written) {
    char value[kSearchListSize];
    expand_environment(written, value, sizeof value);
    char resolved[kPathSize];
    if (resolve_program(value, 0, resolved) && !plat_is_directory(resolved)) {
        read_search_list_file(resolved);
    } else {
        text_copy(g_settings.search_list, value);
        g_settings.search_list_set = 1;
    }
}

size_t read_param_block(const char *text, size_t start, size_t length) {
    char line[kLineSize];
    g_settings.param_count = 0;
    size_t taken = read_line(text, start, length, line);
    while (g_settings.param_count < kMaxParams) {
        size_t pos = start + taken;
        size_t consumed = read_line(text, pos, length, line);
        if (!line_has_end(pos, consumed, length)) break;
        const char *delimiter = plat_find_ci(line, g_settings.delimiter);
        if (!delimiter) break;
        diag_line(pos, 0);
        int slot = g_settings.param_count++;
        size_t name_length = (size_t)(delimiter - line);
        const char *value = delimiter + strlen(g_settings.delimiter);
        diag_cut(FieldParamName, text_copy_n(g_settings.param_names[slot], line, name_length), line,
                 name_length);
        diag_cut(FieldParamValue, text_copy(g_settings.param_values[slot], value), value);
        taken += consumed;
    }
    if (g_diag_sink && g_settings.param_count == kMaxParams) {
        size_t pos = start + taken;
        size_t consumed = read_line(text, pos, length, line);
        if (line_has_end(pos, consumed, length) && plat_find_ci(line, g_settings.delimiter))
            diag_report_at(pos, DiagTooManyParams);
    }
    return taken;
}

// A directive that needs a value does nothing on a line shorter than minimum.
static int long_enough(const char *line, size_t line_length, size_t minimum) {
    if (line_length >= minimum) return 1;
    diag_report(DiagDirectiveTooShort, (long)minimum, line);
    return 0;
}

// "@icon" and "@menu=" keep the first choice, the command line's included.
static void choose_once(int32_t *setting, int32_t value, const char *line) {
    if (*setting == kUnset) {
        *setting = value;
    } else {
        diag_report(DiagDirectiveNoEffect, 0, line);
    }
}

size_t dispatch_directive(const char *line, const char *text, size_t line_start, size_t length) {
    size_t line_length = strlen(line);
    char with_eol[kLineWithEolSize];
    text_copy(with_eol, line);
    text_append(with_eol, "\r\n");
    LauncherSettings &s = g_settings;
    if (plat_starts_ci(line, "@dlm=", 5)) {
        if (long_enough(line, line_length, 7))
            diag_cut(FieldDelimiter, text_copy(s.delimiter, line + 5), line + 5);
    } else if (plat_starts_ci(line, "@param", 6)) {
        s.placeholders_enabled = 1;
        return read_param_block(text, line_start, length);
    } else if (plat_starts_ci(line, "@path=", 6)) {
        if (long_enough(line, line_length, 7)) set_search_list(line + 6);
    } else if (plat_starts_ci(line, "@icon=1", 7)) {
        choose_once(&s.icon_mode, 2, line);
    } else if (plat_starts_ci(line, "@icon", 5)) {
        choose_once(&s.icon_mode, 1, line);
    } else if (plat_starts_ci(line, "@menu=", 6)) {
        if (long_enough(line, line_length, 9)) {
            if (s.menu_position == kUnset) {
                parse_position(with_eol, 6);
            } else {
                diag_report(DiagDirectiveNoEffect, 0, line);
            }
        }
    } else if (plat_starts_ci(line, "@font=", 6)) {
        if (long_enough(line, line_length, 7)) {
            parse_font(with_eol);
            if (s.font_face[0]) {
                s.font_set = 1;
            } else {
                diag_report(DiagValueFellBack, ValueFontFaceEmpty, line + 6);
            }
        }
    } else if (plat_starts_ci(line, "@editor=", 8)) {
        set_program_setting(line + 8, s.editor_path, 0);
    } else if (plat_starts_ci(line, "@filer", 6)) {
        s.filer_enabled = 1;
        if (line[6] == '=') set_program_setting(line + 7, s.filer_path, 1);
    } else if (plat_starts_ci(line, "@dist=", 6)) {
        if (long_enough(line, line_length, 7)) parse_delays(with_eol);
    } else if (plat_starts_ci(line, "@mark=0", 7)) {
        s.variant_mark = 0;
    } else if (plat_starts_ci(line, "@folder=", 8)) {
        if (long_enough(line, line_length, 9)) parse_folder_options(with_eol);
    } else if (plat_starts_ci(line, "@filte", 6)) {
        if (long_enough(line, line_length, 10)) parse_filter(with_eol);
    } else if (plat_starts_ci(line, "@sysmenu=0", 10)) {
        s.system_entry_always = 0;
    } else if (plat_starts_ci(line, "@active=1", 9)) {
        s.force_activate = 1;
    } else if (plat_starts_ci(line, "@xinit=", 7)) {
        diag_cut(FieldInputText, text_copy(s.input_initial_text, line + 7), line + 7);
    } else if (plat_starts_ci(line, "@xtitle=", 8)) {
        diag_cut(FieldInputTitle, text_copy(s.input_title, line + 8), line + 8);
        s.input_title_mode = 2;
    } else if (plat_starts_ci(line, "@xtitle", 7)) {
        s.input_title_mode = 1;
    } else if (line[0] && line[0] != ' ') {
        diag_report(DiagDirectiveUnknown, 0, line);
    }
    return 0;
}
