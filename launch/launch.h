// Launching through the shell: the working folder, the parameters and the
// files collected for a multi-file token.
#pragma once

// Runs program with parameters (with_parameters 1) or without them (0). When
// no file exists at program, the parameter text itself is opened.
void launch_program(const char *program, const char *parameters, int with_parameters);

// Builds the parameter text from the selected path list in place of the
// multi-file token and runs program in working_folder.
void launch_with_selected_paths(const char *parameters, const char *program,
                                const char *working_folder);

// The shell call every launch ends in; tests replace it to see the launches.
extern void (*shell_open)(const char *file, const char *parameters, const char *folder);
