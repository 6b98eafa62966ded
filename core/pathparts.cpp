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

static int is_ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int path_is_shell_location(const char *text) {
    if (!is_ascii_letter(text[0])) return 0;
    size_t at = 1;
    while (is_ascii_letter(text[at]) || (text[at] >= '0' && text[at] <= '9') || text[at] == '+' ||
           text[at] == '-' || text[at] == '.')
        ++at;
    if (at < 2 || text[at] != ':') return 0;
    for (const char *p = text + at; *p; ++p)
        if ((unsigned char)*p < 0x20 || *p == 0x7f) return 0;
    return 1;
}
