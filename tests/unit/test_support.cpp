// Scratch folders and launcher state for the unit tests.
#include "test_support.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "app/paths.h"
#include "launch/launch_state.h"
#include "menu/listing.h"
#include "menudef/items.h"
#include "menudef/loader.h"
#include "menudef/settings.h"

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "tavrik_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    std::string from = path_.substr(0, path_.size() - 1);
    from.push_back(0);  // the list ends with two NULs
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

std::string ScratchFolder::make_folder(const std::string &relative) const {
    std::string full = path_;
    for (char c : relative) {
        if (c == '\\') CreateDirectoryA(full.c_str(), nullptr);
        full.push_back(c);
    }
    CreateDirectoryA(full.c_str(), nullptr);
    return full;
}

std::string ScratchFolder::write(const std::string &relative, const std::string &bytes) const {
    size_t slash = relative.rfind('\\');
    if (slash != std::string::npos) make_folder(relative.substr(0, slash));
    std::string full = path_ + relative;
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
}

void reset_launcher_state(const std::string &program_folder) {
    memset(&g_settings, 0, sizeof g_settings);
    memset(&g_items, 0, sizeof g_items);
    memset(&g_launch, 0, sizeof g_launch);
    g_listing.count = 0;
    g_settings.icon_mode = kUnset;
    g_settings.menu_position = kUnset;
    g_app.screen_width = 1024;
    g_app.maximised_height = 740;
    g_app.mouse_buttons = 3;
    snprintf(g_app.program_folder, sizeof g_app.program_folder, "%s", program_folder.c_str());
    snprintf(g_app.program_drive, sizeof g_app.program_drive, "%.2s", program_folder.c_str());
    snprintf(g_app.default_definition_name, sizeof g_app.default_definition_name, "Tavrik.ini");
    snprintf(g_app.definition_path, sizeof g_app.definition_path, "%sTavrik.ini",
             program_folder.c_str());
}

void load_text(const std::string &text) { load_definition_text(text.c_str(), text.size()); }

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
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
