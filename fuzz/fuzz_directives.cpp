// Fuzz target: one [system] line through the directive dispatch and every
// value parser, with and without a mouse.
#include <cstdint>
#include <cstring>
#include <string>

#include "definition/startup.h"
#include "fuzz/fuzz_support.h"
#include "definition/directives.h"
#include "definition/lines.h"
#include "definition/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    if (size == 0) return 0;
    g_startup.mouse_buttons = data[0] & 1 ? 3 : 0;
    g_settings.placeholders_enabled = (data[0] >> 1) & 1;
    std::string text((const char *)data + 1, size - 1);

    // As the [system] pass hands it over: the line read, blanks kept.
    char line[kLineSize];
    size_t consumed = read_line(text.c_str(), 0, text.size(), line);
    FUZZ_CHECK(consumed >= 1 && consumed <= text.size() + 1);
    FUZZ_CHECK(strlen(line) <= kMaxLineBytes);
    size_t skip = dispatch_directive(line, text.c_str(), 0, text.size());
    FUZZ_CHECK(skip <= text.size() + 1);

    // The value parsers on the line with its line end, as the dispatch calls them.
    char with_eol[kLineWithEolSize];
    snprintf(with_eol, sizeof with_eol, "%s\r\n", line);
    size_t length = strlen(line);
    if (length >= 6) {
        parse_position(with_eol, 6);
        parse_font(with_eol);
        parse_delays(with_eol);
    }
    if (length >= 8) {
        parse_folder_options(with_eol);
        parse_filter(with_eol);
    }
    const LauncherSettings &s = g_settings;
    FUZZ_CHECK(s.filter_count >= 0 && s.filter_count <= kMaxFilters);
    FUZZ_CHECK(s.font_weight >= 0 && s.font_weight <= 1000);
    FUZZ_CHECK(s.first_launch_delay >= 0 && s.first_launch_delay <= 10000);
    FUZZ_CHECK(s.folder_depth >= 0);
    FUZZ_CHECK(fuzz_terminated(s.font_face, sizeof s.font_face));
    FUZZ_CHECK(fuzz_terminated(s.editor_path, sizeof s.editor_path));
    FUZZ_CHECK(fuzz_terminated(s.filer_path, sizeof s.filer_path));
    FUZZ_CHECK(fuzz_terminated(s.search_list, sizeof s.search_list));
    return 0;
}
