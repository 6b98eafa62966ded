// The checker's report: menu tree, changed settings and findings as text.
#pragma once

#include <string>

#include "check/collector.h"
#include "check/messages.h"

// Fills "%1", "%2" and "%3" of a text.
std::string check_format(const char *text, const std::string &a1 = "", const std::string &a2 = "",
                         const std::string &a3 = "");

// One finding, with the resolution steps that were tried below it; lines end
// with "\n".
std::string check_finding_text(const CheckFinding &finding, CheckLanguage language);

// The whole report on the definition now in g_items and g_settings. Control
// bytes of the definition's own texts are shown as "?".
std::string check_report(const CheckResult &result, CheckLanguage language,
                         const std::string &definition_path, const std::string &current_folder);

// The text with CR LF line ends, as files and the console want it.
std::string check_crlf(const std::string &text);
