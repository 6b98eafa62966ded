// Path split and the program paths derived from the program's own file name.
#include "app/paths.h"

#include <cstring>

#include "menudef/platform.h"
#include "menudef/textbuf.h"

AppState g_app;

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

void paths_from_program_file(AppState *app) {
    PathParts parts;
    path_split(app->program_file, &parts);
    text_copy(app->program_base, parts.base);
    text_format(app->default_definition_name, sizeof app->default_definition_name, "%s.ini",
                parts.base);
    text_format(app->program_folder, sizeof app->program_folder, "%s%s", parts.drive, parts.folder);
    text_copy(app->program_drive, parts.drive);
    text_format(app->help_path, sizeof app->help_path, "%s%s", app->program_folder, "Tavrik.txt");
}
