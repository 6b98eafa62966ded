// Command-line options and their value rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "definition/cmdline.h"
#include "definition/startup.h"
#include "definition/settings.h"
#include "test_support.h"

TEST(CommandLine, OptionsAndValues) {
    ScratchFolder dir;
    dir.write("work.ini", "");
    const std::string folder = dir.path(), fallback = folder + "Tavrik.ini";
    struct {
        std::string line, definition;
        int icon_mode, position, x, y;
        intptr_t window;
    } cases[] = {
        {"/#s=work.ini /#m=center", folder + "work.ini", kUnset, PositionCenter, 0, 0, 99},
        {"/#S=WORK.INI", folder + "WORK.INI", kUnset, kUnset, 0, 0, 99},
        {"/#s=My Menu.ini", fallback, kUnset, kUnset, 0, 0, 99},
        {"/#s=\"work.ini\"", fallback, kUnset, kUnset, 0, 0, 99},
        {"/#s=", folder, kUnset, kUnset, 0, 0, 99},
        {"/#s=" + std::string(300, 'a'), fallback, kUnset, kUnset, 0, 0, 99},
        {"x/#nx /#m=100,200 /#w=1234", fallback, 0, PositionPoint, 100, 200, 1234},
        {"/#m=bogus /#w=abc", fallback, kUnset, PositionActive, 0, 0, 0},
        {"/#m= /#w=-5", fallback, kUnset, kUnset, 0, 0, -5},
        {"/#w=" + std::string(300, '1'), fallback, kUnset, kUnset, 0, 0, 99},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        reset_launcher_state(folder);
        g_startup.target_window = 99;
        parse_command_line(c.line.c_str());
        EXPECT_EQ(g_startup.definition_path, c.definition);
        EXPECT_EQ(g_settings.icon_mode, c.icon_mode);
        EXPECT_EQ(g_settings.menu_position, c.position);
        EXPECT_EQ(g_settings.menu_x, c.x);
        EXPECT_EQ(g_settings.menu_y, c.y);
        EXPECT_EQ((intptr_t)g_startup.target_window, c.window);
    }
    // "mouse" without a mouse still takes the position away from the file.
    reset_launcher_state(folder);
    g_startup.mouse_buttons = 0;
    parse_command_line("/#m=mouse");
    EXPECT_EQ(g_settings.menu_position, PositionActive);
}

TEST(Startup, ProgramPathsFollowTheProgramName) {
    startup_begin("D:\\tools\\Menu2.exe", 0);
    EXPECT_STREQ(g_startup.program_base, "Menu2");
    EXPECT_STREQ(g_startup.default_definition_name, "Menu2.ini");
    EXPECT_STREQ(g_startup.program_folder, "D:\\tools\\");
    EXPECT_STREQ(g_startup.program_drive, "D:");
    EXPECT_STREQ(g_startup.help_path, "D:\\tools\\Tavrik.txt");
    EXPECT_STREQ(g_startup.definition_path, "D:\\tools\\Menu2.ini");
}
