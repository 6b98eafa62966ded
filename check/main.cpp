// tavrik-check: reads a menu definition as the launcher would and reports on it.
//
//   tavrik-check [definition-file]
//
// Without an argument it checks the file that Tavrik.exe beside it would load.
// Exit code 0: no findings, 1: findings, 2: the file cannot be read.
#include <windows.h>
#include <shlwapi.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/paths.h"
#include "check/collector.h"
#include "check/messages.h"
#include "check/report.h"
#include "menudef/loader.h"
#include "menudef/platform.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

namespace {

// TAVRIK_CHECK_LANG=en or =ja chooses the language (the tests use it);
// otherwise Japanese when the user's interface language is Japanese.
CheckLanguage pick_language() {
    const char *forced = getenv("TAVRIK_CHECK_LANG");
    if (forced && !_stricmp(forced, "en")) return CheckEnglish;
    if (forced && !_stricmp(forced, "ja")) return CheckJapanese;
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? CheckJapanese
                                                                      : CheckEnglish;
}

// The report goes out as bytes, with CR LF line ends.
void write_out(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    size_t at = 0;
    while (at < out.size() &&
           WriteFile(handle, out.data() + at, (DWORD)(out.size() - at), &written, nullptr) &&
           written > 0)
        at += written;
}

// The paths of the launcher beside this program: its folder, "Tavrik.ini".
void launcher_paths() {
    char own[520];
    GetModuleFileNameA(nullptr, own, sizeof own);
    PathUnquoteSpacesA(own);
    PathParts parts;
    path_split(own, &parts);
    text_format(g_app.program_file, sizeof g_app.program_file, "%s%sTavrik.exe", parts.drive,
                parts.folder);
    paths_from_program_file(&g_app);
    g_app.screen_width = GetSystemMetrics(SM_CXSCREEN);
    g_app.maximised_height = GetSystemMetrics(SM_CYMAXIMIZED);
    g_app.mouse_buttons = GetSystemMetrics(SM_CMOUSEBUTTONS);
}

}  // namespace

int main(int argc, char **argv) {
    CheckLanguage language = pick_language();
    if (argc > 2 || (argc == 2 && (!strcmp(argv[1], "/?") || !strcmp(argv[1], "--help")))) {
        write_out(std::string(check_text(language, TxtUsage)) + "\n");
        return 2;
    }
    launcher_paths();
    int would_create = 0;
    if (argc == 2) {
        // A file named here is read as it is, with none of the launcher's fallbacks.
        DWORD n =
            GetFullPathNameA(argv[1], sizeof g_app.definition_path, g_app.definition_path, nullptr);
        if (n == 0 || n >= sizeof g_app.definition_path) {
            write_out(check_format(check_text(language, TxtCannotRead), argv[1]) + "\n");
            return 2;
        }
    } else {
        text_format(g_app.definition_path, sizeof g_app.definition_path, "%s%s",
                    g_app.program_folder, g_app.default_definition_name);
        would_create = choose_definition_file();
    }
    char *text = nullptr;
    size_t length = 0;
    // Never created: the checker only reads.
    if (!plat_read_file(g_app.definition_path, 0, &text, &length, &g_settings.definition_time)) {
        std::string message =
            check_format(check_text(language, TxtCannotRead), g_app.definition_path) + "\n";
        if (would_create && !plat_exists(g_app.definition_path))
            message += std::string(check_text(language, TxtWouldCreate)) + "\n";
        write_out(message);
        return 2;
    }
    static CheckResult result;
    check_definition_text(text, length, &result);
    plat_free_file(text);
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    write_out(check_report(result, language, g_app.definition_path, current));
    return result.findings.empty() ? 0 : 1;
}
