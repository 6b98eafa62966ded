// Launcher state and file reading for the unit tests, on any platform.
#include "test_support.h"

#include <cstring>
#include <sstream>

#include "core/platform.h"
#include "core/text.h"
#include "definition/items.h"
#include "definition/listing.h"
#include "definition/loader.h"
#include "definition/search_cache.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "launch/launch_state.h"
#include "menu/menu_state.h"

void reset_launcher_state(const std::string &program_folder) {
    settings_at_start();
    memset(&g_items, 0, sizeof g_items);
    memset(&g_menu, 0, sizeof g_menu);
    memset(&g_launch, 0, sizeof g_launch);
    memset(&g_startup, 0, sizeof g_startup);
    g_listing.count = 0;
    search_cache_reset();
    g_startup.screen_width = 1024;
    g_startup.maximised_height = 740;
    g_startup.mouse_buttons = 3;
    text_copy(g_startup.program_folder, program_folder.c_str());
    text_copy_n(g_startup.program_drive, program_folder.c_str(), 2);
    text_copy(g_startup.default_definition_name, "Tavrik.ini");
    text_copy(g_startup.definition_path, (program_folder + "Tavrik.ini").c_str());
}

std::string ScratchFolder::make_folder(const std::string &relative) const {
    make_folders(path_ + relative);
    return path_ + relative;
}

std::string ScratchFolder::write(const std::string &relative, const std::string &bytes) const {
    write_file(path_ + relative, bytes);
    return path_ + relative;
}

void load_text(const std::string &text) { load_definition_bytes(text.c_str(), text.size()); }

std::string read_file(const std::string &path) {
    char *data;
    size_t size;
    if (!plat_read_file(path.c_str(), 0, &data, &size, nullptr)) return "";
    std::string bytes(data, size);
    plat_free_file(data);
    return bytes;
}

namespace {

std::string unescape(const std::string &s) {
    static const char *const named[][2] = {{"CR", "\r"}, {"TAB", "\t"}, {"LF", "\n"}};
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        size_t end = i;
        for (int depth = 0; s[i] == '{' && end < s.size(); ++end)
            if ((depth += (s[end] == '{') - (s[end] == '}')) == 0) break;
        std::string token = s[i] == '{' && end < s.size() ? s.substr(i + 1, end - i - 1) : "",
                    piece = "?";
        for (auto &n : named)
            if (token == n[0]) piece = n[1];
        if (token.size() == 3 && token[0] == 'x')
            piece = (char)std::stoi(token.substr(1), nullptr, 16);
        size_t star = token.find('*');
        if (star != std::string::npos && isdigit((unsigned char)token[0])) {
            piece.clear();
            for (int n = std::stoi(token); n > 0; --n) piece += unescape(token.substr(star + 1));
        }
        if (end == i || piece == "?") {
            out += s[i];
        } else {
            out += piece;
            i = end;
        }
    }
    return out;
}

}  // namespace

std::string Case::option(const std::string &name, const std::string &otherwise) const {
    for (const std::string &word : head)
        if (word.compare(0, name.size() + 1, name + "=") == 0)
            return unescape(word.substr(name.size() + 1));
    return otherwise;
}

int Case::number(const std::string &name, int otherwise) const {
    return std::stoi(option(name, std::to_string(otherwise)));
}

std::vector<Case> read_cases(const char *text) {
    std::vector<Case> cases;
    std::istringstream lines(text);
    bool input = false;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.compare(0, 3, "== ") == 0) {
            cases.push_back(Case{number, {}, "", {}});
            std::istringstream words(line.substr(3));
            for (std::string word; words >> word;) cases.back().head.push_back(word);
            input = true;
        } else if (input && line == "=>") {
            input = false;
        } else if (input) {
            size_t eof = line.find("{EOF}");
            cases.back().input +=
                unescape(line.substr(0, eof)) + (eof == std::string::npos ? "\n" : "");
        } else if (!cases.empty() && !line.empty() && line[0] != '#') {
            cases.back().expected.push_back(unescape(line));
        }
    }
    return cases;
}
