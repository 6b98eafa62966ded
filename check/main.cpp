// tavrik-check: reads a menu definition as the launcher would and reports on it.
//
//   tavrik-check [definition-file]
//
// Without an argument it checks the file that Tavrik.exe beside it would load.
// Exit code 0: no findings, 1: findings, 2: the file cannot be read.
#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <string>

#include "check/collector.h"
#include "check/messages.h"
#include "check/report.h"
#include "core/pathparts.h"
#include "core/platform.h"
#include "definition/loader.h"
#include "definition/startup.h"

namespace {

// The report goes out as bytes, with CR LF line ends.
void write_out(const std::string &text) {
    std::string out = check_crlf(text);
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    size_t at = 0;
    while (at < out.size() &&
           WriteFile(handle, out.data() + at, (DWORD)(out.size() - at), &written, nullptr) &&
           written > 0)
        at += written;
}

// The start-up facts of the launcher beside this program: its folder,
// "Tavrik.ini".
void launcher_paths() {
    char own[2 * kPathSize];
    GetModuleFileNameA(nullptr, own, sizeof own);
    PathUnquoteSpacesA(own);
    char launcher[2 * kPathSize];
    path_folder(own, launcher, sizeof launcher);
    text_append(launcher, "Tavrik.exe");
    startup_begin(launcher, 0);
}

}  // namespace

int main(int argc, char **argv) {
    CheckLanguage language = check_language();
    if (argc > 2 || (argc == 2 && (!strcmp(argv[1], "/?") || !strcmp(argv[1], "--help")))) {
        write_out(std::string(check_text(language, TxtUsage)) + "\n");
        return 2;
    }
    launcher_paths();
    int would_create = 0;
    if (argc == 2) {
        // A file named here is read as it is, with none of the launcher's fallbacks.
        char full[kPathSize];
        DWORD n = GetFullPathNameA(argv[1], sizeof full, full, nullptr);
        if (n == 0 || n >= sizeof full) {
            write_out(check_format(check_text(language, TxtCannotRead), argv[1]) + "\n");
            return 2;
        }
        startup_use_definition_path(full);
    } else {
        would_create = choose_definition_file();
    }
    const char *path = g_startup.definition_path;
    static CheckResult result;
    // Never created: the checker only reads.
    if (!check_definition_file(path, &result)) {
        std::string message = check_format(check_text(language, TxtCannotRead), path) + "\n";
        if (would_create && !plat_exists(path))
            message += std::string(check_text(language, TxtWouldCreate)) + "\n";
        for (const CheckFinding &f : result.findings) message += check_finding_text(f, language);
        write_out(message);
        return 2;
    }
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    write_out(check_report(result, language, path, current));
    return result.findings.empty() ? 0 : 1;
}
