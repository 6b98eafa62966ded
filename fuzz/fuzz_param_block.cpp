// Fuzz target: the "@param" block reader. The first part of the input (up to
// a NUL) is the delimiter, the rest the text from the "@param" line on.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "definition/directives.h"
#include "definition/settings.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    std::vector<std::string> parts = fuzz_split(data, size, 2);
    if (parts.size() < 2) return 0;
    // "@dlm=" takes delimiters of two bytes or more.
    if (parts[0].size() >= 2) text_copy(g_settings.delimiter, parts[0].c_str());
    const std::string &text = parts[1];
    size_t taken = read_param_block(text.c_str(), 0, text.size());
    FUZZ_CHECK(taken >= 1 && taken <= text.size() + 1);
    FUZZ_CHECK(g_settings.param_count >= 0 && g_settings.param_count <= kMaxParams);
    for (int i = 0; i < g_settings.param_count; ++i) {
        FUZZ_CHECK(fuzz_terminated(g_settings.param_names[i], kParamNameSize));
        FUZZ_CHECK(fuzz_terminated(g_settings.param_values[i], 260));
    }
    return 0;
}
