// Finds the files that entries name, and reads search-list files.
#include "definition/resolve.h"

#include <cstring>

#include "core/diagnostics.h"
#include "core/platform.h"
#include "core/text.h"
#include "definition/settings.h"

static int found_full_path(const char *name, char *out) {
    if (!plat_full_path(name, out, kPathSize)) text_copy(out, kPathSize, name);
    return 1;
}

// Tells the diagnostics about one step of resolve_program; returns found.
static int tried(DiagResolveStep step, const char *name, int found) {
    diag_report(DiagResolveTry, step, name, found,
                step == ResolveSearchList ? g_settings.search_list : "");
    return found;
}

int resolve_program(const char *target, int try_exe, char *out) {
    char with_exe[kPathSize];
    const char *list = g_settings.search_list;
    diag_report(DiagResolveStart, 0, target);
    // A name that does not fit with ".exe" behind it cannot name a file.
    int have_exe =
        try_exe && text_format(with_exe, sizeof with_exe, "%s.exe", target) == strlen(target) + 4;
    // A target made of blanks only names nothing; the file system would
    // take it for the current folder.
    if (!text_is_blank(target)) {
        if (tried(ResolveAsNamed, target, plat_exists(target))) return found_full_path(target, out);
        if (have_exe && tried(ResolveAsNamed, with_exe, plat_exists(with_exe)))
            return found_full_path(with_exe, out);
        if (g_settings.search_list_set) {
            if (tried(ResolveSearchList, target, plat_search_path(list, target, out, kPathSize)))
                return 1;
            if (have_exe && tried(ResolveSearchList, with_exe,
                                  plat_search_path(list, with_exe, out, kPathSize)))
                return 1;
        }
        if (tried(ResolveSystemSearch, target, plat_search_path(nullptr, target, out, kPathSize)))
            return 1;
        if (have_exe && tried(ResolveSystemSearch, with_exe,
                              plat_search_path(nullptr, with_exe, out, kPathSize)))
            return 1;
    }
    text_copy(out, kPathSize, target);
    return 0;
}

void read_search_list_file(const char *path) {
    g_settings.search_list_set = 0;
    char *data;
    size_t size;
    if (!plat_read_file(path, 0, &data, &size, nullptr)) {
        diag_report(DiagSearchListUnread, 0, path);
        return;
    }
    char *list = g_settings.search_list;
    size_t kept = 0;
    list[0] = 0;
    // After "path=" only the rest of that line counts; without it, the whole
    // file with its line ends taken out. Both leave TAB bytes out, and a CR
    // ends the "path=" line as an LF does, so CR LF files work.
    const char *from = plat_find_ci(data, "path=");
    const char *p = from ? from + 5 : data;
    const char *end = data + size;
    size_t given = 0;  // counted beyond what fits only for the diagnostics
    for (; p < end && (kept < kSearchListSize - 1 || g_diag_sink); ++p) {
        char c = *p;
        if (from && (c == '\n' || c == '\r' || c == 0)) break;
        if (c == '\t' || c == '\r' || c == '\n') continue;
        if (kept < kSearchListSize - 1) list[kept++] = c;
        ++given;
    }
    list[kept] = 0;
    diag_cut_length(FieldSearchList, kept, given);
    if (kept > 0) g_settings.search_list_set = 1;
    plat_free_file(data);
}
