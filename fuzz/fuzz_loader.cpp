// Fuzz target: a file's bytes through the loader: encoding, [system] and [launch] passes.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "definition/items.h"
#include "definition/loader.h"
#include "definition/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    std::string text((const char *)data, size);  // the loader wants a NUL behind the text
    load_definition_bytes(text.c_str(), text.size());

    const ItemTable &t = g_items;
    FUZZ_CHECK(t.item_count >= 0 && t.item_count <= kMaxRows);
    for (int row = 0; row < t.item_count; ++row) {
        FUZZ_CHECK(fuzz_terminated(t.target[row], kPathSize));
        FUZZ_CHECK(fuzz_terminated(t.title[row], kPathSize));
        FUZZ_CHECK(t.level[row] >= 0);
        if (t.kind[row] == Variant) FUZZ_CHECK(t.owner[row] >= 0 && t.owner[row] < row);
    }
    const LauncherSettings &s = g_settings;
    FUZZ_CHECK(s.filter_count >= 1 && s.filter_count <= kMaxFilters);
    FUZZ_CHECK(s.param_count >= 0 && s.param_count <= kMaxParams);
    FUZZ_CHECK(fuzz_terminated(s.delimiter, sizeof s.delimiter) && s.delimiter[0]);
    FUZZ_CHECK(fuzz_terminated(s.search_list, sizeof s.search_list));
    FUZZ_CHECK(fuzz_terminated(s.font_face, sizeof s.font_face));
    return 0;
}
