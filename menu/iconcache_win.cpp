// Renders item icons into the icon cache file, reads it back and draws from it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>

#include "core/pathparts.h"
#include "core/shell_icon_win.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "menu/iconcache.h"
#include "menu/iconcache_file.h"

namespace {

// The pictures read by the load: everything after the slot table, slot k at
// k * record size. Kept until the launcher window closes.
unsigned char *g_picture_data;
uint64_t g_picture_data_size;
int g_picture_record_size;

// A whole cache image that the check rendered but could not put in place
// (another program holds the file, the disk is full): this run's menu is
// drawn from it, and the next start writes the file again.
unsigned char *g_built_image;
size_t g_built_image_size;

void forget_built_image() {
    free(g_built_image);
    g_built_image = nullptr;
    g_built_image_size = 0;
}

void free_pictures() {
    free(g_picture_data);
    g_picture_data = nullptr;
    g_picture_data_size = 0;
}

int current_record_size() {
    return icon_record_size(g_settings.icon_width, g_settings.icon_height);
}

// The bitmap header of one picture at the current icon size.
BITMAPINFO picture_header() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = g_settings.icon_width;
    info.bmiHeader.biHeight = g_settings.icon_height;  // positive: rows run bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// One bitmap at the icon size and a memory device context to draw into it,
// for all the pictures of a cache.
struct Canvas {
    HDC window_dc;
    HDC memory;
    HBITMAP bitmap;
};

Canvas open_canvas(HWND window) {
    Canvas c;
    c.window_dc = GetDC(window);
    c.memory = CreateCompatibleDC(c.window_dc);
    c.bitmap = CreateCompatibleBitmap(c.window_dc, g_settings.icon_width, g_settings.icon_height);
    return c;
}

void close_canvas(HWND window, Canvas &c) {
    DeleteObject(c.bitmap);
    DeleteDC(c.memory);
    ReleaseDC(window, c.window_dc);
}

// Draws icon over a square of the menu colour and stores the pixels in
// record, header first. A missing icon leaves the plain square.
void render_picture(Canvas &c, HICON icon, unsigned char *record) {
    int width = g_settings.icon_width, height = g_settings.icon_height;
    HGDIOBJ previous = SelectObject(c.memory, c.bitmap);
    RECT square = {0, 0, width, height};
    FillRect(c.memory, &square, GetSysColorBrush(COLOR_MENU));
    if (icon) DrawIconEx(c.memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    SelectObject(c.memory, previous);  // GetDIBits wants the bitmap deselected
    BITMAPINFO info = picture_header();
    GetDIBits(c.window_dc, c.bitmap, 0, (UINT)height, record + kIconBitmapHeaderSize, &info,
              DIB_RGB_COLORS);
    memcpy(record, &info.bmiHeader, kIconBitmapHeaderSize);
}

// Windows refuses to write a read-only file even to administrators; asked
// explicitly, so that a file system that would let us (Wine run as root)
// does not change that.
int is_read_only(const char *path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// Puts the finished file in place. It is written under a temporary name
// beside the cache and moved over the old file only when every byte is on
// disk: a write that breaks off half way leaves the previous cache (or none),
// never a file whose stamp says it is current.
int replace_cache_file(const char *path, const unsigned char *image, size_t size,
                       size_t record_size) {
    // A short name of this process's own in the cache's folder; where even
    // that does not fit (a cache path within a few bytes of the limit), the
    // cache's own name ending in "~", which fits wherever the cache does.
    char folder[kPathSize];
    char temporary[kPathSize];
    path_folder(path, folder, sizeof folder);
    if (text_format(temporary, sizeof temporary, "%s~tv%08lx.tmp", folder,
                    (unsigned long)GetCurrentProcessId()) != strlen(folder) + 15) {
        if (!path[0] || text_copy(temporary, path) != strlen(path)) return 0;
        temporary[strlen(temporary) - 1] = '~';
    }
    FILE *file = fopen(temporary, "wb");
    if (!file) return 0;
    // The header, then one picture at a time: the pieces the file is made of.
    int ok = 1;
    for (size_t at = 0, piece = kIconHeaderSize; ok && at < size; at += piece) {
        piece = at == 0 ? kIconHeaderSize : record_size;
        if (piece > size - at) piece = size - at;
        ok = icon_cache_write(image + at, piece, file) == piece;
    }
    if (fclose(file) != 0) ok = 0;
    if (ok) ok = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileA(temporary);
    return ok;
}

// Renders every picture and writes the cache file; 1 when the pictures are
// there, in the file or, when it could not be written, in g_built_image.
int write_icon_cache(void *launcher_window, const char *path) {
    const ItemTable &t = g_items;
    if (g_settings.icon_width <= 0 || g_settings.icon_height <= 0 || is_read_only(path)) return 0;
    int record_size = current_record_size();
    int entries = 0;
    for (int row = 0; row < t.item_count; ++row) entries += t.kind[row] == Entry;
    size_t size = icon_cache_file_size(entries, record_size);
    unsigned char *image = (unsigned char *)calloc(size, 1);
    if (!image) return 0;
    icon_image_start(image, g_settings.definition_time, record_size);

    // Each distinct target is asked of the shell once (every URL and shell
    // location shows the same picture), and each picture the shell keeps is
    // drawn once; rows sharing either get a copy of the record, so the file
    // is the same as when every row is asked and drawn alone.
    HWND window = (HWND)launcher_window;
    Canvas canvas = open_canvas(window);
    render_picture(canvas, program_system_icon(), icon_image_record(image, 0, record_size));
    std::unordered_map<std::string, int> slot_of_target;
    std::map<std::pair<HIMAGELIST, int>, int> slot_of_picture;
    auto copy_slot = [&](unsigned char *record, int from) {
        memcpy(record, icon_image_record(image, from, record_size), (size_t)record_size);
    };
    auto render_once = [&](const char *target, int slot) {
        const char *key = path_is_shell_location(target) ? ".url" : target;
        unsigned char *record = icon_image_record(image, slot, record_size);
        auto known = slot_of_target.emplace(key, slot);
        if (!known.second) return copy_slot(record, known.first->second);
        ShellPicture picture;
        if (!shell_small_picture(target, &picture)) return render_picture(canvas, nullptr, record);
        auto drawn = slot_of_picture.emplace(std::make_pair(picture.list, picture.index), slot);
        if (!drawn.second) return copy_slot(record, drawn.first->second);
        HICON icon = shell_picture_icon(picture);
        render_picture(canvas, icon, record);
        if (icon) DestroyIcon(icon);
    };
    render_once(g_startup.program_folder, 1);
    int slot = kIconFixedPictures;
    for (int row = 0; row < t.item_count; ++row) {
        if (t.kind[row] != Entry) continue;
        render_once(t.target[row], slot);
        icon_image_set_slot(image, row, slot++);
    }
    shell_pictures_end();
    close_canvas(window, canvas);

    if (!replace_cache_file(path, image, size, (size_t)record_size)) {
        g_built_image = image;  // the pictures serve this run all the same
        g_built_image_size = size;
        return 1;
    }
    free(image);
    return 1;
}

// Reads the first bytes of the cache and the size of the whole file.
int read_header(FILE *file, unsigned char *header, uint64_t *file_size) {
    if (fseek(file, 0, SEEK_END) != 0) return 0;
    long end = ftell(file);
    if (end < 0 || fseek(file, 0, SEEK_SET) != 0) return 0;
    *file_size = (uint64_t)end;
    return fread(header, 1, kIconHeaderSize, file) == kIconHeaderSize;
}

// Whether the file's pictures fit the header and no slot points past them.
int layout_is_sound(const unsigned char *header, uint64_t file_size, int32_t *slots) {
    return icon_header_read(header, file_size - kIconHeaderSize, current_record_size(), slots);
}

// A cache is current when its stamp holds the menu definition file's time
// and its layout is sound. A file that carries the right stamp but is cut
// short or damaged counts as stale and is written again.
int cache_is_current(const char *path) {
    if (!plat_exists(path)) return 0;
    FILE *file = fopen(path, "rb");
    if (!file) return 0;
    unsigned char header[kIconHeaderSize];
    uint64_t file_size = 0;
    int32_t slots[kIconSlotCount];
    int current = read_header(file, header, &file_size) &&
                  icon_stamp_matches(header, g_settings.definition_time) &&
                  layout_is_sound(header, file_size, slots);
    fclose(file);
    return current;
}

// The record of a picture in the loaded data, or null when there is none.
const unsigned char *picture_record(int picture_index) {
    if (!g_picture_data) return nullptr;
    int slot;
    if (picture_index == kSystemPicture || picture_index == kFolderPicture) {
        slot = picture_index + kIconFixedPictures;
    } else if (picture_index >= 0 && picture_index < kMaxRows) {
        slot = g_menu.icon_slot[picture_index];
    } else {
        return nullptr;
    }
    uint64_t end = ((uint64_t)slot + 1) * (uint64_t)g_picture_record_size;
    if (slot < 0 || end > g_picture_data_size) return nullptr;
    return g_picture_data + (size_t)slot * (size_t)g_picture_record_size;
}

}  // namespace

static size_t write_bytes(const void *data, size_t size, FILE *file) {
    return fwrite(data, 1, size, file);
}

size_t (*icon_cache_write)(const void *data, size_t size, FILE *file) = write_bytes;

// The icon cache file's path: the menu definition file's drive, folder and
// base name with ".tvi".
static void icon_cache_path(char *out, size_t out_size) {
    PathParts parts;
    path_split(g_startup.definition_path, &parts);
    text_format(out, out_size, "%s%s%s.tvi", parts.drive, parts.folder, parts.base);
}

int icon_cache_check(void *launcher_window) {
    forget_built_image();
    char path[kPathSize];
    icon_cache_path(path, sizeof path);
    if (cache_is_current(path)) return 1;
    return write_icon_cache(launcher_window, path);
}

namespace {

// Reads size bytes in one piece where the system allows: reading the cache
// through the C library's small buffer cost the menu's start a millisecond.
int read_exactly(HANDLE file, unsigned char *out, size_t size) {
    while (size > 0) {
        DWORD piece = size > 0x40000000 ? 0x40000000 : (DWORD)size, got = 0;
        if (!ReadFile(file, out, piece, &got, nullptr) || got == 0) return 0;
        out += got;
        size -= got;
    }
    return 1;
}

// Takes the pictures of the data block (allocated, now ours) that follows a
// header whose slots were read as sound; 1, or 0 with the block freed.
int take_pictures(int ok, unsigned char *data, size_t data_size, const int32_t *slots) {
    if (!ok) {
        free(data);
        return 0;
    }
    memcpy(g_menu.icon_slot, slots, sizeof g_menu.icon_slot);
    g_picture_data = data;
    g_picture_data_size = data_size;
    g_picture_record_size = current_record_size();
    return 1;
}

// The pictures the check rendered when it could not write the file.
int load_built_image() {
    int32_t slots[kIconSlotCount];
    size_t data_size = g_built_image_size - kIconHeaderSize;
    unsigned char *data = (unsigned char *)malloc(data_size);
    int ok = data && icon_header_read(g_built_image, data_size, current_record_size(), slots);
    if (ok) memcpy(data, g_built_image + kIconHeaderSize, data_size);
    return take_pictures(ok, data, data_size, slots);
}

}  // namespace

// A file that fails the layout test here (damaged after the check, or by
// another run) is not loadable: the menu is plain text for this run, and the
// next run's check writes the file again.
int icon_cache_load() {
    free_pictures();
    if (g_built_image) return load_built_image();
    char path[kPathSize];
    icon_cache_path(path, sizeof path);
    // A cache that cannot be opened for writing (read-only, or held by
    // another program) is not used; the handle that tells is the one read.
    if (is_read_only(path)) return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    unsigned char header[kIconHeaderSize];
    LARGE_INTEGER file_size = {};
    int32_t slots[kIconSlotCount];
    unsigned char *data = nullptr;
    int ok = GetFileSizeEx(file, &file_size) && read_exactly(file, header, kIconHeaderSize) &&
             layout_is_sound(header, (uint64_t)file_size.QuadPart, slots);
    size_t data_size = ok ? (size_t)(file_size.QuadPart - kIconHeaderSize) : 0;
    if (ok) {
        data = (unsigned char *)malloc(data_size ? data_size : 1);
        ok = data && read_exactly(file, data, data_size);
    }
    CloseHandle(file);
    return take_pictures(ok, data, data_size, slots);
}

void icon_cache_release() {
    free_pictures();
    forget_built_image();
}

BitmapHandle make_item_bitmap(int picture_index) {
    const unsigned char *record = picture_record(picture_index);
    if (!record) return nullptr;
    int width = g_settings.icon_width, height = g_settings.icon_height;
    HDC screen_dc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(screen_dc, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // The header is made from the current icon size rather than read from
    // the record, so a damaged record cannot widen the read.
    BITMAPINFO info = picture_header();
    StretchDIBits(memory, 0, 0, width, height, 0, 0, width, height, record + kIconBitmapHeaderSize,
                  &info, DIB_RGB_COLORS, SRCCOPY);
    SelectObject(memory, previous);
    ReleaseDC(nullptr, screen_dc);
    DeleteDC(memory);
    return bitmap;
}

void draw_item_icon(void *device_context, int x, int y, int picture_index) {
    const unsigned char *record = picture_record(picture_index);
    if (!record) return;
    HDC dc = (HDC)device_context;
    BITMAPINFO info = picture_header();
    int previous_mode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, g_settings.icon_draw_width, g_settings.icon_draw_height, 0, 0,
                  g_settings.icon_width, g_settings.icon_height, record + kIconBitmapHeaderSize,
                  &info, DIB_RGB_COLORS, SRCCOPY);
    if (previous_mode) SetStretchBltMode(dc, previous_mode);
}
