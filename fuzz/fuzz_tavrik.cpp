// One fuzz target for every entry point of the portable code: the input's
// first byte chooses the entry point, the rest is its input. Each run checks
// what every later stage relies on, whatever the input said.
#undef NDEBUG  // the checks hold in every build
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "check/collector.h"
#include "core/text.h"
#include "definition/cmdline.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "launch/input_dialog.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "launch/macros.h"
#include "tests/unit/test_support.h"

namespace {

// The input cut at NUL bytes into at most count parts (the last keeps the rest).
std::vector<std::string> parts_of(const std::string &input, size_t count) {
    std::vector<std::string> parts(1);
    for (char c : input) c || parts.size() >= count ? parts.back() += c : parts.emplace_back();
    parts.resize(count);
    return parts;
}

// A definition read by the checker (the loader with the diagnostics sink on).
void definition(const std::string &text) {
    static CheckResult result;  // large: a line for every row
    check_definition_text(text.c_str(), text.size(), &result);
    int lines = 1, previous = 0;
    for (char c : text) lines += c == '\n';
    for (const CheckFinding &f : result.findings) {
        assert(f.line >= previous && f.line <= lines + 1);  // sorted, inside the text
        previous = f.line;
    }
    // What the builder indexes with: a count inside the table, levels that
    // follow the submenu markers, owners before their variants.
    const ItemTable &t = g_items;
    assert(t.item_count >= 0 && t.item_count <= kMaxRows);
    for (int i = 0, level = 0; i < t.item_count; ++i) {
        assert(t.level[i] == level && (t.kind[i] != SubmenuEnd || level >= 1));
        assert(result.row_line[i] >= 1);
        level += (t.kind[i] == SubmenuBegin) - (t.kind[i] == SubmenuEnd);
        if (t.kind[i] == Variant || t.kind[i] == SoleVariant)
            assert(t.owner[i] >= 0 && t.owner[i] < i && t.kind[t.owner[i]] == Entry);
    }
    const LauncherSettings &s = g_settings;  // counts and choices later stages index with
    assert(s.delimiter[0] && s.filter_count >= 1 && s.filter_count <= kMaxFilters &&
           s.param_count >= 0 && s.param_count <= kMaxParams && s.icon_mode >= 0 &&
           s.icon_mode <= 2 && s.menu_position >= 0 && s.menu_position <= 4);
}

std::string g_answer, g_codes, g_clipboard;
size_t g_next_code;
int g_opens;

// Command macros with a scripted user at the dialog and a scripted clipboard,
// then the launch: the template, the clipboard text (also the files a
// collection gets dropped), the typed answer, the dialog's end codes, then
// user parameters (name and value) for the placeholders.
void macros(unsigned char flags, const std::string &input) {
    std::vector<std::string> parts = parts_of(input, 24);
    for (size_t i = 4; i + 1 < parts.size() && g_settings.param_count < kMaxParams; i += 2) {
        text_copy(g_settings.param_names[g_settings.param_count], parts[i].c_str());
        text_copy(g_settings.param_values[g_settings.param_count++], parts[i + 1].c_str());
    }
    g_clipboard = parts[1], g_answer = parts[2], g_codes = parts[3], g_next_code = 0, g_opens = 0;
    g_settings.placeholders_enabled = flags & 1;
    g_settings.input_title_mode = (flags >> 1) % 3;
    text_copy(g_launch.chosen_entry_name, "&Edit && go");
    run_input_dialog = [](void *) {
        text_copy(g_launch.input_result, g_answer.c_str());
        if (g_launch.multi_file_mode && !g_launch.prompt_counter)
            parse_path_list(g_clipboard.c_str());
        const int codes[] = {0, 1, 4, 4};
        return g_next_code < g_codes.size() ? codes[(unsigned char)g_codes[g_next_code++] % 4] : 4;
    };
    read_clipboard_input = [](void *) {
        if (g_clipboard.empty()) return 0;
        text_copy(g_launch.clipboard_text,
                  g_clipboard.size() < kPathSize ? g_clipboard.c_str() : "");
        parse_path_list(g_clipboard.c_str());
        return 1;
    };
    shell_open = [](const char *file, const char *parameters, const char *folder) {
        assert(file && parameters && folder);
        ++g_opens;
    };
    char out[kParameterTextSize + 1];
    out[kParameterTextSize] = '\x7f';
    expand_command_macros(nullptr, parts[0].c_str(), "C:\\Tavrik\\ed.exe", out, kParameterTextSize);
    assert(out[kParameterTextSize] == '\x7f' && strlen(out) < kParameterTextSize);
    assert(g_launch.selected_count >= 0 && g_launch.selected_count <= kMaxSelectedPaths);
    if (strcmp(out, kCancelSentinel)) launch_program("C:\\Tavrik\\ed.exe", out, 1);
    assert(g_opens <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool prepared = false;
    if (!prepared) {  // C:\Tavrik\ with programs, a folder to list and a search-list file
        prepared = true;
        for (const char *file : {"ed.exe", "Tool Two.exe", "list\\a.exe", "list\\b.lnk",
                                 "list\\note.txt", "list\\sub\\c.exe"})
            write_file(std::string("C:\\Tavrik\\") + file, "MZ");
        write_file("C:\\Tavrik\\paths.txt", "PATH=C:\\Tavrik\\list;C:\\windows\r\n");
        set_current_folder("C:\\Tavrik\\");
        setenv("PATHEXT", ".COM;.EXE;.BAT", 1);  // the late resolution steps, at little cost
    }
    if (size < 2) return 0;
    reset_launcher_state("C:\\Tavrik\\");
    const std::string input((const char *)data + 2, size - 2);
    switch (data[0] % 3) {
    case 0:
        return definition(input), 0;
    case 1:
        return macros(data[1], input), 0;
    default:
        parse_command_line(input.c_str());
        return 0;
    }
}
