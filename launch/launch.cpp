// Launches a program with its working folder, and fills in collected files.
#include "launch/launch.h"

#include <cstdlib>
#include <cstring>

#include "core/pathparts.h"
#include "core/platform.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"

namespace {

// A growing text for the multi-file parameters, which has no fixed bound.
struct GrowingText {
    char *data = nullptr;
    size_t length = 0;
    bool failed = false;

    void append(const char *text, size_t n) {
        if (failed) return;
        char *grown = (char *)realloc(data, length + n + 1);
        if (!grown) {
            failed = true;
            return;
        }
        data = grown;
        memcpy(data + length, text, n);
        length += n;
        data[length] = 0;
    }
    void append(const char *text) { append(text, strlen(text)); }
};

struct Token {
    const char *text;
    int strips_backslash;
};

// The multi-file token to replace: the quoted forms in quoted mode, else the
// plain ones; the form without the minus first.
const char *find_token(const char *parameters, int quoted, size_t *length, int *strip) {
    static const Token quoted_forms[] = {{"\"%M\"", 0}, {"\"%-M\"", 1}};
    static const Token plain_forms[] = {{"%M", 0}, {"%-M", 1}};
    for (const Token &token : quoted ? quoted_forms : plain_forms) {
        if (const char *at = plat_find_ci(parameters, token.text)) {
            *length = strlen(token.text);
            *strip = token.strips_backslash;
            return at;
        }
    }
    return nullptr;
}

}  // namespace

void launch_with_selected_paths(const char *parameters, const char *program,
                                const char *working_folder) {
    LaunchState &st = g_launch;
    int quoted = st.multi_file_mode == MultiFileQuoted;
    size_t token_length = 0;
    int strip = 0;
    const char *token = find_token(parameters, quoted, &token_length, &strip);
    if (!token || st.selected_count <= 0) return;

    GrowingText text;
    text.append(parameters, (size_t)(token - parameters));
    for (int i = 0; i < st.selected_count && i < kMaxSelectedPaths; ++i) {
        char *path = st.selected_paths[i];
        text_unquote(path);
        if (plat_is_directory(path)) {
            plat_add_backslash(path, kSelectedPathSize);
            if (strip) text_remove_final_backslash(path);
        }
        if (quoted) text.append("\"");
        text.append(path);
        if (quoted) text.append("\"");
        text.append(" ");
    }
    text.length -= text.failed ? 0 : 1;  // the suffix takes the last space's place
    if (!text.failed) text.data[text.length] = 0;
    text.append(token + token_length);
    if (!text.failed) shell_open(program, text.data, working_folder);
    free(text.data);
}

void launch_program(const char *program, const char *parameters, int with_parameters) {
    LaunchState &st = g_launch;
    // A URL or shell location goes to the shell as it is, with no folder of
    // its own to work in.
    int location = path_is_shell_location(program);
    if (!location && !plat_exists(program)) {
        shell_open(parameters, nullptr, nullptr);
    } else {
        char folder_text[kPathSize] = "";
        if (plat_is_directory(st.working_folder_override)) {
            text_copy(folder_text, st.working_folder_override);
        } else if (!location) {
            path_folder(program, folder_text, sizeof folder_text);
        }
        text_remove_final_backslash(folder_text);  // a drive root gives "C:"
        const char *folder = folder_text[0] || !location ? folder_text : nullptr;

        if (!with_parameters) {
            shell_open(program, nullptr, folder);
        } else if (st.multi_file_mode == MultiFileNone) {
            shell_open(program, parameters, folder);
        } else {
            st.prompt_counter = 0;
            st.selected_count = 0;
            int confirmed = run_input_dialog(st.owner);
            st.input_dialog_open = 0;
            if (confirmed && st.selected_count > 0)
                launch_with_selected_paths(parameters, program, folder);
            st.multi_file_mode = MultiFileNone;
            st.selected_count = 0;
        }
    }
    st.working_folder_override[0] = 0;
}
