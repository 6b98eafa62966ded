// Shared test helpers: a scratch folder, the current folder and a clean launcher state.
#pragma once

#include <string>
#include <vector>

// A new empty folder under the system temp folder (C:\temp on the native
// build's drive), removed with its contents at the end of the test. path()
// ends with a backslash.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string &path() const { return path_; }
    // Writes bytes to a file below the folder (creating subfolders); returns
    // its full path.
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

// The folder relative names start from; the temp folder; deleting a file.
void set_current_folder(const std::string &folder);
std::string temp_folder();
void delete_file(const std::string &path);

// Sets (value null: removes) an environment variable of this process.
void set_environment(const std::string &name, const char *value);
// Registers (value null: removes) an App Paths entry "name.exe" of the
// current user (machine 0) or of the machine (1).
void set_app_path(int machine, const std::string &exe_name, const char *value);

// A case of a stage's cases.txt: a line "== kind arguments...", the input
// lines, "=>", then the expected lines (blank lines and "#" comments left
// out). In input lines "{CR}", "{TAB}", "{LF}", "{xNN}" and "{N*text}" (text
// N times) stand for what a line cannot show; "{EOF}" ends the input there,
// without a final line feed.
struct Case {
    int line;
    std::vector<std::string> head;
    std::string input;
    std::vector<std::string> expected;
};
std::vector<Case> read_cases(const char *text);
