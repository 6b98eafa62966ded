// Scratch folders, the current folder and file drops for the tests under Wine.
#include "test_support.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

std::string temp_folder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

}  // namespace

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    path_ = temp_folder() + "tavrik_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    make_folders(path_);
}

ScratchFolder::~ScratchFolder() {
    set_current_folder(temp_folder());  // the current folder cannot be removed
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void make_folders(const std::string &path) { SHCreateDirectoryExA(nullptr, path.c_str(), nullptr); }

void write_file(const std::string &path, const std::string &bytes) {
    make_folders(path.substr(0, path.rfind('\\')));
    std::ofstream(path, std::ios::binary) << bytes;
}

void *make_file_drop(const std::vector<std::string> &paths) {
    std::string list;
    for (const std::string &p : paths) list += p + std::string(1, '\0');
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto *drop = (DROPFILES *)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    memcpy((char *)drop + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return memory;
}

void set_current_folder(const std::string &folder) { SetCurrentDirectoryA(folder.c_str()); }

void set_environment(const std::string &name, const char *value) {
    SetEnvironmentVariableA(name.c_str(), value);
}

void set_app_path(int machine, const std::string &exe_name, const char *value) {
    std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + exe_name;
    HKEY root = machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    if (value) {
        RegSetKeyValueA(root, key.c_str(), nullptr, REG_SZ, value, (DWORD)strlen(value) + 1);
    } else {
        RegDeleteKeyA(root, key.c_str());
    }
}
