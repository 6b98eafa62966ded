// Runs the definition checker from the menu and opens its report.
#include "app/check_item.h"

#include <string>

#include "check/collector.h"
#include "check/messages.h"
#include "check/report.h"
#include "definition/loader.h"
#include "definition/startup.h"
#include "launch/dispatch.h"

namespace {

// The report, made while the checker's load is in the tables.
void make_report(void *context) {
    std::string &report = *(std::string *)context;
    static CheckResult result;  // large: kept off the stack
    CheckLanguage language = check_language();
    const char *path = g_startup.definition_path;
    if (!check_definition_file(path, &result)) {
        report = check_format(check_text(language, TxtCannotRead), path) + "\n";
        for (const CheckFinding &f : result.findings) report += check_finding_text(f, language);
        return;
    }
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    report = check_report(result, language, path, current);
}

// Writes the whole text to path, replacing what was there.
int write_report(const char *path, const std::string &text) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr) &&
              written == text.size();
    return CloseHandle(file) && ok;
}

}  // namespace

int run_check_item() {
    std::string report;
    char path[MAX_PATH];
    DWORD n = GetTempPathA(sizeof path, path);
    if (n == 0 || n + sizeof "Tavrik-check.txt" > sizeof path) return 0;
    text_append(path, "Tavrik-check.txt");
    if (!keep_loaded_definition(make_report, &report) || !write_report(path, check_crlf(report)))
        return 0;
    open_in_editor(path);
    return 1;
}
