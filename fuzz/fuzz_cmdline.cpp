// Fuzz target: the command-line option reader.
#include <cstdint>
#include <string>

#include "definition/cmdline.h"
#include "definition/startup.h"
#include "fuzz/fuzz_support.h"
#include "definition/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    std::string line((const char *)data, size);
    parse_command_line(line.c_str());
    FUZZ_CHECK(fuzz_terminated(g_startup.definition_path, sizeof g_startup.definition_path));
    FUZZ_CHECK(g_settings.menu_position == kUnset || (g_settings.menu_position >= PositionActive &&
                                                      g_settings.menu_position <= PositionCenter));
    return 0;
}
