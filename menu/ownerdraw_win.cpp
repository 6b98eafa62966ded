// Measures and draws the owner-drawn items of icon mode 2.
#include "menu/ownerdraw_win.h"

#include <climits>
#include <cstddef>
#include <cstring>

#include "core/dpi_win.h"
#include "core/font_win.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "menu/iconcache.h"

namespace {

constexpr int kNoPicture = -3;  // an identifier that is no item of ours draws nothing

// What one item shows: the text it is measured with, the text drawn, and
// its picture.
struct ItemFace {
    char measured[kPathSize + 4];
    char drawn[kPathSize + 4];
    int picture;
};

// Measured texts keep the ampersand that the drawing hides, and row titles
// are measured with two spaces in front, so items come out a little wider
// than the text they show.
void describe_item(UINT id, ItemFace *face) {
    const ItemTable &t = g_items;
    face->measured[0] = face->drawn[0] = 0;
    face->picture = kNoPicture;
    if (id == kSystemEntryId) {
        text_copy(face->measured, "( &0 ) system");
        text_copy(face->drawn, kSystemEntryText);
        face->picture = kSystemPicture;
        return;
    }
    int row = (int)id - kFirstRowCommand;
    if (row < 0 || row >= t.item_count) return;
    if (t.kind[row] == SoleVariant) {
        // The entry's title and picture, the variant's command.
        int owner = t.owner[row];
        text_format(face->drawn, sizeof face->drawn, "%s%s", t.title[owner],
                    g_settings.variant_mark == 1 ? kSoleVariantMark : "");
        text_copy(face->measured, face->drawn);
        face->picture = owner;
        return;
    }
    text_format(face->measured, sizeof face->measured, "  %s", t.title[row]);
    text_copy(face->drawn, t.title[row]);
    face->picture = t.kind[row] == Entry ? row : kFolderPicture;
}

}  // namespace

// The draw size follows "@font=", which may give any size up to INT_MAX:
// sums with it stop at INT_MAX instead of overflowing.
static int clamped_sum(long long a, long long b) {
    long long sum = a + b;
    return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : (int)sum;
}

// The margins beside the picture, given for 96 DPI.
static int margin(int pixels) { return scale_to_dpi(pixels, g_settings.dpi); }

// "@font=" gives its size for 96 DPI; the system's menu font comes at the
// system's DPI. Both are scaled to the DPI of the menu's monitor.
static HFONT new_item_font() {
    const LauncherSettings &s = g_settings;
    if (s.font_set == 1)
        return make_font(s.font_face, scale_to_dpi(s.font_size, s.dpi), s.font_weight);
    // The record's size is that of this build's headers (344 bytes since
    // Vista, on 32 and 64 bits alike); systems that know only the older
    // 340-byte record are asked again with that.
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    }
    int system = system_dpi();
    if (s.dpi != system)
        metrics.lfMenuFont.lfHeight = MulDiv(metrics.lfMenuFont.lfHeight, s.dpi, system);
    return CreateFontIndirectA(&metrics.lfMenuFont);
}

// The font of every item, made anew only when what it is made from changes:
// making it for each of a menu's items, twice, cost the menu's first showing
// milliseconds.
static HFONT item_font() {
    struct Made {
        int font_set, font_size, font_weight, dpi;
        char face[kFontFaceSize];
    };
    static Made made;
    static HFONT font;
    const LauncherSettings &s = g_settings;
    Made wanted = {s.font_set, s.font_size, s.font_weight, s.dpi, {}};
    text_copy(wanted.face, s.font_face);
    if (font && !memcmp(&wanted, &made, sizeof made)) return font;
    if (font) DeleteObject(font);
    made = wanted;
    return font = new_item_font();
}

BOOL measure_item(HWND, MEASUREITEMSTRUCT *request) {
    ItemFace face;
    describe_item(request->itemID, &face);
    // Measured on a memory context of the screen's, made once: the text's
    // extent in a font of so many pixels is the same there as in the
    // window's, which asking for at every item cost the menu's start.
    static HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, item_font());
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, face.measured, (int)strlen(face.measured), &extent);
    request->itemWidth =
        (UINT)clamped_sum(extent.cx, g_settings.icon_draw_width + (long long)margin(10));
    request->itemHeight =
        (UINT)(extent.cy > g_settings.icon_draw_height ? extent.cy : g_settings.icon_draw_height);
    SelectObject(dc, previous);
    return TRUE;
}

BOOL draw_item(DRAWITEMSTRUCT *request) {
    HDC dc = request->hDC;  // the menu's; not released here
    const RECT &box = request->rcItem;
    HGDIOBJ previous_font = SelectObject(dc, item_font());
    COLORREF previous_text = GetTextColor(dc);
    COLORREF previous_back = GetBkColor(dc);
    HBRUSH brush;
    if (request->itemState & ODS_SELECTED) {
        brush = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        brush = CreateSolidBrush(previous_back);  // the colours the menu handed over
    }
    FillRect(dc, &box, brush);
    DeleteObject(brush);

    ItemFace face;
    describe_item(request->itemID, &face);
    draw_item_icon(dc, box.left, box.top, face.picture);
    // An ampersand underlines the character after it and is not shown.
    DrawStateA(dc, nullptr, nullptr, (LPARAM)face.drawn, (WPARAM)strlen(face.drawn),
               clamped_sum(box.left, g_settings.icon_draw_width + (long long)margin(4)), box.top, 0,
               0, DST_PREFIXTEXT);

    SetTextColor(dc, previous_text);
    SetBkColor(dc, previous_back);
    SelectObject(dc, previous_font);
    return TRUE;
}
