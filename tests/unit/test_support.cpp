// Launcher state and file reading for the unit tests, on any platform.
#include "test_support.h"

#include <cstdio>
#include <cstring>

#include "core/platform.h"
#include "definition/items.h"
#include "definition/listing.h"
#include "definition/loader.h"
#include "definition/search_cache.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "launch/launch_state.h"
#include "menu/menu_state.h"

void reset_launcher_state(const std::string &program_folder) {
    settings_at_start();
    memset(&g_items, 0, sizeof g_items);
    memset(&g_menu, 0, sizeof g_menu);
    memset(&g_launch, 0, sizeof g_launch);
    memset(&g_startup, 0, sizeof g_startup);
    g_listing.count = 0;
    search_cache_reset();
    g_startup.screen_width = 1024;
    g_startup.maximised_height = 740;
    g_startup.mouse_buttons = 3;
    snprintf(g_startup.program_folder, sizeof g_startup.program_folder, "%s",
             program_folder.c_str());
    snprintf(g_startup.program_drive, sizeof g_startup.program_drive, "%.2s",
             program_folder.c_str());
    snprintf(g_startup.default_definition_name, sizeof g_startup.default_definition_name,
             "Tavrik.ini");
    snprintf(g_startup.definition_path, sizeof g_startup.definition_path, "%sTavrik.ini",
             program_folder.c_str());
}

void load_text(const std::string &text) { load_definition_bytes(text.c_str(), text.size()); }

std::string read_file(const std::string &path) {
    char *data;
    size_t size;
    if (!plat_read_file(path.c_str(), 0, &data, &size, nullptr)) return "";
    std::string bytes(data, size);
    plat_free_file(data);
    return bytes;
}
