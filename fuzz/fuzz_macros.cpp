// Fuzz target: command macro expansion with a scripted input dialog and
// clipboard. Input: a flag byte, then NUL-separated parts: the parameter
// template, the clipboard text, the typed answer and the dialog end codes.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"
#include "launch/macros.h"
#include "definition/settings.h"
#include "core/text.h"

namespace {

std::string g_clipboard, g_answer, g_codes;
size_t g_next_code;
bool g_clipboard_files;

int scripted_dialog(void *) {
    const LaunchState &st = g_launch;
    FUZZ_CHECK(fuzz_terminated(st.input_default_text, sizeof st.input_default_text));
    FUZZ_CHECK(fuzz_terminated(st.input_label, sizeof st.input_label));
    text_copy(g_launch.input_result, g_answer.c_str());
    if (g_next_code >= g_codes.size()) return 4;
    static const int kCodes[] = {0, 1, 4, 4};
    return kCodes[(unsigned char)g_codes[g_next_code++] % 4];
}

// A file list as the shell copies it (paths shorter than 260 bytes) or text.
int scripted_clipboard(void *) {
    if (g_clipboard.empty()) return 0;
    LaunchState &st = g_launch;
    if (g_clipboard_files) {
        st.selected_count = 0;
        size_t start = 0;
        while (start <= g_clipboard.size() && st.selected_count < kMaxSelectedPaths) {
            size_t end = g_clipboard.find('\n', start);
            if (end == std::string::npos) end = g_clipboard.size();
            std::string path = g_clipboard.substr(start, end - start);
            if (path.size() < 260) text_copy(st.selected_paths[st.selected_count++], path.c_str());
            start = end + 1;
        }
        return 1;
    }
    if (g_clipboard.size() < 260) {
        text_copy(st.clipboard_text, g_clipboard.c_str());
    } else {
        st.clipboard_text[0] = 0;
    }
    parse_path_list(g_clipboard.c_str());
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    if (size == 0) return 0;
    g_settings.placeholders_enabled = data[0] & 1;
    g_settings.input_title_mode = (data[0] >> 1) % 3;
    g_clipboard_files = (data[0] >> 3) & 1;
    text_copy(g_settings.input_initial_text, "init");
    text_copy(g_settings.input_title, "Title");
    text_copy(g_launch.chosen_entry_name, "&Edit && go");
    if (g_settings.placeholders_enabled) {
        g_settings.param_count = 1;
        text_copy(g_settings.param_names[0], "ASK");
        text_copy(g_settings.param_values[0], "%X=\"a%_b\"");
    }
    std::vector<std::string> parts = fuzz_split(data + 1, size - 1, 4);
    parts.resize(4);
    g_clipboard = parts[1];
    g_answer = parts[2];
    g_codes = parts[3];
    g_next_code = 0;
    run_input_dialog = scripted_dialog;
    read_clipboard_input = scripted_clipboard;

    char out[kParameterTextSize + 1];
    out[kParameterTextSize] = '\x7f';
    expand_command_macros(nullptr, parts[0].c_str(), "C:\\Tavrik\\ed.exe", out, kParameterTextSize);
    FUZZ_CHECK(out[kParameterTextSize] == '\x7f');
    FUZZ_CHECK(strlen(out) < kParameterTextSize);
    FUZZ_CHECK(fuzz_terminated(g_launch.working_folder_override, 260));
    FUZZ_CHECK(g_launch.selected_count >= 0 && g_launch.selected_count <= kMaxSelectedPaths);
    return 0;
}
