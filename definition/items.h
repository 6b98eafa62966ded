// The item table: one row per menu line, kept as parallel columns. The loader
// fills it; everything after loading only reads it.
#pragma once

#include <cstdint>

#include "core/text.h"

constexpr int kMaxRows = 500;
constexpr int kAccessKeySize = 2;  // one byte and a NUL

// Row kinds; 4, 6 and 7 are not used.
enum RowKind : int32_t {
    Entry = 0,         // program, document or folder line, or a listed file
    Variant = 1,       // ">" line: a parameter variant of the last entry
    Separator = 2,     // "+" line
    ColumnBreak = 3,   // "-" line
    SoleVariant = 5,   // the only variant of its entry, shown in the entry's place
    SubmenuBegin = 8,  // "{" line, or a folder entry that lists files
    SubmenuEnd = 9,    // "}" line, or the end of a folder listing
};

struct ItemTable {
    int32_t kind[kMaxRows];
    int32_t level[kMaxRows];
    char target[kMaxRows][kPathSize];
    char title[kMaxRows][kPathSize];
    char access_key[kMaxRows][kAccessKeySize];
    int32_t variant_count[kMaxRows];
    int32_t owner[kMaxRows];
    int32_t item_count;
};

extern ItemTable g_items;

// Menu command identifiers: row i is 2000 + i; the system entry, its items
// and the separators before it have their own.
constexpr int kFirstRowCommand = 2000;
constexpr unsigned kSystemSeparatorId = 2600;
constexpr unsigned kSystemEntryId = 2650;
constexpr unsigned kOpenDefinitionId = 2660;
constexpr unsigned kCheckId = 2665;
constexpr unsigned kHelpId = 2670;
constexpr unsigned kVersionId = 2680;

// The system entry's text, and the mark behind an entry shown by its sole variant.
constexpr char kSystemEntryText[] = "system ( &0 )";
constexpr char kSystemEntryKey[] = "0";
// The system submenu's items after the definition file's ("Tavrik.ini ( &1 )"):
// English on every system, Japanese ones among them.
constexpr char kDefinitionItemFormat[] = "%s%s ( &1 )";
constexpr char kHelpText[] = "&Help";
constexpr char kVersionText[] = "&Version";
constexpr char kSoleVariantMark[] = " *";
// The item that checks the definition: "&Check", or "定義のチェック(&C)"
// (checking the definition) in code page 932.
constexpr char kCheckTextEnglish[] = "&Check";
constexpr char kCheckTextJapanese[] =
    "\x92\xe8\x8b\x60\x82\xcc\x83\x60\x83\x46\x83\x62\x83\x4e(&C)";
// The check item's text in the language of the ANSI code page.
const char *check_item_text();

// Starts row item_count with everything but the texts cleared; returns it.
int new_row(RowKind kind, int level);
