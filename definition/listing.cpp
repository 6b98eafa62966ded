// Collects, filters, sorts and appends the files of a folder entry.
#include "definition/listing.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/diagnostics.h"
#include "core/pathparts.h"
#include "core/platform.h"
#include "definition/items.h"
#include "definition/settings.h"

FolderListing g_listing;

namespace {

constexpr int kLastListingRow = kMaxRows - 1;  // the closing row still needs a place

int extension_is_listed(const char *path) {
    PathParts parts;
    path_split(path, &parts);
    size_t length = strlen(parts.ext);
    for (int i = 0; i < g_settings.filter_count; ++i) {
        const char *filter = g_settings.filter_exts[i];
        if (strlen(filter) == length && plat_find_ci(parts.ext, filter)) return 1;
    }
    return 0;
}

// depth as "@folder=" gives it: 0 every subfolder, 1 the folder alone, n the
// folder and n - 1 levels below it. Once the listing is full nothing more can
// be added, so the walk ends there instead of visiting every remaining
// subfolder.
void collect(const char *folder, int depth) {
    if (g_listing.count >= kMaxListedFiles) return;
    char base[kPathSize];
    char pattern[kPathSize];
    char path[kPathSize];
    text_copy(base, folder);
    plat_add_backslash(base, sizeof base);
    // A folder whose pattern or entries do not fit a path buffer is not searched.
    if (text_format(pattern, sizeof pattern, "%s*.*", base) != strlen(base) + 3) return;
    PlatFindEntry entry;
    void *search = plat_find_first(pattern, &entry);
    if (!search) return;
    do {
        if (!strcmp(entry.name, ".") || !strcmp(entry.name, "..")) continue;
        if (text_format(path, sizeof path, "%s%s", base, entry.name) !=
            strlen(base) + strlen(entry.name))
            continue;
        if (entry.is_directory) {
            if (depth > 1) {
                collect(path, depth - 1);
            } else if (depth < 1) {
                collect(path, depth);
            }
            if (g_listing.count >= kMaxListedFiles) break;
            continue;
        }
        if (g_listing.count >= kMaxListedFiles) break;
        if (extension_is_listed(path)) text_copy(g_listing.paths[g_listing.count++], path);
    } while (plat_find_next(search, &entry));
    plat_find_close(search);
}

// The sort key of a listed path: its file name without the folder.
void sort_key(const char *path, char *key, size_t size) {
    PathParts parts;
    path_split(path, &parts);
    text_format(key, size, "%s%s", parts.base, parts.ext);
}

// Names that the comparison tells apart have one order however they are
// sorted; only names it finds equal end in an order of the exchanges' own,
// so with any such pair the exchanges are done as they always were.
void sort_listing() {
    static char keys[kMaxListedFiles][2 * kPathSize];
    static char sorted[kMaxListedFiles][kPathSize];
    int order[kMaxListedFiles];
    int n = g_listing.count;
    for (int i = 0; i < n; ++i) sort_key(g_listing.paths[i], keys[i], sizeof keys[i]);
    auto compare = [](int a, int b) { return plat_collate_ci(keys[a], keys[b]); };
    for (int i = 0; i < n; ++i) order[i] = i;
    std::sort(order, order + n, [&](int a, int b) { return compare(a, b) < 0; });
    bool ties = false;
    for (int i = 0; i + 1 < n && !ties; ++i) ties = compare(order[i], order[i + 1]) == 0;
    if (ties) {
        for (int i = 0; i < n; ++i) order[i] = i;
        for (int i = 0; i + 1 < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (compare(order[i], order[j]) > 0) std::swap(order[i], order[j]);
    }
    for (int i = 0; i < n; ++i) text_copy(sorted[i], g_listing.paths[order[i]]);
    for (int i = 0; i < n; ++i) text_copy(g_listing.paths[i], sorted[i]);
}

}  // namespace

void collect_folder_files(const char *folder) { collect(folder, g_settings.folder_depth); }

void add_listing_rows(int level) {
    if (g_settings.folder_sort == 1) sort_listing();
    ItemTable &t = g_items;
    int k = 0;
    for (; k < g_listing.count && t.item_count < kLastListingRow; ++k) {
        int row = new_row(Entry, level + 1);
        PathParts parts;
        path_split(g_listing.paths[k], &parts);
        text_copy(t.target[row], g_listing.paths[k]);
        if (g_settings.folder_access_keys == 1) {
            text_format(t.title[row], kPathSize, "&%s", parts.base);
            t.access_key[row][0] = parts.base[0];  // the first byte, as "&" shows it
            t.access_key[row][1] = 0;
        } else {
            text_copy(t.title[row], parts.base);
        }
    }
    if (k < g_listing.count) diag_report(DiagListingCut, g_listing.count - k);
}
