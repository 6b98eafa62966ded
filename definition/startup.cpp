// The program paths derived from the program's own file name, and the other
// facts of the start.
#include "definition/startup.h"

#include <cstring>

#include "core/pathparts.h"
#include "core/platform.h"
#include "definition/settings.h"

StartupFacts g_startup;

void startup_begin(const char *program_file, intptr_t foreground_window) {
    StartupFacts &s = g_startup;
    PathParts parts;
    path_split(program_file, &parts);
    text_copy(s.program_base, parts.base);
    text_format(s.default_definition_name, sizeof s.default_definition_name, "%s.ini", parts.base);
    path_folder(program_file, s.program_folder, sizeof s.program_folder);
    text_copy(s.program_drive, parts.drive);
    text_format(s.help_path, sizeof s.help_path, "%s%s", s.program_folder,
                plat_ui_is_japanese() ? "Tavrik.txt" : "Tavrik-en.txt");
    plat_screen(&s.screen_width, &s.maximised_height, &s.mouse_buttons);
    s.target_window = foreground_window;
    startup_use_default_definition();
    settings_at_start();
}

void startup_use_default_definition() {
    startup_use_definition_name(g_startup.default_definition_name);
}

int startup_use_definition_name(const char *name) {
    size_t wanted = strlen(g_startup.program_folder) + strlen(name);
    return text_format(g_startup.definition_path, sizeof g_startup.definition_path, "%s%s",
                       g_startup.program_folder, name) == wanted;
}

void startup_use_definition_path(const char *path) { text_copy(g_startup.definition_path, path); }
