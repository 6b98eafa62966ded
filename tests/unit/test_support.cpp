// Launcher state and file reading for the unit tests, on any platform.
#include "test_support.h"

#include <cstdio>
#include <cstring>

#include "app/paths.h"
#include "launch/launch_state.h"
#include "menu/listing.h"
#include "menudef/items.h"
#include "menudef/loader.h"
#include "menudef/platform.h"
#include "menudef/settings.h"

void reset_launcher_state(const std::string &program_folder) {
    memset(&g_settings, 0, sizeof g_settings);
    memset(&g_items, 0, sizeof g_items);
    memset(&g_launch, 0, sizeof g_launch);
    g_listing.count = 0;
    g_settings.icon_mode = kUnset;
    g_settings.menu_position = kUnset;
    g_app.screen_width = 1024;
    g_app.maximised_height = 740;
    g_app.mouse_buttons = 3;
    snprintf(g_app.program_folder, sizeof g_app.program_folder, "%s", program_folder.c_str());
    snprintf(g_app.program_drive, sizeof g_app.program_drive, "%.2s", program_folder.c_str());
    snprintf(g_app.default_definition_name, sizeof g_app.default_definition_name, "Tavrik.ini");
    snprintf(g_app.definition_path, sizeof g_app.definition_path, "%sTavrik.ini",
             program_folder.c_str());
}

void load_text(const std::string &text) { load_definition_text(text.c_str(), text.size()); }

std::string read_file(const std::string &path) {
    char *data;
    size_t size;
    if (!plat_read_file(path.c_str(), 0, &data, &size, nullptr)) return "";
    std::string bytes(data, size);
    plat_free_file(data);
    return bytes;
}
