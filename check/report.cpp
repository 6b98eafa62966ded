// Writes the checker's report from the item table, the settings and the findings.
#include "check/report.h"

#include <cstdio>
#include <vector>

#include "core/encoding.h"

namespace {

struct Writer {
    std::string out;
    CheckLanguage language;

    const char *text(CheckText id) const { return check_text(language, id); }
    std::string line_label(int line) const {
        return check_format(text(TxtLine), std::to_string(line)) + ": ";
    }
};

std::string yes_no(const Writer &w, int flag) { return w.text(flag ? TxtYes : TxtNo); }

// --- menu tree -------------------------------------------------------------------

// For each row: 1 when it is a "{" row that no "}" closes.
std::vector<char> unclosed_rows() {
    std::vector<char> unclosed(g_items.item_count, 0);
    std::vector<int> open;
    for (int row = 0; row < g_items.item_count; ++row) {
        if (g_items.kind[row] == SubmenuBegin) open.push_back(row);
        if (g_items.kind[row] == SubmenuEnd && !open.empty()) open.pop_back();
    }
    for (int row : open) unclosed[row] = 1;
    return unclosed;
}

int listed_files(int folder_row) {
    int count = 0;
    for (int row = folder_row + 1; row < g_items.item_count; ++row) {
        if (g_items.kind[row] == SubmenuEnd) break;
        ++count;
    }
    return count;
}

std::string row_text(const Writer &w, int row, const std::vector<char> &unclosed) {
    const ItemTable &t = g_items;
    std::string title = t.title[row];
    std::string target = t.target[row];
    switch (t.kind[row]) {
    case Entry: {
        std::string s = title + "  ->  " + target;
        if (t.variant_count[row] == 1) s += "  (" + std::string(w.text(TxtOneVariant)) + ")";
        if (t.variant_count[row] > 1)
            s += "  (" + check_format(w.text(TxtVariants), std::to_string(t.variant_count[row])) +
                 ")";
        return s;
    }
    case Variant:
    case SoleVariant:
        return "  > " + title + (target != title ? "  [" + target + "]" : "");
    case Separator:
        return "--------";
    case ColumnBreak:
        return w.text(TxtColumnBreak);
    case SubmenuBegin:
        if (!target.empty()) {
            return title + "  ->  " + target + "  (" +
                   check_format(w.text(TxtFolderListing), std::to_string(listed_files(row))) + ")";
        }
        return "{" + title + (unclosed[row] ? "  " + std::string(w.text(TxtNeverClosed)) : "");
    case SubmenuEnd:
        return "}";
    default:
        return "?";
    }
}

void append_tree(Writer &w, const CheckResult &r) {
    w.out += std::string(w.text(TxtMenu)) + "\n";
    std::vector<char> unclosed = unclosed_rows();
    std::vector<char> open_is_folder;
    for (int row = 0; row < g_items.item_count; ++row) {
        int kind = g_items.kind[row];
        bool in_listing = !open_is_folder.empty() && open_is_folder.back();
        if (kind == SubmenuBegin) open_is_folder.push_back(g_items.target[row][0] != 0);
        if (kind == SubmenuEnd && !open_is_folder.empty()) open_is_folder.pop_back();
        if (kind == SubmenuEnd && in_listing) continue;  // the listing's own end
        std::string number = in_listing ? "" : std::to_string(r.row_line[row]);
        int level = g_items.level[row] - (kind == SubmenuEnd ? 1 : 0);
        w.out += std::string(number.size() < 6 ? 6 - number.size() : 0, ' ') + number + "  " +
                 std::string(2 * (level > 0 ? level : 0), ' ') + row_text(w, row, unclosed) + "\n";
    }
    if (g_items.item_count == 0) {
        w.out += "        " + std::string(w.text(TxtSystemEntryAdded)) + "\n";
    } else {
        CheckText system = g_settings.system_entry_always ? TxtSystemEntry : TxtSystemEntryIfEmpty;
        w.out += "        " + std::string(w.text(system)) + "\n";
    }
}

// --- settings -------------------------------------------------------------------

std::string setting_text(const Writer &w, CheckSetting setting) {
    const LauncherSettings &s = g_settings;
    switch (setting) {
    case SettingIcon:
        return w.text(s.icon_mode == 2 ? SetIconOwnerDraw : SetIconBitmaps);
    case SettingPosition:
        switch (s.menu_position) {
        case PositionPoint:
            return check_format(w.text(SetPositionPoint), std::to_string(s.menu_x),
                                std::to_string(s.menu_y));
        case PositionMouse:
            return w.text(SetPositionMouse);
        case PositionMouse2:
            return w.text(SetPositionMouse2);
        case PositionCenter:
            return w.text(SetPositionCenter);
        default:
            return w.text(SetPositionActive);
        }
    case SettingFiler:
        if (!s.filer_path[0]) return w.text(SetFilerOnly);
        return check_format(w.text(SetFiler), s.filer_path);
    case SettingEditor:
        return check_format(w.text(SetEditor), s.editor_path);
    case SettingDelays:
        return check_format(w.text(SetDelays), std::to_string(s.first_launch_delay),
                            std::to_string(s.next_launch_delay));
    case SettingMark:
        return w.text(SetMark);
    case SettingFolder:
        return check_format(w.text(SetFolder),
                            s.folder_depth ? std::to_string(s.folder_depth) : w.text(TxtAll),
                            yes_no(w, s.folder_sort), yes_no(w, s.folder_access_keys));
    case SettingFilters: {
        std::string list;
        for (int i = 0; i < s.filter_count; ++i)
            list += (i ? " " : "") + std::string(s.filter_exts[i]);
        return check_format(w.text(SetFilters), list);
    }
    case SettingSysmenu:
        return w.text(SetSysmenu);
    case SettingActive:
        return w.text(SetActive);
    case SettingInputText:
        return check_format(w.text(SetInputText), s.input_initial_text);
    case SettingInputTitle:
        if (s.input_title_mode == 1) return w.text(SetInputTitleAuto);
        return check_format(w.text(SetInputTitle), s.input_title);
    case SettingParams: {
        std::string text = check_format(w.text(SetParams), std::to_string(s.param_count));
        for (int i = 0; i < s.param_count; ++i)
            text += "\n" + check_format(w.text(SetParam), s.param_names[i], s.param_values[i]);
        return text;
    }
    case SettingDelimiter:
        return check_format(w.text(SetDelimiter), s.delimiter);
    case SettingSearchList:
        return check_format(w.text(SetSearchList), s.search_list);
    case SettingFont:
        return check_format(w.text(SetFont), s.font_face, std::to_string(s.font_size),
                            std::to_string(s.font_weight));
    default:
        return "";
    }
}

void append_settings(Writer &w, const CheckResult &r) {
    w.out += "\n" + std::string(w.text(TxtSettings)) + "\n";
    bool any = false;
    for (int i = 0; i < kCheckSettingCount; ++i) {
        if (!check_setting_differs(r, (CheckSetting)i)) continue;
        any = true;
        int line = r.setting_line[i];
        w.out += "  " + (line ? w.line_label(line) : "") + setting_text(w, (CheckSetting)i) + "\n";
    }
    if (!any) w.out += "  " + std::string(w.text(TxtNone)) + "\n";
}

// --- findings -------------------------------------------------------------------

const CheckText kFieldNames[] = {
    FieldNameTitle,      FieldNameParameters, FieldNameDelimiter,  FieldNameParamName,
    FieldNameParamValue, FieldNameInputText,  FieldNameInputTitle, FieldNameFilterExt,
    FieldNameSearchList, FieldNameValue,
};

const CheckText kFallBacks[] = {
    FellPositionWord,  FellPositionNoMouse, FellPositionMaxCase, FellFontSize,   FellFontWeight,
    FellFontFaceEmpty, FellDelay,           FellFolderDepth,     FellFolderSort,
};

template <size_t N>
CheckText pick(const CheckText (&table)[N], long index) {
    return index >= 0 && index < (long)N ? table[index] : table[0];
}

bool is_blank(const std::string &text) { return text.find_first_not_of(' ') == std::string::npos; }

std::string filter_list() {
    std::string list;
    for (int i = 0; i < g_settings.filter_count; ++i)
        list += (i ? " " : "") + std::string(g_settings.filter_exts[i]);
    return list;
}

std::string finding_message(const Writer &w, const CheckFinding &f) {
    switch (f.kind) {
    case DiagEntryNotFound:
        if (is_blank(f.text)) return w.text(FindEntryEmpty);
        return check_format(w.text(FindEntryNotFound), f.text);
    case DiagMarkerAsEntry:
        switch (f.number) {
        case '+':
            return w.text(FindPlusAsEntry);
        case '-':
            return w.text(FindMinusAsEntry);
        case '>':
            return w.text(FindVariantAsEntry);
        default:
            return w.text(FindBraceAsEntry);
        }
    case DiagUnmatchedClose:
        return w.text(FindUnmatchedClose);
    case DiagUnclosedSubmenu:
        return check_format(w.text(FindUnclosedSubmenu), f.text);
    case DiagSectionRunsOn:
        return w.text(f.number == 0 ? FindSystemRunsOn : FindLaunchRunsOn);
    case DiagTableFull:
        return check_format(w.text(FindTableFull), std::to_string(f.number));
    case DiagLineCut:
        return check_format(w.text(FindLineCut), std::to_string(f.number));
    case DiagFieldCut:
        return check_format(w.text(FindFieldCut), w.text(pick(kFieldNames, f.number)),
                            std::to_string(f.number2), std::to_string(f.number3));
    case DiagDirectiveUnknown:
        return check_format(w.text(FindDirectiveUnknown), f.text);
    case DiagDirectiveTooShort:
        return check_format(w.text(FindDirectiveTooShort), f.text, std::to_string(f.number));
    case DiagDirectiveNoEffect:
        return check_format(w.text(FindDirectiveNoEffect), f.text);
    case DiagValueFellBack:
        return check_format(w.text(pick(kFallBacks, f.number)), f.text);
    case DiagProgramNotFound:
        return check_format(w.text(f.number2 ? FindProgramIsFolder : FindProgramNotFound), f.text,
                            f.number == 0 ? "@editor=" : "@filer=");
    case DiagSearchListUnread:
        return check_format(w.text(FindSearchListUnread), f.text);
    case DiagTooManyFilters:
        return check_format(w.text(FindTooManyFilters), f.text);
    case DiagTooManyParams:
        return w.text(FindTooManyParams);
    case DiagFolderEmpty:
        return check_format(w.text(FindFolderEmpty), f.text, filter_list());
    case DiagFolderNotListed:
        return check_format(w.text(FindFolderNotListed), f.text);
    case DiagListingFull:
        return check_format(w.text(FindListingFull), f.text);
    case DiagListingCut:
        return check_format(w.text(FindListingCut), std::to_string(f.number));
    case DiagLastLineNoEol:
        return w.text(FindLastLineNoEol);
    case DiagCharacterLost: {
        char code[16];
        snprintf(code, sizeof code, "%04lX", (unsigned long)f.number);
        return check_format(w.text(FindCharacterLost), code, std::to_string(f.number2));
    }
    case DiagEmptyDefinition:
        return w.text(FindEmptyDefinition);
    case DiagHiddenExtension:
        return check_format(w.text(FindHiddenExtension), f.text, f.text2);
    case DiagHeaderInComment:
        return check_format(w.text(FindHeaderInComment), f.number == 0 ? "[system]" : "[launch]");
    case DiagVariantElsewhere:
        return check_format(w.text(FindVariantElsewhere), f.text);
    default:
        return "?";
    }
}

const CheckText kSteps[] = {FindTryAsNamed, FindTrySearchList, FindTrySystem, FindTryAppPaths};

const char *const kEncodingNames[] = {"", "UTF-8", "UTF-8 (BOM)", "UTF-16 LE", "UTF-16 BE"};

void append_findings(Writer &w, const CheckResult &r) {
    w.out += "\n";
    if (r.findings.empty()) {
        w.out += std::string(w.text(TxtNoFindings)) + "\n";
        return;
    }
    w.out += check_format(w.text(TxtFindings), std::to_string(r.findings.size())) + "\n";
    for (const CheckFinding &f : r.findings) w.out += check_finding_text(f, w.language);
}

// Control bytes of the user's texts would upset the console.
void mask_control_bytes(std::string &text) {
    for (char &c : text)
        if (((unsigned char)c < 0x20 && c != '\n') || c == 0x7f) c = '?';
}

}  // namespace

std::string check_format(const char *text, const std::string &a1, const std::string &a2,
                         const std::string &a3) {
    std::string out;
    for (const char *p = text; *p; ++p) {
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '3') {
            out += p[1] == '1' ? a1 : p[1] == '2' ? a2 : a3;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string check_finding_text(const CheckFinding &f, CheckLanguage language) {
    Writer w{"", language};
    std::string text = "  " + (f.line ? w.line_label(f.line) : "") + finding_message(w, f) + "\n";
    if (!f.attempts.empty()) {
        text += "      " + std::string(w.text(FindTried)) + "\n";
        // The names tried at one place in a row share a line.
        for (size_t i = 0; i < f.attempts.size();) {
            std::string names = f.attempts[i].name;
            size_t next = i + 1;
            for (; next < f.attempts.size() && f.attempts[next].step == f.attempts[i].step; ++next)
                names += ", " + f.attempts[next].name;
            text +=
                "        " + check_format(w.text(pick(kSteps, f.attempts[i].step)), names) + "\n";
            i = next;
        }
    }
    return text;
}

std::string check_report(const CheckResult &result, CheckLanguage language,
                         const std::string &definition_path, const std::string &current_folder) {
    Writer w{"", language};
    w.out += check_format(w.text(TxtFile), definition_path) + "\n";
    w.out += check_format(w.text(TxtCurrentFolder), current_folder) + "\n";
    int encoding = result.encoding;
    w.out += (encoding > EncodingAnsi && encoding <= EncodingUtf16Be
                  ? check_format(w.text(TxtEncodingConverted), kEncodingNames[encoding])
                  : std::string(w.text(TxtEncodingAnsi))) +
             "\n\n";
    append_tree(w, result);
    append_settings(w, result);
    append_findings(w, result);
    mask_control_bytes(w.out);
    return w.out;
}

std::string check_crlf(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}
