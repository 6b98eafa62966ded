// Fuzz target: clipboard text cut into the selected path list.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "launch/launch_state.h"
#include "launch/macros.h"
#include "definition/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    if (size == 0) return 0;
    g_settings.placeholders_enabled = data[0] & 1;
    std::string text((const char *)data + 1, size - 1);
    parse_path_list(text.c_str());
    FUZZ_CHECK(g_launch.selected_count >= 0 && g_launch.selected_count <= kMaxSelectedPaths);
    for (int i = 0; i < g_launch.selected_count; ++i)
        FUZZ_CHECK(fuzz_terminated(g_launch.selected_paths[i], 260));
    return 0;
}
