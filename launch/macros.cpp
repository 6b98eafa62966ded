// Expands command macros in the order value prompts, path and clipboard
// macros, the window macro, the working folder macro, multi-file tokens.
#include "launch/macros.h"

#include <cstdint>
#include <cstring>

#include "core/pathparts.h"
#include "core/platform.h"
#include "definition/environment.h"
#include "definition/placeholders.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"

namespace {

constexpr size_t kWorkSize = kParameterTextSize;  // 1039 bytes and a NUL

// The working text and where the next search for a macro starts. Searching
// on behind an inserted value means a value that holds the macro itself (a
// typed "%X", a path with "%$P" in it) is taken as it is, never expanded again.
struct Work {
    char text[kWorkSize];
    size_t from;
    bool overflow;  // a replacement did not fit: the launch is abandoned
};

// Puts value in place of the length bytes at at. A result that would not fit
// the working text is refused rather than cut, so that a command line is
// never launched with its end missing.
void replace(Work &w, size_t at, size_t length, const char *value) {
    size_t value_length = strlen(value);
    size_t tail_length = strlen(w.text + at + length);
    if (at + value_length + tail_length >= kWorkSize) {
        w.overflow = true;
        return;
    }
    memmove(w.text + at + value_length, w.text + at + length, tail_length + 1);
    memcpy(w.text + at, value, value_length);
    w.from = at + value_length;
}

const char *find(const Work &w, const char *token) { return plat_find_ci(w.text + w.from, token); }

// The label of a value prompt made from the text around "%X": the ten bytes
// before it, " __ ", the ten bytes behind it; whole characters only, so a
// double-byte character on either edge is left out rather than halved.
void automatic_label(const char *before, size_t before_length, const char *after, char *label) {
    size_t skip = 0;  // the first character boundary at least ten bytes back
    while (before_length - skip > 10)
        skip += plat_is_lead_byte((unsigned char)before[skip]) && skip + 1 < before_length ? 2 : 1;
    text_copy_n(label, kInputLabelSize, before + skip, before_length - skip);
    text_append(label, kInputLabelSize, " __ ");
    text_append_n(label, kInputLabelSize, after, 10);
}

// The chosen entry's title without its '&' characters.
void label_from_entry_name(char *label) {
    char title[kPathSize];
    size_t kept = 0;
    for (const char *p = g_launch.chosen_entry_name; *p && kept < sizeof title - 1; ++p)
        if (*p != '&') title[kept++] = *p;
    title[kept] = 0;
    text_copy(label, kInputLabelSize, title);
}

// Asks for every "%X"; returns 0 when the command is cancelled.
int value_prompts(void *owner, Work &w, const char *program) {
    LaunchState &st = g_launch;
    int reuse_answer = 0;
    const char *hit;
    w.from = 0;
    while (!w.overflow && (hit = find(w, "%X")) != nullptr) {
        size_t at = (size_t)(hit - w.text);
        size_t token_length = 2;
        text_copy(st.input_default_text, g_settings.input_initial_text);
        st.input_label[0] = 0;
        st.input_label_set = 0;
        if (hit[2] == '=' && hit[3] == '"') {
            const char *close = strchr(hit + 4, '"');
            if (!close) return 0;
            char argument[kPathSize];
            text_copy_n(argument, hit + 4, (size_t)(close - hit - 4));
            if (const char *mark = plat_find_ci(argument, "%_")) {
                text_copy(st.input_label, mark + 2);
                st.input_label_set = 1;
                text_copy_n(st.input_default_text, argument, (size_t)(mark - argument));
                if (!st.input_label[0]) label_from_entry_name(st.input_label);
                if (!st.input_default_text[0])
                    text_copy(st.input_default_text, g_settings.input_initial_text);
            } else {
                text_copy(st.input_default_text, argument);
            }
            token_length = (size_t)(close + 1 - hit);
        }
        if (!st.input_label_set && g_settings.input_title_mode == 1) {
            automatic_label(w.text, at, hit + token_length, st.input_label);
            st.input_label_set = 1;
        } else if (!st.input_label_set && g_settings.input_title_mode == 2) {
            text_copy(st.input_label, g_settings.input_title);
            st.input_label_set = 1;
        }
        if (!reuse_answer) {
            ++st.prompt_counter;
            text_copy(st.input_dialog_program, program);
            int code = run_input_dialog(owner);
            st.input_dialog_open = 0;
            if (code == 0) return 0;
            if (code != 4) reuse_answer = 1;  // confirmed with Ctrl: the answer serves every "%X"
        }
        replace(w, at, token_length, st.input_result);
    }
    return 1;
}

enum PathPart {
    WholePath,
    WholePathNoSlash,
    Folder,
    FolderNoSlash,
    ParentName,
    Name,
    Extension,
    BaseName,
    PathNoExtension
};

struct PathMacro {
    const char *token;
    PathPart part;
};

const PathMacro kPathMacros[] = {
    {"%$P", WholePath},      {"%-$P", WholePathNoSlash}, {"%$D", Folder},
    {"%-$D", FolderNoSlash}, {"%$F", ParentName},        {"%$N", Name},
    {"%$E", Extension},      {"%$A", BaseName},          {"%$B", PathNoExtension},
};

void path_part(const char *path, PathPart part, char *value, size_t size) {
    PathParts p;
    path_split(path, &p);
    switch (part) {
    case WholePath:
        text_copy(value, size, path);
        if (plat_is_directory(path)) plat_add_backslash(value, size);
        break;
    case WholePathNoSlash:
        text_copy(value, size, path);
        break;
    case Folder:
    case FolderNoSlash:
        path_folder(path, value, size);
        if (part == FolderNoSlash) text_remove_final_backslash(value);
        break;
    case ParentName: {
        char parent[kPathSize * 2];
        path_folder(path, parent, sizeof parent);
        text_remove_final_backslash(parent);
        PathParts q;
        path_split(parent, &q);
        text_copy(value, size, q.base);
        break;
    }
    case Name:
        text_format(value, size, "%s%s", p.base, p.ext);
        break;
    case Extension:
        text_copy(value, size, p.ext);
        break;
    case BaseName:
        text_copy(value, size, p.base);
        break;
    case PathNoExtension:
        text_format(value, size, "%s%s%s", p.drive, p.folder, p.base);
        break;
    }
}

// The clipboard macros and the window macro; 0 when the clipboard had nothing.
int clipboard_and_window_macros(void *owner, Work &w) {
    char value[kPathSize * 2];
    for (const PathMacro &m : kPathMacros) {
        w.from = 0;
        for (const char *hit; !w.overflow && (hit = find(w, m.token)) != nullptr;) {
            if (!read_clipboard_input(owner) || g_launch.selected_count == 0) return 0;
            path_part(g_launch.selected_paths[0], m.part, value, sizeof value);
            replace(w, (size_t)(hit - w.text), strlen(m.token), value);
        }
    }
    w.from = 0;
    for (const char *hit; !w.overflow && (hit = find(w, "%$C")) != nullptr;) {
        if (!read_clipboard_input(owner)) return 0;
        replace(w, (size_t)(hit - w.text), 3, g_launch.clipboard_text);
    }
    w.from = 0;
    for (const char *hit; !w.overflow && (hit = find(w, "%$W")) != nullptr;) {
        text_format(value, sizeof value, "%d", (int)g_startup.target_window);
        replace(w, (size_t)(hit - w.text), 3, value);
    }
    return 1;
}

// The working folder macro %Z"folder": every one is removed from the text,
// and the first one's folder (environment variables in it expanded) serves
// the next launch when it exists. Without
// its closing quote the whole command is abandoned, as a value prompt's
// argument would be.
int working_folder_macro(Work &w) {
    char first[kPathSize] = "";
    int seen = 0;
    w.from = 0;
    for (const char *hit; (hit = find(w, "%Z\"")) != nullptr; seen = 1) {
        const char *close = strchr(hit + 3, '"');
        if (!close) return 0;
        if (!seen) text_copy_n(first, hit + 3, (size_t)(close - hit - 3));
        replace(w, (size_t)(hit - w.text), (size_t)(close + 1 - hit), "");
    }
    char folder[kPathSize];
    expand_environment(first, folder, sizeof folder);
    if (folder[0] && plat_is_directory(folder)) {
        text_copy(g_launch.working_folder_override, folder);
        plat_add_backslash(g_launch.working_folder_override,
                           sizeof g_launch.working_folder_override);
    }
    return 1;
}

void note_multi_file_token(const Work &w, const char *program) {
    int mode = MultiFileNone;
    if (plat_find_ci(w.text, "\"%M\"") || plat_find_ci(w.text, "\"%-M\"")) {
        mode = MultiFileQuoted;
    } else if (plat_find_ci(w.text, "%M") || plat_find_ci(w.text, "%-M")) {
        mode = MultiFileUnquoted;
    }
    if (mode != MultiFileNone) text_copy(g_launch.input_dialog_program, program);
    g_launch.multi_file_mode = mode;
}

}  // namespace

void expand_command_macros(void *owner, const char *parameter_template, const char *program,
                           char *out, size_t out_size) {
    static Work w;  // large; one expansion at a time
    g_launch.multi_file_mode = MultiFileNone;
    w.overflow = false;
    // Placeholders and user parameters may make the text longer than the
    // working text holds: expanded at full size, a result that does not fit
    // abandons the launch like any other overflow.
    static char expanded[kPlaceholderTextSize];
    size_t length = expand_if_enabled(parameter_template, expanded, sizeof expanded);
    if (text_copy(w.text, expanded) != length) w.overflow = true;
    g_launch.prompt_counter = 0;
    int ok = !w.overflow && value_prompts(owner, w, program) &&
             clipboard_and_window_macros(owner, w) && working_folder_macro(w) && !w.overflow;
    if (!ok) {
        text_copy(out, out_size, kCancelSentinel);
        return;
    }
    note_multi_file_token(w, program);
    text_copy(out, out_size, w.text);
}

void parse_path_list(const char *text) {
    LaunchState &st = g_launch;
    st.selected_count = 0;
    char piece[kSelectedPathSize];
    size_t length = 0;
    bool quoted = false;
    auto finish = [&]() {
        piece[length] = 0;
        length = 0;
        quoted = false;
        char path[kPlaceholderTextSize];
        expand_if_enabled(piece, path, sizeof path);
        text_unquote(path);
        text_remove_blanks(path);
        if (!plat_is_directory(path) && !plat_exists(path)) return;
        if (plat_is_directory(path)) text_remove_final_backslash(path);
        if (strlen(path) < kPathSize) text_copy(st.selected_paths[st.selected_count++], path);
    };
    for (const char *p = text; *p && st.selected_count < kMaxSelectedPaths; ++p) {
        char c = *p;
        if (c == '\r' || c == '\t') continue;
        if (c == '\n') {
            finish();
        } else if (c == '"' && !quoted) {
            if (length) finish();
            piece[length++] = c;
            quoted = true;
        } else {
            if (length < kSelectedPathSize - 1) piece[length++] = c;
            if (c == '"') finish();  // the closing quote of a quoted piece
        }
    }
    if (length && st.selected_count < kMaxSelectedPaths) finish();
}
