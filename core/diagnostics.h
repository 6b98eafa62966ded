// Findings of the definition loader, handed to a sink that the checker installs.
//
// The loader, the directives and the folder listing call the diag_* helpers at
// their decision points. Without a sink (the launcher) each helper is one test
// of a null pointer, so loading behaves and performs as before.
#pragma once

#include <cstddef>

enum DiagKind : int {
    // --- events: what the loader is doing --------------------------------
    DiagLineRead,      // a line is about to be handled; number: 0 [system], 1 [launch]
    DiagSectionStart,  // text: the header; line: the header's line
    DiagSectionEnd,    // number: 1 ended by "%end", 0 by the end of the text
    DiagRowAdded,      // number: the row index
    DiagResolveStart,  // text: the target to resolve
    DiagResolveTry,    // number: DiagResolveStep; number2: 1 found; text: the name; text2: list
    DiagEncoding,      // number: the TextEncoding the file was read in

    // --- findings ----------------------------------------------------------
    DiagEntryNotFound,      // text: the target (empty: nothing named)
    DiagMarkerAsEntry,      // number: '+', '-', '>' or '{', read as an entry line
    DiagUnmatchedClose,     // "}" at level 0, read as an entry line
    DiagUnclosedSubmenu,    // number: submenus still open where the section ends
    DiagSectionRunsOn,      // number: 0 [system], 1 [launch] runs on over the other header
    DiagTableFull,          // the line is ignored: the table holds 500 rows
    DiagLineCut,            // the line is longer than 517 bytes; number: its length
    DiagFieldCut,           // number: DiagField; number2: bytes kept; number3: bytes given
    DiagDirectiveUnknown,   // text: the line
    DiagDirectiveTooShort,  // text: the line; number: the length it needs
    DiagDirectiveNoEffect,  // text: the line; an earlier choice stands
    DiagValueFellBack,      // number: DiagValue; text: the value as written
    DiagProgramNotFound,    // number: 0 "@editor=", 1 "@filer="; number2: 1 a folder; text: value
    DiagSearchListUnread,   // text: the search-list file that could not be read
    DiagTooManyFilters,     // text: the extension left out
    DiagTooManyParams,      // the line would have been the 11th user parameter
    DiagFolderEmpty,        // text: the folder without matching files
    DiagFolderNotListed,    // text: the folder; the table has no room for its listing
    DiagListingFull,        // text: the folder; the listing took the 100 files it holds
    DiagListingCut,         // number: listed files left out at the end of the table
    DiagLastLineNoEol,      // the last line has no line end and is not read
    DiagCharacterLost,      // number: the first code point the code page lacks; number2: how many
    DiagEmptyDefinition,    // the file holds nothing but blanks and line ends
    DiagHiddenExtension,    // text: a file beside it that holds a definition (checker only)
    DiagHeaderInComment,    // number: 0 [system], 1 [launch]; the first header is in a comment
    DiagVariantElsewhere,   // text: the title of the entry a variant attached to instead
};

// Steps of program resolution, in the order they are tried.
enum DiagResolveStep : int {
    ResolveAsNamed,       // the name as written (relative to the current folder)
    ResolveSearchList,    // the folders of "@path="
    ResolveSystemSearch,  // the system's default search order
    ResolveAppPaths,      // the App Paths registration of the name with ".exe"
};

// Texts that are cut to their field.
enum DiagField : int {
    FieldTitle,
    FieldParameters,
    FieldDelimiter,
    FieldParamName,
    FieldParamValue,
    FieldInputText,
    FieldInputTitle,
    FieldFilterExt,
    FieldSearchList,
    FieldValue,  // a field of "@menu=", "@dist=", "@folder=" (6 bytes) or "@font=" (127)
};

// Values replaced by a default.
enum DiagValue : int {
    ValuePositionWord,     // not a position word: at the active window
    ValuePositionNoMouse,  // "mouse"/"mous2" without a mouse: at the active window
    ValuePositionMaxCase,  // y written "max" in lower case after the last comma: 0
    ValueFontSize,         // 0 or negative: 16
    ValueFontWeight,       // outside 0 to 10: the default weight
    ValueFontFaceEmpty,    // no face name: the system menu font
    ValueDelay,            // outside 1 to 10000 ms: 0
    ValueFolderDepth,      // negative: 0 (all subfolders)
    ValueFolderSort,       // neither 0 nor 1: not sorted
};

struct DiagEvent {
    DiagKind kind;
    int line;  // 1-based line of the definition text, 0 when none
    long number;
    long number2;
    long number3;
    const char *text;  // never null
    const char *text2;
};

struct DiagSink {
    void (*report)(void *context, const DiagEvent &event);
    void *context;
};

// Null in the launcher; the checker points it at its collector.
extern DiagSink *g_diag_sink;

// Installs sink (null: none) and returns the one it replaces.
DiagSink *diag_set_sink(DiagSink *sink);

// --- what the loader calls -----------------------------------------------------
void diag_begin_slow(const char *text, size_t length);
void diag_line_slow(size_t offset);
void diag_report_slow(DiagKind kind, long number, const char *text, long number2,
                      const char *text2);
void diag_report_at_slow(size_t offset, DiagKind kind, long number, const char *text);
void diag_cut_text_slow(DiagField field, size_t kept, const char *text, size_t max_length);
void diag_cut_slow(DiagField field, size_t kept, size_t length);
void diag_report_line_slow(int line, DiagKind kind, long number, long number2);

// The text whose lines are counted from here on.
inline void diag_begin(const char *text, size_t length) {
    if (g_diag_sink) diag_begin_slow(text, length);
}
// The line that starts at offset is the current one; number as for DiagLineRead.
inline void diag_line(size_t offset, long section) {
    if (g_diag_sink) {
        diag_line_slow(offset);
        diag_report_slow(DiagLineRead, section, "", 0, "");
    }
}
// Reports at the current line.
inline void diag_report(DiagKind kind, long number = 0, const char *text = "", long number2 = 0,
                        const char *text2 = "") {
    if (g_diag_sink) diag_report_slow(kind, number, text, number2, text2);
}
// Reports at a line given by its number (0: the file as a whole).
inline void diag_report_line(int line, DiagKind kind, long number = 0, long number2 = 0) {
    if (g_diag_sink) diag_report_line_slow(line, kind, number, number2);
}
// Reports at the line that starts at offset.
inline void diag_report_at(size_t offset, DiagKind kind, long number = 0, const char *text = "") {
    if (g_diag_sink) diag_report_at_slow(offset, kind, number, text);
}
// Reports a text (its first max_length bytes at most) of which only kept bytes
// went into its field.
inline void diag_cut(DiagField field, size_t kept, const char *text,
                     size_t max_length = (size_t)-1) {
    if (g_diag_sink) diag_cut_text_slow(field, kept, text, max_length);
}
// The same when the length of the text given is known.
inline void diag_cut_length(DiagField field, size_t kept, size_t length) {
    if (g_diag_sink && kept < length) diag_cut_slow(field, kept, length);
}
