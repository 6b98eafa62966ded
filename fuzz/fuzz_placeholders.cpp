// Fuzz target: placeholder expansion. Input: the text, then up to ten
// "name\0value" user parameters, the first byte choosing the output size.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "definition/placeholders.h"
#include "definition/settings.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    if (size == 0) return 0;
    size_t out_size = 1 + (size_t)data[0] * 16;  // 1 to 4081 bytes
    std::vector<std::string> parts = fuzz_split(data + 1, size - 1, 21);
    for (size_t i = 1; i + 1 < parts.size() && g_settings.param_count < kMaxParams; i += 2) {
        int slot = g_settings.param_count++;
        text_copy(g_settings.param_names[slot], parts[i].c_str());
        text_copy(g_settings.param_values[slot], parts[i + 1].c_str());
    }
    std::vector<char> out(out_size + 1, '\x7f');
    SysTime day = {(uint16_t)(data[0] * 97),
                   (uint16_t)(data[0] % 13),
                   0,
                   (uint16_t)(data[0] % 32),
                   0,
                   0,
                   0,
                   0};
    expand_placeholders_on(parts[0].c_str(), day, out.data(), out_size);
    FUZZ_CHECK(strlen(out.data()) < out_size);
    FUZZ_CHECK(out[out_size] == '\x7f');  // nothing written behind the buffer
    expand_placeholders(parts[0].c_str(), out.data(), out_size);
    FUZZ_CHECK(strlen(out.data()) < out_size);
    return 0;
}
