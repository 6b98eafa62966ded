// Reads the four command-line options; values end at a space, nothing else.
#include "definition/cmdline.h"

#include <cstdint>
#include <cstring>

#include "core/platform.h"
#include "definition/directives.h"
#include "definition/settings.h"
#include "definition/startup.h"

namespace {

constexpr size_t kLongestValue = kPathSize - 2;

// Copies the value behind the option's four-byte prefix. Returns 0 when the
// value is too long (259 bytes without meeting a space or the line's end).
int read_value(const char *option, char *value) {
    memset(value, 0, kPathSize);
    const char *p = option + 4;
    for (size_t n = 0; n <= kLongestValue; ++n) {
        if (p[n] == ' ' || p[n] == 0) return 1;
        value[n] = p[n];
    }
    return 0;
}

}  // namespace

void parse_command_line(const char *command_line) {
    char value[kPathSize];
    const char *option = plat_find_ci(command_line, "/#s=");
    // A folder and value too long for the path buffer count as a value that
    // is too long.
    if (!option || !read_value(option, value) || !startup_use_definition_name(value))
        startup_use_default_definition();
    if (!plat_exists(g_startup.definition_path)) startup_use_default_definition();

    if (plat_find_ci(command_line, "/#n")) g_settings.icon_mode = 0;

    option = plat_find_ci(command_line, "/#m=");
    if (option && read_value(option, value) && value[0]) {
        char with_eol[kPathSize + 2];
        text_format(with_eol, sizeof with_eol, "%s\r\n", value);
        parse_position(with_eol, 0);
    }

    option = plat_find_ci(command_line, "/#w=");
    if (option && read_value(option, value)) g_startup.target_window = text_to_int(value);
}
