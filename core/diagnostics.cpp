// The diagnostics sink: line numbers for the loader's findings.
#include "core/diagnostics.h"

#include "core/text.h"

DiagSink *g_diag_sink = nullptr;

DiagSink *diag_set_sink(DiagSink *sink) {
    DiagSink *previous = g_diag_sink;
    g_diag_sink = sink;
    return previous;
}

namespace {

// The text being loaded and the line number of the last offset asked for, so
// that walking the lines in order counts each byte once.
struct LineCounter {
    const char *text = nullptr;
    size_t length = 0;
    size_t offset = 0;
    int line = 1;
    int current = 0;  // line of the last diag_line call
};

LineCounter g_counter;

int line_of(size_t offset) {
    LineCounter &c = g_counter;
    if (!c.text) return 0;
    if (offset > c.length) offset = c.length;
    if (offset < c.offset) {
        c.offset = 0;
        c.line = 1;
    }
    for (; c.offset < offset; ++c.offset)
        if (c.text[c.offset] == '\n') ++c.line;
    return c.line;
}

void send(DiagKind kind, int line, long number, const char *text, long number2 = 0,
          const char *text2 = "", long number3 = 0) {
    DiagEvent event = {kind, line, number, number2, number3, text ? text : "", text2 ? text2 : ""};
    g_diag_sink->report(g_diag_sink->context, event);
}

}  // namespace

void diag_begin_slow(const char *text, size_t length) {
    g_counter = LineCounter();
    g_counter.text = text;
    g_counter.length = length;
}

void diag_line_slow(size_t offset) { g_counter.current = line_of(offset); }

void diag_report_slow(DiagKind kind, long number, const char *text, long number2,
                      const char *text2) {
    send(kind, g_counter.current, number, text, number2, text2);
}

void diag_report_at_slow(size_t offset, DiagKind kind, long number, const char *text) {
    send(kind, line_of(offset), number, text);
}

void diag_report_line_slow(int line, DiagKind kind, long number, long number2) {
    send(kind, line, number, "", number2);
}

void diag_cut_slow(DiagField field, size_t kept, size_t length) {
    send(DiagFieldCut, g_counter.current, field, "", (long)kept, "", (long)length);
}

void diag_cut_text_slow(DiagField field, size_t kept, const char *text, size_t max_length) {
    size_t length = text_length(text, max_length);
    if (kept < length) diag_cut_slow(field, kept, length);
}
