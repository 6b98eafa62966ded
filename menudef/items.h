// The item table: one row per menu line, kept as parallel columns.
#pragma once

#include <cstdint>

constexpr int kMaxRows = 500;
constexpr int kTextSize = 260;          // paths, titles and values: 259 bytes and a NUL
constexpr int kAccessKeySize = 2;       // one byte and a NUL
constexpr int kFirstRowCommand = 2000;  // row i is menu command 2000 + i

// Row kinds; 4, 6 and 7 are not used.
enum RowKind : int32_t {
    Entry = 0,         // program, document or folder line, or a listed file
    Variant = 1,       // ">" line: a parameter variant of the last entry
    Separator = 2,     // "+" line
    ColumnBreak = 3,   // "-" line
    SoleVariant = 5,   // the only variant of an entry, set when the menu is built
    SubmenuBegin = 8,  // "{" line, or a folder entry that lists files
    SubmenuEnd = 9,    // "}" line, or the end of a folder listing
};

typedef void *BitmapHandle;  // HBITMAP, kept opaque so the table stays portable

struct ItemTable {
    int32_t kind[kMaxRows];
    int32_t level[kMaxRows];
    int32_t marked[kMaxRows];
    char target[kMaxRows][kTextSize];
    char title[kMaxRows][kTextSize];
    char access_key[kMaxRows][kAccessKeySize];
    int32_t icon_slot[kMaxRows];
    int32_t variant_count[kMaxRows];
    int32_t owner[kMaxRows];
    BitmapHandle item_bitmap[kMaxRows];
    int32_t item_count;
    int32_t marked_count;
};

extern ItemTable g_items;
