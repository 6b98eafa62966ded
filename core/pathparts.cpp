// Splits paths into drive, folder, base name and extension.
#include "core/pathparts.h"

#include "core/platform.h"

void path_split(const char *path, PathParts *parts) {
    parts->drive[0] = parts->folder[0] = parts->base[0] = parts->ext[0] = 0;
    const char *p = path;
    if (p[0] && p[1] == ':') {
        text_copy_n(parts->drive, p, 2);
        p += 2;
    }
    // Last folder separator and last dot, stepping over double-byte characters.
    const char *last_sep = nullptr;
    const char *last_dot = nullptr;
    for (const char *q = p; *q; ++q) {
        if (plat_is_lead_byte((unsigned char)*q) && q[1]) {
            ++q;
            continue;
        }
        if (*q == '\\' || *q == '/') {
            last_sep = q;
            last_dot = nullptr;
        } else if (*q == '.') {
            last_dot = q;
        }
    }
    const char *name = p;
    if (last_sep) {
        text_copy_n(parts->folder, p, (size_t)(last_sep + 1 - p));
        name = last_sep + 1;
    }
    if (last_dot) {
        text_copy_n(parts->base, name, (size_t)(last_dot - name));
        text_copy(parts->ext, last_dot);
    } else {
        text_copy(parts->base, name);
    }
}

size_t path_folder(const char *path, char *out, size_t out_size) {
    PathParts parts;
    path_split(path, &parts);
    return text_format(out, out_size, "%s%s", parts.drive, parts.folder);
}
