// Command-line options: "/#s=" definition file, "/#n" text only, "/#m="
// position, "/#w=" target window.
#pragma once

// Applies the options found anywhere in command_line (prefixes in any letter
// case; a value ends at a space or at the end of the line).
void parse_command_line(const char *command_line);
