// The fuzz targets' drive and launcher state.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/paths.h"
#include "launch/launch_state.h"
#include "menu/listing.h"
#include "menudef/items.h"
#include "menudef/settings.h"
#include "native/native_drive.h"

void fuzz_fail(const char *what, const char *file, int line) {
    fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    abort();
}

void fuzz_prepare_drive() {
    static bool done = false;
    if (done) return;
    done = true;
    native_make_system_folders();
    native_write_file("C:\\Tavrik\\ed.exe", "MZ");
    native_write_file("C:\\Tavrik\\Tool Two.exe", "MZ");
    native_write_file("C:\\Tavrik\\list\\a.exe", "MZ");
    native_write_file("C:\\Tavrik\\list\\b.lnk", "MZ");
    native_write_file("C:\\Tavrik\\list\\note.txt", "x");
    native_write_file("C:\\Tavrik\\list\\sub\\c.exe", "MZ");
    native_write_file("C:\\Tavrik\\paths.txt", "PATH=C:\\Tavrik\\list;C:\\windows\r\n");
    native_set_current_folder("C:\\Tavrik\\");
}

void fuzz_reset_state() {
    memset(&g_settings, 0, sizeof g_settings);
    memset(&g_items, 0, sizeof g_items);
    memset(&g_launch, 0, sizeof g_launch);
    g_listing.count = 0;
    g_settings.icon_mode = kUnset;
    g_settings.menu_position = kUnset;
    g_app.screen_width = 1024;
    g_app.maximised_height = 740;
    g_app.mouse_buttons = 3;
    snprintf(g_app.program_folder, sizeof g_app.program_folder, "C:\\Tavrik\\");
    snprintf(g_app.program_drive, sizeof g_app.program_drive, "C:");
    snprintf(g_app.default_definition_name, sizeof g_app.default_definition_name, "Tavrik.ini");
    snprintf(g_app.definition_path, sizeof g_app.definition_path, "C:\\Tavrik\\Tavrik.ini");
    snprintf(g_settings.delimiter, sizeof g_settings.delimiter, " | ");
}

std::vector<std::string> fuzz_split(const uint8_t *data, size_t size, size_t max_parts) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < max_parts) {
            parts.emplace_back();
        } else {
            parts.back() += (char)data[i];
        }
    }
    return parts;
}

bool fuzz_terminated(const char *text, size_t size) { return memchr(text, 0, size) != nullptr; }
