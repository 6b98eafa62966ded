// The icon cache file beside the menu definition file, and the pictures it holds.
#pragma once

#include <cstddef>
#include <cstdio>

#include "menu/menu_state.h"

// Picture indexes besides row indexes.
constexpr int kSystemPicture = -2;
constexpr int kFolderPicture = -1;

// Makes sure the icon cache matches the menu definition file; 0 when it
// cannot, which turns the menu into plain text for the run. Pictures that it
// rendered but could not write to the file serve this run from memory.
int icon_cache_check(void *launcher_window);

// Reads the icon cache into memory for the menu; 0 on failure.
int icon_cache_load();

// Releases the pictures read by icon_cache_load, and those the check made
// when it could not write the file.
void icon_cache_release();

// A new screen-compatible bitmap holding a picture; the caller owns it. Null
// when no pictures are loaded.
BitmapHandle make_item_bitmap(int picture_index);

// Stretches a picture to icon_draw_width x icon_draw_height with its top-left
// corner at (x, y) of device_context (an HDC).
void draw_item_icon(void *device_context, int x, int y, int picture_index);

// Every write of the cache file's bytes goes through here (fwrite by
// default); tests replace it to make a write break off part way. Returns the
// bytes written.
extern size_t (*icon_cache_write)(const void *data, size_t size, FILE *file);
