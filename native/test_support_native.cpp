// Scratch folders and the process's settings for the native unit tests, on
// the native drive.
#include <ftw.h>
#include <unistd.h>

#include <cstdlib>

#include "native/native_drive.h"
#include "test_support.h"

namespace {

int remove_entry(const char *path, const struct stat *, int, struct FTW *) { return remove(path); }

}  // namespace

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    path_ = "C:\\temp\\tavrik_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter) +
            "\\";
    native_make_folder(path_);
}

ScratchFolder::~ScratchFolder() {
    native_set_current_folder("C:\\temp\\");
    nftw(native_host_path(path_.c_str()).c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string ScratchFolder::make_folder(const std::string &relative) const {
    native_make_folder(path_ + relative);
    return path_ + relative;
}

std::string ScratchFolder::write(const std::string &relative, const std::string &bytes) const {
    native_write_file(path_ + relative, bytes);
    return path_ + relative;
}

void set_current_folder(const std::string &folder) { native_set_current_folder(folder.c_str()); }

void set_environment(const std::string &name, const char *value) {
    value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
}

void set_app_path(int machine, const std::string &exe_name, const char *value) {
    native_set_app_path(machine, exe_name.c_str(), value);
}
