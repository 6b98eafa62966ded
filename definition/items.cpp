// The item table and the one way rows are started.
#include "definition/items.h"

#include "core/diagnostics.h"
#include "core/platform.h"

ItemTable g_items;

int new_row(RowKind kind, int level) {
    ItemTable &t = g_items;
    int row = t.item_count++;
    t.kind[row] = kind;
    t.level[row] = level;
    t.target[row][0] = 0;
    t.title[row][0] = 0;
    t.access_key[row][0] = 0;
    t.variant_count[row] = 0;
    t.owner[row] = 0;
    diag_report(DiagRowAdded, row);
    return row;
}

const char *check_item_text() {
    return plat_ansi_is_japanese() ? kCheckTextJapanese : kCheckTextEnglish;
}
