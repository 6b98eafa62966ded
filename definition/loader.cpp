// The menu definition loader: choosing the file, the [system] and [launch] passes.
#include "definition/loader.h"

#include <cstdlib>
#include <cstring>

#include "core/diagnostics.h"
#include "core/encoding.h"
#include "core/pathparts.h"
#include "core/phases.h"
#include "core/platform.h"
#include "core/text.h"
#include "definition/directives.h"
#include "definition/environment.h"
#include "definition/items.h"
#include "definition/lines.h"
#include "definition/listing.h"
#include "definition/placeholders.h"
#include "definition/resolve.h"
#include "definition/search_cache.h"
#include "definition/settings.h"
#include "definition/startup.h"

namespace {

// Where the [launch] pass stands.
struct LoaderState {
    int current_level;  // level of the next row
    int last_entry;     // row that ">" lines attach to, -1 for none
    int after_entry;    // 1: "+" and "-" lines are break rows
    int left_out;       // diagnostics only: an entry line since last_entry was left out
};

void system_pass(const char *text, size_t length) {
    auto handle = [&](const char *line, size_t line_start) -> size_t {
        if (line[0] == ';') return 0;
        if (plat_starts_ci(line, "%end", 4)) return kEndSection;
        return dispatch_directive(line, text, line_start, length);
    };
    walk_section(text, length, "[system]", "[launch]", 0, handle);
}

// 1 while a converted text is loaded: a character the code page lacks then
// shows as "?" in a title. Texts read as they are keep every byte.
int g_converted_text = 0;

void mark_lost_characters(char *title) {
    if (!g_converted_text) return;
    for (char *p = title; (p = strchr(p, kLostCharacter)) != nullptr;) *p = '?';
}

// The byte after the first "&" of a title.
void take_access_key(int row) {
    mark_lost_characters(g_items.title[row]);
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
    mark_lost_characters(t.title[row]);
    t.owner[row] = st.last_entry;
    ++t.variant_count[st.last_entry];
}

void add_folder_listing(int row, LoaderState &st) {
    ItemTable &t = g_items;
    t.kind[row] = SubmenuBegin;
    g_listing.count = 0;
    double started = phase_start();
    collect_folder_files(t.target[row]);
    if (g_listing.count == 0) {
        diag_report(DiagFolderEmpty, 0, t.target[row]);
        --t.item_count;
    } else {
        if (g_listing.count == kMaxListedFiles) diag_report(DiagListingFull, 0, t.target[row]);
        add_listing_rows(st.current_level);
        new_row(SubmenuEnd, st.current_level + 1);
    }
    phase_add(SumListings, started);
    st.last_entry = -1;
    st.after_entry = 0;
}

// Returns 0 when the line names nothing that exists.
int add_entry(const char *written, LoaderState &st) {
    char line[kLineSize];
    char target_text[kLineSize];
    char as_written[kLineSize];
    char resolved[kPathSize];
    char path[kPathSize];
    expand_if_enabled(written, line, sizeof line);
    const char *delimiter = plat_find_ci(line, g_settings.delimiter);
    if (delimiter) {
        text_copy_n(as_written, line, (size_t)(delimiter - line));
    } else {
        text_copy(as_written, line);
    }
    expand_environment(as_written, target_text, sizeof target_text);
    // A URL or shell location is the shell's to open, as it is; one too
    // long for a target is not cut (it would open another page) but left out.
    int location = path_is_shell_location(target_text) && strlen(target_text) < kPathSize;
    if (location) {
        text_copy(path, target_text);
    } else if (!resolve_program(target_text, 1, resolved)) {
        if (written[0] && written[0] != ' ') diag_report(DiagEntryNotFound, 0, target_text);
        return 0;
    } else if (!plat_canonicalize(resolved, path, sizeof path)) {
        text_copy(path, resolved);
    }

    ItemTable &t = g_items;
    int row = new_row(Entry, st.current_level);
    text_copy(t.target[row], path);
    if (delimiter) {
        const char *title = delimiter + strlen(g_settings.delimiter);
        diag_cut(FieldTitle, text_copy(t.title[row], title), title);
        take_access_key(row);
    } else if (location) {
        text_copy(t.title[row], path);
    } else {
        PathParts parts;
        path_split(path, &parts);
        text_copy(t.title[row], parts.base);
    }
    st.last_entry = row;
    st.after_entry = 1;
    st.left_out = 0;
    if (location) return 1;
    int folder = resolved_is_folder(path);
    if (t.item_count < kMaxRows - 1 && folder) {
        add_folder_listing(row, st);
    } else if (g_diag_sink && folder) {
        diag_report(DiagFolderNotListed, 0, path);
    }
    return 1;
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
    LoaderState st = {0, -1, 0, 0};
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
            if (st.left_out) diag_report(DiagVariantElsewhere, 0, t.title[st.last_entry]);
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
            // A blank line leaves nothing out.
            if (!add_entry(line, st) && line[0] && line[0] != ' ' && st.last_entry != -1)
                st.left_out = 1;
        }
        return 0;
    });
    if (st.current_level > 0) diag_report(DiagUnclosedSubmenu, st.current_level);
}

// An entry with exactly one variant is shown by that variant, in the entry's
// place and with its title.
void mark_sole_variants() {
    ItemTable &t = g_items;
    for (int row = 0; row < t.item_count; ++row)
        if (t.kind[row] == Variant && t.variant_count[t.owner[row]] == 1) t.kind[row] = SoleVariant;
}

}  // namespace

int choose_definition_file() {
    if (plat_exists(g_startup.definition_path)) return 0;
    startup_use_default_definition();
    if (!plat_exists(g_startup.definition_path)) {
        startup_use_definition_name("Tavrik.ini");
        if (!plat_exists(g_startup.definition_path)) startup_use_default_definition();
    }
    return 1;
}

void load_definition_text(const char *text, size_t length) {
    diag_begin(text, length);
    search_cache_reset();  // files may have changed since the last load
    settings_before_system_section();
    system_pass(text, length);
    settings_after_system_section();
    g_items.item_count = 0;
    launch_pass(text, length);
    mark_sole_variants();
}

int load_definition_bytes(const char *data, size_t size) {
    TextEncoding encoding = detect_encoding(data, size);
    diag_report_line(0, DiagEncoding, encoding);
    size_t length = size;
    char *converted = nullptr;
    if (encoding != EncodingAnsi) {
        converted = convert_to_ansi(data, size, encoding, &length);
        if (!converted) return 0;
    }
    const char *text = converted ? converted : data;
    if (g_diag_sink && strspn(text, " \t\r\n") == length) diag_report_line(0, DiagEmptyDefinition);
    g_converted_text = converted != nullptr;
    load_definition_text(text, length);
    g_converted_text = 0;
    free(converted);
    return 1;
}

int load_definition() {
    int create = choose_definition_file();
    char *data;
    size_t size;
    if (!plat_read_file(g_startup.definition_path, create, &data, &size,
                        &g_settings.definition_time))
        return 0;
    int loaded = load_definition_bytes(data, size);
    plat_free_file(data);
    return loaded;
}

int keep_loaded_definition(void (*work)(void *context), void *context) {
    // Large (the table alone is a quarter of a megabyte): kept on the heap.
    auto *items = (ItemTable *)malloc(sizeof g_items);
    auto *settings = (LauncherSettings *)malloc(sizeof g_settings);
    auto *listing = (FolderListing *)malloc(sizeof g_listing);
    int kept = items && settings && listing;
    if (kept) {
        memcpy(items, &g_items, sizeof g_items);
        memcpy(settings, &g_settings, sizeof g_settings);
        memcpy(listing, &g_listing, sizeof g_listing);
        work(context);
        memcpy(&g_items, items, sizeof g_items);
        memcpy(&g_settings, settings, sizeof g_settings);
        memcpy(&g_listing, listing, sizeof g_listing);
    }
    free(items);
    free(settings);
    free(listing);
    return kept;
}
