// Owner-drawn items and item bitmaps painted from a cache of solid pictures.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>

#include "definition/startup.h"
#include "menu/builder_win.h"
#include "menu/iconcache.h"
#include "menu/iconcache_file.h"
#include "menu/ownerdraw_win.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "test_support.h"

namespace {

COLORREF picture(int slot) { return RGB(0x80, 0x40, slot * 16); }
const COLORREF kUnpainted = RGB(255, 0, 255);

// A 100 x 20 item in a 110-pixel-wide 32-bit bitmap.
struct Canvas {
    Canvas(COLORREF back, COLORREF text) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 110, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap = CreateDIBSection(dc, &info, 0, nullptr, nullptr, 0));
        RECT all = {0, 0, 110, 20};
        HBRUSH brush = CreateSolidBrush(kUnpainted);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        SetBkColor(dc, back);
        SetTextColor(dc, text);
    }
    ~Canvas() {
        DeleteObject(SelectObject(dc, old));
        DeleteDC(dc);
    }
    void draw(UINT id, bool selected) {
        DRAWITEMSTRUCT request = {
            ODT_MENU, 0, id, 0, selected ? ODS_SELECTED : 0u, nullptr, dc, {0, 0, 100, 20}, 0};
        draw_item(&request);
    }
    // Pixels of colour in the item, and the last column holding one.
    int count(COLORREF colour, int *last = nullptr) {
        int n = 0;
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 20; ++y)
                if (GetPixel(dc, x, y) == colour) {
                    ++n;
                    if (last) *last = x;
                }
        return n;
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

class OwnerDraw : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        g_settings.variant_mark = 1;
        g_settings.icon_width = g_settings.icon_height = 16;
        g_settings.icon_draw_width = g_settings.icon_draw_height = 16;
        const char *titles[] = {"&Notepad", "Ed", "v", "Tools"};
        const RowKind kinds[] = {Entry, Entry, SoleVariant, SubmenuBegin};
        for (int row = 0; row < 4; ++row) {
            g_items.kind[row] = kinds[row];
            snprintf(g_items.title[row], kPathSize, "%s", titles[row]);
        }
        g_items.owner[2] = 1;
        g_items.item_count = 4;
        // Slot k of the cache is a solid square of picture(k).
        std::string image(icon_cache_file_size(2, icon_record_size(16, 16)), '\0');
        unsigned char *bytes = (unsigned char *)&image[0];
        icon_image_start(bytes, g_settings.definition_time, icon_record_size(16, 16));
        icon_image_set_slot(bytes, 0, 2);
        icon_image_set_slot(bytes, 1, 3);
        for (int k = 0; k < 4; ++k)
            for (int px = 0; px < 256; ++px) {
                unsigned char *bgr = icon_image_record(bytes, k, 808) + 40 + 3 * px;
                bgr[0] = GetBValue(picture(k)), bgr[1] = 0x40, bgr[2] = 0x80;
            }
        dir.write("Tavrik.tvi", image);
        ASSERT_EQ(icon_cache_load(), 1);
    }
    void TearDown() override { icon_cache_release(); }
    ScratchFolder dir;
};

}  // namespace

TEST_F(OwnerDraw, PaintsBackgroundPictureAndText) {
    struct {
        const char *item;
        UINT id;
        int slot;
    } cases[] = {
        {"system entry", kSystemEntryId, 0},
        {"entry", 2000, 2},
        {"sole variant: its entry's picture", 2002, 3},
        {"submenu: the folder", 2003, 1},
    };
    const COLORREF back = RGB(1, 2, 3), text = RGB(4, 5, 6);
    for (auto &c : cases) {
        for (bool selected : {false, true}) {
            SCOPED_TRACE(std::string(c.item) + (selected ? ", selected" : ""));
            Canvas canvas(back, text);
            HGDIOBJ font = GetCurrentObject(canvas.dc, OBJ_FONT);
            canvas.draw(c.id, selected);
            COLORREF fill = selected ? GetSysColor(COLOR_HIGHLIGHT) : back;
            EXPECT_EQ(canvas.count(kUnpainted), 0) << "the whole item is painted";
            EXPECT_EQ(GetPixel(canvas.dc, 100, 0), kUnpainted) << "and nothing beside it";
            EXPECT_EQ(GetPixel(canvas.dc, 0, 0), picture(c.slot));
            EXPECT_EQ(GetPixel(canvas.dc, 15, 15), picture(c.slot));
            EXPECT_EQ(GetPixel(canvas.dc, 16, 0), fill);
            EXPECT_EQ(GetPixel(canvas.dc, 99, 19), fill);
            EXPECT_GT(canvas.count(selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text), 10);
            // The menu's device context is handed back as it came.
            EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), font);
            EXPECT_EQ(GetBkColor(canvas.dc), back);
            EXPECT_EQ(GetTextColor(canvas.dc), text);
        }
    }
    // Item bitmaps of icon mode 1 hold the same pictures.
    HBITMAP bitmap = (HBITMAP)make_item_bitmap(1);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 15, 15), picture(3));
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
}

TEST_F(OwnerDraw, AmpersandUnderlinesTheNextCharacterAndIsNotShown) {
    auto ink = [&](const char *title, int *last) {
        snprintf(g_items.title[0], kPathSize, "%s", title);
        Canvas canvas(RGB(255, 255, 255), RGB(0, 0, 0));
        canvas.draw(2000, false);
        return canvas.count(RGB(0, 0, 0), last);
    };
    int plain_last = 0, marked_last = 0;
    int plain = ink("Nb", &plain_last);
    EXPECT_GT(ink("N&b", &marked_last), plain);
    EXPECT_EQ(marked_last, plain_last);
}

TEST_F(OwnerDraw, HugeFontSizesStopAtTheLargestItem) {
    // "@font=X,2147483647" with "@icon=1" makes the pictures that large.
    g_settings.icon_draw_width = g_settings.icon_draw_height = INT_MAX;
    MEASUREITEMSTRUCT request = {ODT_MENU, 0, 2000, 0, 0, 0};
    ASSERT_TRUE(measure_item(nullptr, &request));
    EXPECT_EQ(request.itemWidth, (UINT)INT_MAX);
    EXPECT_EQ(request.itemHeight, (UINT)INT_MAX);
}
