// Shared test helpers: a scratch folder, the current folder and a clean launcher state.
#pragma once

#include <string>
#include <vector>

// A new empty folder in the temp folder, removed with its contents; path() ends in a backslash.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string &path() const { return path_; }
    // Both create missing subfolders and return the full path.
    std::string write(const std::string &relative, const std::string &bytes) const;
    std::string make_folder(const std::string &relative) const;

private:
    std::string path_;
};

// Settings, item table and program paths as at program start: nothing chosen
// yet, the program in program_folder, a 1024 x 740 screen with a mouse.
void reset_launcher_state(const std::string &program_folder = "C:\\Tavrik\\");

// Loads text as the bytes of a definition file (converted when UTF-8 or UTF-16).
void load_text(const std::string &text);

// A drop handle (HDROP) holding paths, as the shell makes for a file drop or
// a file list on the clipboard.
void *make_file_drop(const std::vector<std::string> &paths);

// Reads a whole file, or "" when it cannot.
std::string read_file(const std::string &path);

// The folder relative names start from (the temp folder again once a
// scratch folder is removed).
void set_current_folder(const std::string &folder);
// A folder (a full path) and its missing parents; a file, its folder made too.
void make_folders(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);

// Sets (value null: removes) an environment variable of this process.
void set_environment(const std::string &name, const char *value);
// Registers (value null: removes) an App Paths entry "name.exe" of the
// current user (machine 0) or of the machine (1).
void set_app_path(int machine, const std::string &exe_name, const char *value);

// The cases of a stage's cases.txt (the format: docs/development.md, Tests).
struct Case {
    int line;
    std::vector<std::string> head;
    std::string input;
    std::vector<std::string> expected;
    // The value of a head word "name=value" (escapes as in lines), or otherwise.
    std::string option(const std::string &name, const std::string &otherwise = "") const;
    int number(const std::string &name, int otherwise) const;
};
std::vector<Case> read_cases(const char *text);
