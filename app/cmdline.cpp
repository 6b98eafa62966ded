// Reads the four command-line options; values end at a space, nothing else.
#include "app/cmdline.h"

#include <cstdint>
#include <cstring>

#include "app/paths.h"
#include "menudef/directives.h"
#include "menudef/platform.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

namespace {

constexpr size_t kValueSize = 260;
constexpr size_t kLongestValue = kValueSize - 2;

// Copies the value behind the option's four-byte prefix. Returns 0 when the
// value is too long (259 bytes without meeting a space or the line's end).
int read_value(const char *option, char *value) {
    memset(value, 0, kValueSize);
    const char *p = option + 4;
    for (size_t n = 0; n <= kLongestValue; ++n) {
        if (p[n] == ' ' || p[n] == 0) return 1;
        value[n] = p[n];
    }
    return 0;
}

void set_default_definition_path() {
    text_format(g_app.definition_path, sizeof g_app.definition_path, "%s%s", g_app.program_folder,
                g_app.default_definition_name);
}

}  // namespace

void parse_command_line(const char *command_line) {
    char value[kValueSize];
    const char *option = plat_find_ci(command_line, "/#s=");
    if (option && read_value(option, value)) {
        // A folder and value too long for the path buffer count as a value
        // that is too long.
        size_t wanted = strlen(g_app.program_folder) + strlen(value);
        if (text_format(g_app.definition_path, sizeof g_app.definition_path, "%s%s",
                        g_app.program_folder, value) != wanted)
            set_default_definition_path();
    } else {
        set_default_definition_path();
    }
    if (!plat_exists(g_app.definition_path)) set_default_definition_path();

    if (plat_find_ci(command_line, "/#n")) g_settings.icon_mode = 0;

    option = plat_find_ci(command_line, "/#m=");
    if (option && read_value(option, value) && value[0]) {
        char with_eol[kValueSize + 2];
        text_format(with_eol, sizeof with_eol, "%s\r\n", value);
        parse_position(with_eol, 0);
    }

    option = plat_find_ci(command_line, "/#w=");
    if (option && read_value(option, value))
        g_app.target_window = (void *)(intptr_t)text_to_int(value);
}
