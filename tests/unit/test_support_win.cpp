// Scratch folders, the current folder and file drops for the tests under Wine.
#include "test_support.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
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
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    set_current_folder(temp_folder());  // the current folder cannot be removed
    std::string from = path_.substr(0, path_.size() - 1);
    from.push_back(0);  // the list ends with two NULs
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

std::string ScratchFolder::make_folder(const std::string &relative) const {
    SHCreateDirectoryExA(nullptr, (path_ + relative).c_str(), nullptr);
    return path_ + relative;
}

std::string ScratchFolder::write(const std::string &relative, const std::string &bytes) const {
    size_t slash = relative.rfind('\\');
    if (slash != std::string::npos) make_folder(relative.substr(0, slash));
    std::string full = path_ + relative;
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
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
