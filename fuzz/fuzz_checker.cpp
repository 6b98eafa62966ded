// Fuzz target: the definition checker's loader run, with the diagnostics sink on.
#include <cstdint>
#include <string>

#include "check/collector.h"
#include "fuzz/fuzz_support.h"
#include "definition/items.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    std::string text((const char *)data, size);
    static CheckResult result;  // large: row lines for every row
    result = CheckResult();
    check_definition_text(text.c_str(), text.size(), &result);

    // Every finding and every row names a line of the file (or the line after
    // the last, for a missing line end or a section that never ends).
    int lines = 1;
    for (char c : text) lines += c == '\n';
    int previous = 0;
    for (const CheckFinding &finding : result.findings) {
        FUZZ_CHECK(finding.line >= 0 && finding.line <= lines + 1);
        FUZZ_CHECK(finding.line >= previous);  // sorted by line
        previous = finding.line;
    }
    FUZZ_CHECK(g_items.item_count >= 0 && g_items.item_count <= kMaxRows);
    for (int row = 0; row < g_items.item_count; ++row)
        FUZZ_CHECK(result.row_line[row] >= 1 && result.row_line[row] <= lines);
    return 0;
}
