// The checker's diagnostics sink: findings, row lines and setting lines.
#include "check/collector.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "core/encoding.h"
#include "core/pathparts.h"
#include "core/platform.h"
#include "definition/loader.h"

namespace {

// The fields behind each setting of the report. Texts compare up to their
// NUL: bytes behind it may be left from an earlier, longer value.
struct SettingField {
    CheckSetting setting;
    size_t offset, size;
    size_t text_size;  // 0: compare all bytes; else an array of texts of this size
};

// One entry per field of the settings list, in the group it names.
#define FIELD(name, group, text_size) \
    {Setting##group, offsetof(LauncherSettings, name), sizeof(LauncherSettings::name), text_size},
#define CHOSEN(name, group) FIELD(name, group, 0)
#define NUMBER(name, initial, group) FIELD(name, group, 0)
#define TEXT(name, size, initial, group) FIELD(name, group, size)
#define TEXTS(name, count, size, group) FIELD(name, group, size)
const SettingField kSettingFields[] = {TAVRIK_SETTINGS(CHOSEN, NUMBER, TEXT, TEXTS)};
#undef FIELD
#undef CHOSEN
#undef NUMBER
#undef TEXT
#undef TEXTS

int field_differs(const LauncherSettings &a, const LauncherSettings &b, const SettingField &f) {
    const char *x = (const char *)&a + f.offset;
    const char *y = (const char *)&b + f.offset;
    if (!f.text_size) return memcmp(x, y, f.size) != 0;
    for (size_t at = 0; at + f.text_size <= f.size; at += f.text_size)
        if (strncmp(x + at, y + at, f.text_size) != 0) return 1;
    return 0;
}

int range_differs(const LauncherSettings &a, const LauncherSettings &b, CheckSetting setting) {
    for (const SettingField &f : kSettingFields)
        if (f.setting == setting && field_differs(a, b, f)) return 1;
    return 0;
}

struct Collector {
    CheckResult *result;
    std::vector<CheckAttempt> attempts;  // of the resolution under way
    int in_system;
    int last_line;
    LauncherSettings before;  // the settings when the last [system] line was read
};

// Settings changed since the last [system] line was read belong to that line.
void note_setting_changes(Collector &c) {
    for (int i = 0; i < kCheckSettingCount; ++i)
        if (range_differs(c.before, g_settings, (CheckSetting)i))
            c.result->setting_line[i] = c.last_line;
    c.before = g_settings;
}

void collect(void *context, const DiagEvent &event) {
    Collector &c = *(Collector *)context;
    switch (event.kind) {
    case DiagSectionStart:
        c.in_system = event.number == 0;
        c.before = g_settings;
        c.last_line = event.line;
        return;
    case DiagLineRead:
        if (c.in_system) note_setting_changes(c);
        c.last_line = event.line;
        return;
    case DiagSectionEnd:
        if (c.in_system) note_setting_changes(c);
        c.in_system = 0;
        return;
    case DiagRowAdded:
        if (event.number >= 0 && event.number < kMaxRows)
            c.result->row_line[event.number] = event.line;
        return;
    case DiagResolveStart:
        c.attempts.clear();
        return;
    case DiagResolveTry:
        if (!event.number2) c.attempts.push_back({(DiagResolveStep)event.number, event.text});
        return;
    case DiagEncoding:
        c.result->encoding = (int)event.number;
        return;
    default:
        break;
    }
    CheckFinding f = {event.kind,    event.line, event.number, event.number2,
                      event.number3, event.text, event.text2,  {}};
    if (event.kind == DiagEntryNotFound || event.kind == DiagProgramNotFound)
        f.attempts = c.attempts;
    c.result->findings.push_back(f);
}

int line_has(const std::vector<CheckFinding> &all, int line, DiagKind kind) {
    for (const CheckFinding &f : all)
        if (f.line == line && f.kind == kind) return 1;
    return 0;
}

// Some findings only repeat what another one says; those are dropped here.
int is_covered(const std::vector<CheckFinding> &all, const CheckFinding &f) {
    if (f.kind == DiagEntryNotFound &&
        (line_has(all, f.line, DiagMarkerAsEntry) || line_has(all, f.line, DiagUnmatchedClose)))
        return 1;
    // Past a section that runs on over the other header, the other section's
    // lines fail as directives or as entries; the run-on finding says why.
    for (const CheckFinding &run : all) {
        if (run.kind != DiagSectionRunsOn || f.line < run.line) continue;
        if (run.number == 0 && f.kind == DiagDirectiveUnknown) return 1;
        if (run.number == 1 && f.kind == DiagEntryNotFound) return 1;
    }
    return 0;
}

bool same_finding(const CheckFinding &a, const CheckFinding &b) {
    return a.kind == b.kind && a.line == b.line && a.number == b.number && a.number2 == b.number2 &&
           a.text == b.text;
}

// The "{" rows that no "}" closes, as findings at their own lines.
void add_unclosed_submenus(CheckResult &r, std::vector<CheckFinding> &out) {
    std::vector<int> open;
    for (int row = 0; row < g_items.item_count; ++row) {
        if (g_items.kind[row] == SubmenuBegin) open.push_back(row);
        if (g_items.kind[row] == SubmenuEnd && !open.empty()) open.pop_back();
    }
    for (int row : open) {
        if (g_items.target[row][0]) continue;  // a folder listing always closes
        out.push_back({DiagUnclosedSubmenu, r.row_line[row], 0, 0, 0, g_items.title[row], "", {}});
    }
}

void finish(CheckResult &r) {
    std::vector<CheckFinding> kept;
    int table_full = -1;
    for (const CheckFinding &f : r.findings) {
        if (f.kind == DiagUnclosedSubmenu || is_covered(r.findings, f)) continue;
        if (f.kind == DiagTableFull) {
            // One finding at the first ignored line, counting all of them.
            if (table_full < 0) {
                table_full = (int)kept.size();
                kept.push_back(f);
            }
            ++kept[table_full].number;
            continue;
        }
        bool repeated = false;
        for (const CheckFinding &k : kept) repeated = repeated || same_finding(k, f);
        if (!repeated) kept.push_back(f);
    }
    add_unclosed_submenus(r, kept);
    std::stable_sort(kept.begin(), kept.end(),
                     [](const CheckFinding &a, const CheckFinding &b) { return a.line < b.line; });
    r.findings = kept;
}

}  // namespace

void check_definition_text(const char *text, size_t length, CheckResult *result) {
    result->findings.clear();
    memset(result->row_line, 0, sizeof result->row_line);
    memset(result->setting_line, 0, sizeof result->setting_line);
    // The defaults are whatever an empty definition leaves.
    settings_at_start();
    load_definition_text("", 0);
    result->defaults = g_settings;

    static Collector collector;  // large; one load at a time
    collector.result = result;
    collector.attempts.clear();
    collector.in_system = 0;
    collector.last_line = 0;
    DiagSink sink = {collect, &collector};
    settings_at_start();
    DiagSink *previous = diag_set_sink(&sink);
    result->encoding = EncodingAnsi;
    load_definition_bytes(text, length);
    diag_set_sink(previous);
    finish(*result);
}

namespace {

// 1 when the file at path, in any encoding, has a line that begins with a
// section header, as a definition does; the help file's examples are
// indented, so it does not count.
int holds_definition(const std::string &path) {
    char *data;
    size_t size;
    if (!plat_read_file(path.c_str(), 0, &data, &size, nullptr)) return 0;
    TextEncoding encoding = detect_encoding(data, size);
    char *converted =
        encoding == EncodingAnsi ? nullptr : convert_to_ansi(data, size, encoding, &size);
    const char *text = converted ? converted : data;
    int holds = 0;
    for (const char *line = text; line && !holds;) {
        holds = plat_starts_ci(line, "[launch]", 8) || plat_starts_ci(line, "[system]", 8);
        line = strchr(line, '\n');
        if (line) ++line;
    }
    free(converted);
    plat_free_file(data);
    return holds;
}

// Names a definition gets when a program adds an extension the user does
// not see: "Tavrik.ini.txt", "Tavrik.ini.ini", or "Tavrik.txt" when the
// name was typed without one.
void add_hidden_extensions(const char *path, CheckResult &r) {
    PathParts parts;
    path_split(path, &parts);
    std::string folder = std::string(parts.drive) + parts.folder;
    std::string name = std::string(parts.base) + parts.ext;
    size_t at = 0;  // before the findings of lines, in this order
    for (std::string other : {name + ".txt", name + ".ini", std::string(parts.base) + ".txt"}) {
        if (!holds_definition(folder + other)) continue;
        r.findings.insert(r.findings.begin() + (long)at++,
                          {DiagHiddenExtension, 0, 0, 0, 0, other, name, {}});
    }
}

}  // namespace

int check_definition_file(const char *path, CheckResult *result) {
    char *data;
    size_t size;
    int readable = plat_read_file(path, 0, &data, &size, nullptr);
    if (readable) {
        check_definition_text(data, size, result);
        plat_free_file(data);
    } else {
        result->findings.clear();
    }
    bool empty = false;
    for (const CheckFinding &f : result->findings) empty = empty || f.kind == DiagEmptyDefinition;
    if (!readable || empty) add_hidden_extensions(path, *result);
    return readable;
}

int check_setting_differs(const CheckResult &result, CheckSetting setting) {
    return range_differs(result.defaults, g_settings, setting);
}
