// Icon cache: not written yet. The check keeps the icon mode and the load
// fails, so every menu is built as plain text for now.
#include "menu/iconcache.h"

int icon_cache_check(void *launcher_window) {
    (void)launcher_window;
    return 1;
}

int icon_cache_load(void *launcher_window) {
    (void)launcher_window;
    return 0;
}

void icon_cache_release() {}

BitmapHandle make_item_bitmap(int picture_index) {
    (void)picture_index;
    return nullptr;
}
