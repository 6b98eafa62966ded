// Collects, filters, sorts and appends the files of a folder entry.
#include "menu/listing.h"

#include <cstring>

#include "app/paths.h"
#include "menudef/diagnostics.h"
#include "menudef/items.h"
#include "menudef/platform.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

FolderListing g_listing;

constexpr int kLastListingRow = kMaxRows - 1;  // the closing row still needs a place

static int extension_is_listed(const char *path) {
    PathParts parts;
    path_split(path, &parts);
    size_t length = strlen(parts.ext);
    for (int i = 0; i < g_settings.filter_count; ++i) {
        const char *filter = g_settings.filter_exts[i];
        if (strlen(filter) == length && plat_find_ci(parts.ext, filter)) return 1;
    }
    return 0;
}

// Once the listing is full nothing more can be added, so the walk ends there
// instead of visiting every remaining subfolder.
void collect_folder_files(const char *folder) {
    if (g_listing.count >= kMaxListedFiles) return;
    char base[260];
    char pattern[260];
    char path[260];
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
            if (g_settings.folder_depth > 1) {
                --g_settings.folder_depth;
                collect_folder_files(path);
                ++g_settings.folder_depth;
            } else if (g_settings.folder_depth < 1) {
                collect_folder_files(path);
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
static void sort_key(const char *path, char *key, size_t size) {
    PathParts parts;
    path_split(path, &parts);
    text_format(key, size, "%s%s", parts.base, parts.ext);
}

static void sort_listing() {
    char key_i[520];
    char key_j[520];
    char swap[260];
    for (int i = 0; i + 1 < g_listing.count; ++i) {
        sort_key(g_listing.paths[i], key_i, sizeof key_i);
        for (int j = i + 1; j < g_listing.count; ++j) {
            sort_key(g_listing.paths[j], key_j, sizeof key_j);
            if (plat_collate_ci(key_i, key_j) > 0) {
                text_copy(swap, g_listing.paths[i]);
                text_copy(g_listing.paths[i], g_listing.paths[j]);
                text_copy(g_listing.paths[j], swap);
                text_copy(key_i, key_j);
            }
        }
    }
}

void add_listing_rows(int level) {
    if (g_settings.folder_sort == 1) sort_listing();
    ItemTable &t = g_items;
    int k = 0;
    for (; k < g_listing.count && t.item_count < kLastListingRow; ++k) {
        int row = t.item_count;
        PathParts parts;
        path_split(g_listing.paths[k], &parts);
        text_copy(t.target[row], g_listing.paths[k]);
        if (g_settings.folder_access_keys == 1) {
            text_format(t.title[row], kTextSize, "&%s", parts.base);
            t.access_key[row][0] = parts.base[0];  // the first byte, as "&" shows it
            t.access_key[row][1] = 0;
        } else {
            text_copy(t.title[row], parts.base);
            t.access_key[row][0] = 0;
        }
        t.kind[row] = Entry;
        t.level[row] = level + 1;
        t.variant_count[row] = 0;
        t.owner[row] = 0;
        t.marked[row] = 0;
        t.item_count = row + 1;
        diag_report(DiagRowAdded, row);
    }
    if (k < g_listing.count) diag_report(DiagListingCut, g_listing.count - k);
}
