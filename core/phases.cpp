// Start-up timing: the marks and sums of one run, and their line of text.
#include "core/phases.h"

#include "core/text.h"

PhaseTimes *g_phases;

namespace {

PhaseTimes g_times;

const char *const kMarkNames[kPhaseMarks] = {"main",          "window",       "definition",
                                             "icons_checked", "icons_loaded", "menu_built"};
const char *const kSumNames[kPhaseSums] = {"resolution", "listings", "placeholders", "libraries"};

}  // namespace

void timing_begin() {
    g_times = PhaseTimes{};
    for (double &mark : g_times.mark) mark = -1;  // not reached
    g_phases = &g_times;
}

size_t timing_format(char *out, size_t out_size) {
    out[0] = 0;
    if (!g_phases) return 0;
    char pair[64];
    for (int i = 0; i < kPhaseMarks; ++i) {
        if (g_phases->mark[i] < 0) continue;
        text_format(pair, sizeof pair, "%s=%.2f ", kMarkNames[i], g_phases->mark[i]);
        text_append(out, out_size, pair);
    }
    for (int i = 0; i < kPhaseSums; ++i) {
        text_format(pair, sizeof pair, "%s+%.2f ", kSumNames[i], g_phases->sum[i]);
        text_append(out, out_size, pair);
    }
    size_t length = strlen(out);
    if (length) out[length - 1] = 0;  // no blank before the line end
    return text_append(out, out_size, "\r\n");
}
