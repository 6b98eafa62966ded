// The menu definition loader: choosing the file, the [system] and [launch] passes.
#include "menudef/loader.h"

#include <cstring>

#include "app/paths.h"
#include "launch/launch_state.h"
#include "launch/placeholders.h"
#include "menu/iconcache.h"
#include "menu/listing.h"
#include "menudef/diagnostics.h"
#include "menudef/directives.h"
#include "menudef/items.h"
#include "menudef/platform.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

ItemTable g_items;

void (*definition_error_report)(void *launcher_window) = plat_show_definition_error;

namespace {

// Where the [launch] pass stands.
struct LoaderState {
    int current_level;  // level of the next row
    int last_entry;     // row that ">" lines attach to, -1 for none
    int after_entry;    // 1: "+" and "-" lines are break rows
};

void set_initial_values() {
    LauncherSettings &s = g_settings;
    s.placeholders_enabled = 0;
    s.param_count = 0;
    s.variant_mark = 1;
    s.folder_access_keys = 1;
    s.folder_sort = 1;
    s.folder_depth = 0;
    s.system_entry_always = 1;
    s.filter_count = 0;
    s.force_activate = 0;
    s.input_title_mode = 0;
    s.search_list_set = 0;
    s.font_set = 0;
    s.editor_path[0] = s.filer_path[0] = 0;
    s.input_initial_text[0] = s.input_title[0] = 0;
    g_launch.working_folder_override[0] = 0;
    text_copy(s.delimiter, " | ");
    plat_small_icon_size(&s.icon_width, &s.icon_height);
    s.icon_draw_width = s.icon_width;
    s.icon_draw_height = s.icon_height;
}

// Moves the line's text behind its leading blanks to the front; a line of
// blanks only stays as it is.
void remove_leading_blanks(char *line) {
    size_t skip = 0;
    while (line[skip] == ' ' || line[skip] == '\t') ++skip;
    if (line[skip] && skip) memmove(line, line + skip, strlen(line + skip) + 1);
}

// Diagnostics only: a section that ran to the end of the text. Its last line
// may have gone unread for want of a line end, and a later section header
// was read as one of its lines.
void report_open_end(const char *text, size_t length, size_t pos, const char *header_at,
                     const char *other_header, long section) {
    if (pos < length) {
        char line[kLineSize];
        read_line(text, pos, length, line);
        remove_leading_blanks(line);
        if (line[0] && line[0] != ' ') diag_report_at(pos, DiagLastLineNoEol);
    }
    diag_report(DiagSectionEnd, 0);
    const char *other = plat_find_ci(text, other_header);
    if (other && other > header_at)
        diag_report_at((size_t)(other - text), DiagSectionRunsOn, section);
}

// Walks the lines of the section whose header is found in text. For each line
// (blanks removed) calls handle(line, line_start); a nonzero return is the
// number of bytes to skip from the line's start instead of the line itself, a
// return of (size_t)-1 ends the section. section and other_header only tell
// the diagnostics which section this is and which header may follow it.
template <typename Handler>
void walk_section(const char *text, size_t length, const char *header, const char *other_header,
                  long section, Handler handle) {
    const char *found = plat_find_ci(text, header);
    if (!found) return;
    char line[kLineSize];
    size_t pos = (size_t)(found - text);
    diag_report_at(pos, DiagSectionStart, section, header);
    pos += read_line(text, pos, length, line);  // the header's own line
    while (pos <= length) {
        size_t consumed = read_line(text, pos, length, line);
        if (pos + consumed > length) break;  // a last line without LF is not read
        diag_line(pos, section);
        remove_leading_blanks(line);
        size_t skip = handle(line, pos);
        if (skip == (size_t)-1) {
            diag_report(DiagSectionEnd, 1);
            return;
        }
        pos += skip ? skip : consumed;
    }
    if (g_diag_sink) report_open_end(text, length, pos, found, other_header, section);
}

constexpr size_t kEndSection = (size_t)-1;

void system_pass(const char *text, size_t length) {
    auto handle = [&](const char *line, size_t line_start) -> size_t {
        if (line[0] == ';') return 0;
        if (plat_starts_ci(line, "%end", 4)) return kEndSection;
        return dispatch_directive(line, text, line_start, length);
    };
    walk_section(text, length, "[system]", "[launch]", 0, handle);
}

void post_process_system() {
    LauncherSettings &s = g_settings;
    if (s.icon_mode == kUnset) s.icon_mode = 0;
    if (s.menu_position == kUnset) s.menu_position = PositionActive;
    if (s.filter_count == 0) {
        text_copy(s.filter_exts[0], ".exe");
        text_copy(s.filter_exts[1], ".lnk");
        s.filter_count = 2;
    }
    if (s.icon_mode == 2 && s.font_set == 1) s.icon_draw_width = s.icon_draw_height = s.font_size;
    g_items.item_count = 0;
}

// Starts row item_count with everything but the texts cleared.
int new_row(RowKind kind, int level) {
    ItemTable &t = g_items;
    int row = t.item_count++;
    t.kind[row] = kind;
    t.level[row] = level;
    t.marked[row] = 0;
    t.target[row][0] = 0;
    t.title[row][0] = 0;
    t.access_key[row][0] = 0;
    t.icon_slot[row] = 0;
    t.variant_count[row] = 0;
    t.owner[row] = 0;
    diag_report(DiagRowAdded, row);
    return row;
}

// The byte after the first "&" of a title.
void take_access_key(int row) {
    const char *amp = strchr(g_items.title[row], '&');
    g_items.access_key[row][0] = amp ? amp[1] : 0;
    g_items.access_key[row][1] = 0;
}

void add_variant(const char *text, LoaderState &st) {
    ItemTable &t = g_items;
    int row = new_row(Variant, st.current_level);
    const char *delimiter = plat_find_ci(text, g_settings.delimiter);
    if (delimiter) {
        size_t given = (size_t)(delimiter - text);
        diag_cut(FieldParameters, text_copy_n(t.target[row], text, given), text, given);
        const char *title = delimiter + strlen(g_settings.delimiter);
        diag_cut(FieldTitle, text_copy(t.title[row], title), title);
    } else {
        diag_cut(FieldParameters, text_copy(t.target[row], text), text);
        text_copy(t.title[row], text);
    }
    t.owner[row] = st.last_entry;
    ++t.variant_count[st.last_entry];
}

void add_folder_listing(int row, LoaderState &st) {
    ItemTable &t = g_items;
    t.kind[row] = SubmenuBegin;
    g_listing.count = 0;
    collect_folder_files(t.target[row]);
    if (g_listing.count == 0) {
        diag_report(DiagFolderEmpty, 0, t.target[row]);
        --t.item_count;
    } else {
        if (g_listing.count == kMaxListedFiles) diag_report(DiagListingFull, 0, t.target[row]);
        add_listing_rows(st.current_level);
        new_row(SubmenuEnd, st.current_level + 1);
    }
    st.last_entry = -1;
    st.after_entry = 0;
}

void add_entry(const char *written, LoaderState &st) {
    char line[kLineSize];
    char target_text[kLineSize];
    char resolved[260];
    char path[260];
    if (g_settings.placeholders_enabled) {
        expand_placeholders(written, line, sizeof line);
    } else {
        text_copy(line, written);
    }
    const char *delimiter = plat_find_ci(line, g_settings.delimiter);
    if (delimiter) {
        text_copy_n(target_text, line, (size_t)(delimiter - line));
    } else {
        text_copy(target_text, line);
    }
    if (!resolve_program(target_text, 1, resolved)) {
        if (written[0] && written[0] != ' ') diag_report(DiagEntryNotFound, 0, target_text);
        return;
    }
    if (!plat_canonicalize(resolved, path, sizeof path)) text_copy(path, resolved);

    ItemTable &t = g_items;
    int row = new_row(Entry, st.current_level);
    text_copy(t.target[row], path);
    if (delimiter) {
        const char *title = delimiter + strlen(g_settings.delimiter);
        diag_cut(FieldTitle, text_copy(t.title[row], title), title);
        take_access_key(row);
    } else {
        PathParts parts;
        path_split(path, &parts);
        text_copy(t.title[row], parts.base);
    }
    st.last_entry = row;
    st.after_entry = 1;
    if (t.item_count < kMaxRows - 1 && plat_is_directory(path)) {
        add_folder_listing(row, st);
    } else if (g_diag_sink && plat_is_directory(path)) {
        diag_report(DiagFolderNotListed, 0, path);
    }
}

// Diagnostics only: a line that begins like another kind of line but is read
// as an entry line because of where it stands.
void report_entry_line(const char *line) {
    if (line[0] == '}') {
        diag_report(DiagUnmatchedClose);
    } else if (line[0] && strchr("+->{", line[0])) {
        diag_report(DiagMarkerAsEntry, line[0]);
    }
}

void launch_pass(const char *text, size_t length) {
    LoaderState st = {0, -1, 0};
    ItemTable &t = g_items;
    walk_section(text, length, "[launch]", "[system]", 1, [&](const char *line, size_t) -> size_t {
        if (plat_starts_ci(line, "%end", 4)) return kEndSection;
        if (line[0] == ';') return 0;
        if (t.item_count >= kMaxRows) {
            diag_report(DiagTableFull);
            return 0;
        }
        if (line[0] == '+' && st.after_entry) {
            new_row(Separator, st.current_level);
        } else if (line[0] == '-' && st.after_entry) {
            new_row(ColumnBreak, st.current_level);
        } else if (line[0] == '>' && st.last_entry != -1) {
            add_variant(line + 1, st);
        } else if (line[0] == '{' && line[1]) {
            int row = new_row(SubmenuBegin, st.current_level);
            diag_cut(FieldTitle, text_copy(t.title[row], line + 1), line + 1);
            take_access_key(row);
            st.last_entry = -1;
            st.after_entry = 0;
            ++st.current_level;
        } else if (line[0] == '}' && st.current_level > 0) {
            new_row(SubmenuEnd, st.current_level);
            st.last_entry = -1;
            --st.current_level;
        } else {
            if (g_diag_sink) report_entry_line(line);
            add_entry(line, st);
        }
        return 0;
    });
    if (st.current_level > 0) diag_report(DiagUnclosedSubmenu, st.current_level);
}

}  // namespace

int choose_definition_file() {
    if (plat_exists(g_app.definition_path)) return 0;
    text_format(g_app.definition_path, sizeof g_app.definition_path, "%s%s", g_app.program_folder,
                g_app.default_definition_name);
    if (!plat_exists(g_app.definition_path)) {
        text_format(g_app.definition_path, sizeof g_app.definition_path, "%s%s",
                    g_app.program_folder, "Tavrik.ini");
        if (!plat_exists(g_app.definition_path))
            text_format(g_app.definition_path, sizeof g_app.definition_path, "%s%s",
                        g_app.program_folder, g_app.default_definition_name);
    }
    return 1;
}

void load_definition_text(const char *text, size_t length) {
    diag_begin(text, length);
    set_initial_values();
    system_pass(text, length);
    post_process_system();
    launch_pass(text, length);
}

int load_definition(void *launcher_window) {
    int create = choose_definition_file();
    char *text;
    size_t length;
    if (!plat_read_file(g_app.definition_path, create, &text, &length,
                        &g_settings.definition_time)) {
        definition_error_report(launcher_window);
        return 0;
    }
    load_definition_text(text, length);
    plat_free_file(text);
    if (g_settings.icon_mode > 0 && !icon_cache_check(launcher_window)) g_settings.icon_mode = 0;
    return 1;
}
