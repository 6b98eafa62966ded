// Answers of the platform seam that are plain text work, the same on every system.
#include <cstring>

#include "core/platform.h"

void plat_add_backslash(char *path, size_t size) {
    size_t len = strlen(path);
    if (len == 0 || text_ends_with_backslash(path) || len + 1 >= size) return;
    path[len] = '\\';
    path[len + 1] = 0;
}
