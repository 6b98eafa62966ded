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

// Runs the [system] and [launch] passes over text.
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
