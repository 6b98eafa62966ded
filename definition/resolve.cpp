// Finds the files that entries name, and reads search-list files.
#include "definition/resolve.h"

#include <cstring>

#include "core/diagnostics.h"
#include "core/phases.h"
#include "core/platform.h"
#include "core/text.h"
#include "definition/search_cache.h"
#include "definition/settings.h"

namespace {

// Extensions that the shell tries when a name has none, when the
// environment gives no PATHEXT.
constexpr char kDefaultPathExt[] = ".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";
constexpr int kMaxForms = 16;
// A target as written may be a whole line long; a form that does not fit
// a path never names a file, but is still looked up as today.
constexpr size_t kFormSize = 544;

// The forms of one name tried at each place, in order.
struct Forms {
    char name[kMaxForms][kFormSize];
    int count = 0;

    // Adds target with suffix behind it, unless it does not fit: then it
    // cannot name a file.
    void add(const char *target, const char *suffix, size_t suffix_length) {
        if (count == kMaxForms) return;
        char *form = name[count];
        if (text_copy(form, kFormSize, target) != strlen(target)) return;
        size_t length = strlen(form);
        if (text_append_n(form, kFormSize, suffix, suffix_length) != length + suffix_length ||
            (suffix_length && length + suffix_length >= kPathSize))
            return;
        for (char *p = form + length; *p; ++p)
            if (*p >= 'A' && *p <= 'Z') *p = (char)(*p + 32);  // ".COM" as ".com"
        ++count;
    }
};

int found_full_path(const char *name, char *out) {
    if (!plat_full_path(name, out, kPathSize)) text_copy(out, kPathSize, name);
    return 1;
}

// Tells the diagnostics about one step of resolve_program; returns found.
int tried(DiagResolveStep step, const char *name, int found) {
    diag_report(DiagResolveTry, step, name, found,
                step == ResolveSearchList ? g_settings.search_list : "");
    return found;
}

// One name at one place; 1 with its full path in out. The folder listings
// answer what they can; the file system the rest.
int look_up(DiagResolveStep place, const char *name, char *out) {
    if (place == ResolveAsNamed) {
        int found = search_cache_exists(name);
        if (found < 0) found = plat_exists(name);
        return tried(place, name, found) && found_full_path(name, out);
    }
    const char *folders = place == ResolveSearchList ? g_settings.search_list : nullptr;
    int found = search_cache_search(folders, name, out, kPathSize);
    if (found < 0) found = plat_search_path(folders, name, out, kPathSize);
    return tried(place, name, found);
}

// Each form at each place: as named (relative names from the current
// folder), in the search list when there is one, in the system search order.
int look_up_forms(const Forms &forms, char *out) {
    static const DiagResolveStep kPlaces[] = {ResolveAsNamed, ResolveSearchList,
                                              ResolveSystemSearch};
    for (DiagResolveStep place : kPlaces) {
        if (place == ResolveSearchList && !g_settings.search_list_set) continue;
        for (int i = 0; i < forms.count; ++i)
            if (look_up(place, forms.name[i], out)) return 1;
    }
    return 0;
}

int ends_with_exe(const char *name) {
    size_t length = strlen(name);
    return length >= 4 && plat_starts_ci(name + length - 4, ".exe", 4);
}

// The App Paths registration of a bare name (with ".exe" unless it has it),
// the current user's before the machine's; its value must name a file.
int look_up_app_paths(const char *target, char *out) {
    if (strpbrk(target, "\\/:")) return 0;
    char key[kPathSize];
    if (text_format(key, sizeof key, "%s%s", target, ends_with_exe(target) ? "" : ".exe") !=
        strlen(target) + (ends_with_exe(target) ? 0 : 4))
        return 0;
    char value[kPathSize];
    for (int machine = 0; machine < 2; ++machine) {
        if (!plat_app_path(machine, key, value, sizeof value)) continue;
        text_unquote(value);
        if (plat_exists(value))
            return tried(ResolveAppPaths, key, 1) && found_full_path(value, out);
    }
    return tried(ResolveAppPaths, key, 0);
}

// The extensions of PATHEXT, in its order, but ".exe", already tried.
void add_path_ext_forms(const char *target, Forms &forms) {
    char list[1024];
    if (!plat_environment("PATHEXT", list, sizeof list)) text_copy(list, kDefaultPathExt);
    for (const char *ext = list; *ext;) {
        size_t length = strcspn(ext, ";");
        if (length > 0 && !(length == 4 && plat_starts_ci(ext, ".exe", 4)))
            forms.add(target, ext, length);
        ext += length + (ext[length] ? 1 : 0);
    }
}

// Today's order first, so that what it finds never changes: the name, then
// with ".exe", at each place. Only a name it leaves unfound goes on to the
// App Paths registration and then the other PATHEXT extensions at each
// place, as the shell's Run box does; "@path=" values (try_exe 0) do not.
int look_up_target(const char *target, int try_exe, char *out) {
    diag_report(DiagResolveStart, 0, target);
    // A target made of blanks only names nothing; the file system would
    // take it for the current folder.
    if (!text_is_blank(target)) {
        static Forms forms;  // kept off the stack of the window procedure
        forms.count = 0;
        forms.add(target, "", 0);
        if (try_exe) forms.add(target, ".exe", 4);
        if (forms.count && look_up_forms(forms, out)) return 1;
        if (try_exe && look_up_app_paths(target, out)) return 1;
        forms.count = 0;
        if (try_exe) add_path_ext_forms(target, forms);
        if (look_up_forms(forms, out)) return 1;
    }
    text_copy(out, kPathSize, target);
    return 0;
}

}  // namespace

int resolve_program(const char *target, int try_exe, char *out) {
    double started = phase_start();
    int found = look_up_target(target, try_exe, out);
    phase_add(SumResolution, started);
    return found;
}

int resolved_is_folder(const char *path) {
    int folder = search_cache_is_directory(path);
    return folder >= 0 ? folder : plat_is_directory(path);
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
