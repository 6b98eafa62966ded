// Text table of the definition checker. This file is UTF-8; the build turns
// its string literals into code page 932, the bytes the console shows.
#include "check/messages.h"

#include <windows.h>

#include <cstdlib>

namespace {

struct Message {
    CheckText id;
    const char *english;
    const char *japanese;
};

constexpr Message kMessages[] = {
    {TxtUsage, "usage: tavrik-check [definition-file]", "使い方: tavrik-check [定義ファイル]"},
    {TxtFile, "Definition file: %1", "定義ファイル: %1"},
    {TxtCannotRead, "Cannot read the definition file %1.", "定義ファイル %1 を読めません。"},
    {TxtWouldCreate, "It does not exist; the launcher would create it empty.",
     "ファイルがありません。ランチャーは空のファイルを作ります。"},
    {TxtCurrentFolder, "Relative names are looked up from the current folder %1",
     "相対名はカレントフォルダ %1 から探します"},
    {TxtEncodingAnsi, "Encoding: the system's ANSI code page, read byte for byte",
     "文字コード: システムの ANSI コードページ（そのまま読みます）"},
    {TxtEncodingConverted, "Encoding: %1, converted to the system's ANSI code page",
     "文字コード: %1（システムの ANSI コードページに変換して読みます）"},
    {TxtMenu, "Menu", "メニュー"},
    {TxtMenuEmpty, "(no entries)", "（項目なし）"},
    {TxtSystemEntry, "(the system entry follows)", "（続いてシステム項目）"},
    {TxtSystemEntryIfEmpty, "(the system entry is added only to an empty menu: @sysmenu=0)",
     "（システム項目は空のメニューにだけ付きます: @sysmenu=0）"},
    {TxtSystemEntryAdded, "(the system entry alone)", "（システム項目だけ）"},
    {TxtVariants, "%1 variants", "引数違い %1 個"},
    {TxtOneVariant, "one variant: shown as one item", "引数違い 1 個: 1 項目として表示"},
    {TxtColumnBreak, "|| (new column)", "|| （改列）"},
    {TxtFolderListing, "folder listing, %1 files", "フォルダ一覧、%1 ファイル"},
    {TxtNeverClosed, "(never closed)", "（閉じられていない）"},
    {TxtSettings, "Settings that differ from their defaults", "既定値と異なる設定"},
    {TxtNone, "(none)", "（なし）"},
    {TxtFindings, "Findings: %1", "指摘: %1 件"},
    {TxtNoFindings, "No findings.", "指摘はありません。"},
    {TxtLine, "line %1", "%1 行目"},
    {TxtYes, "yes", "する"},
    {TxtNo, "no", "しない"},
    {TxtAll, "all", "すべて"},

    {SetIconBitmaps, "icons: item bitmaps (@icon)", "アイコン: 項目ビットマップ (@icon)"},
    {SetIconOwnerDraw, "icons: owner-drawn items (@icon=1)",
     "アイコン: オーナードロー項目 (@icon=1)"},
    {SetPositionActive, "menu position: at the active window",
     "メニュー位置: アクティブウィンドウ"},
    {SetPositionPoint, "menu position: at %1,%2", "メニュー位置: %1,%2"},
    {SetPositionMouse, "menu position: at the mouse", "メニュー位置: マウス位置"},
    {SetPositionMouse2, "menu position: left edge at the mouse",
     "メニュー位置: 左端をマウス位置に"},
    {SetPositionCenter, "menu position: screen centre", "メニュー位置: 画面中央"},
    {SetFilerOnly, "opening folders enabled (@filer), no filer program given",
     "フォルダを開く操作: 有効 (@filer)、ファイラーの指定なし"},
    {SetFiler, "filer: %1", "ファイラー: %1"},
    {SetEditor, "editor: %1", "エディター: %1"},
    {SetDelays, "launch delays: first %1 ms, then %2 ms", "起動の間隔: 最初 %1 ms、以降 %2 ms"},
    {SetMark, "no \" *\" after entries shown with their only variant (@mark=0)",
     "引数違いが 1 個の項目に \" *\" を付けない (@mark=0)"},
    {SetFolder, "folder listings: depth %1, sorted: %2, access keys: %3",
     "フォルダ一覧: 深さ %1、並べ替え: %2、アクセスキー: %3"},
    {SetFilters, "folder listing extensions: %1", "フォルダ一覧の拡張子: %1"},
    {SetSysmenu, "system entry only when the menu is empty (@sysmenu=0)",
     "システム項目はメニューが空のときだけ (@sysmenu=0)"},
    {SetActive, "takes the foreground before the menu (@active=1)",
     "メニューの前に前面に出る (@active=1)"},
    {SetInputText, "input dialog text: %1", "入力ダイアログの初期文字列: %1"},
    {SetInputTitleAuto, "input dialog label taken from the command (@xtitle)",
     "入力ダイアログの見出しはコマンドから (@xtitle)"},
    {SetInputTitle, "input dialog label: %1", "入力ダイアログの見出し: %1"},
    {SetParams, "placeholders expanded (@param), %1 user parameters",
     "プレースホルダーを展開 (@param)、ユーザーパラメーター %1 個"},
    {SetParam, "    %1 = %2", "    %1 = %2"},
    {SetDelimiter, "delimiter: \"%1\"", "区切り文字列: \"%1\""},
    {SetSearchList, "program search list: %1", "プログラム検索リスト: %1"},
    {SetFont, "font: \"%1\", size %2, weight %3", "フォント: \"%1\"、サイズ %2、太さ %3"},

    {FindEntryNotFound, "entry left out: \"%1\" was not found",
     "項目を省きました: \"%1\" が見つかりません"},
    {FindEntryEmpty, "entry left out: the line names no target",
     "項目を省きました: 対象の指定がありません"},
    {FindTried, "tried, in order:", "試した順:"},
    {FindTryAsNamed, "as a file or folder: %1", "ファイルかフォルダとして: %1"},
    {FindTrySearchList, "in the @path= folders: %1", "@path= のフォルダで: %1"},
    {FindTrySystem, "in the system search order: %1", "システムの検索順で: %1"},
    {FindTryAppPaths, "in the App Paths of the registry: %1", "レジストリの App Paths で: %1"},
    {FindPlusAsEntry,
     "\"+\" here is read as an entry line: a separator only follows an entry (not at the "
     "start, after \"{\" or after a folder entry)",
     "ここの \"+\" は項目行として読まれます: 区切り線は項目の後にだけ置けます（先頭、\"{\" "
     "やフォルダ項目の直後は不可）"},
    {FindMinusAsEntry,
     "\"-\" here is read as an entry line: a column break only follows an entry (not at the "
     "start, after \"{\" or after a folder entry)",
     "ここの \"-\" は項目行として読まれます: 改列は項目の後にだけ置けます（先頭、\"{\" "
     "やフォルダ項目の直後は不可）"},
    {FindVariantAsEntry,
     "\">\" here is read as an entry line: there is no entry to attach the variant to (after "
     "\"{\", \"}\" or a folder entry)",
     "ここの \">\" は項目行として読まれます: 引数違いを付ける項目がありません（\"{\"、\"}\" "
     "やフォルダ項目の直後）"},
    {FindBraceAsEntry, "\"{\" without a title is read as an entry line",
     "タイトルのない \"{\" は項目行として読まれます"},
    {FindUnmatchedClose, "\"}\" without an open submenu is read as an entry line",
     "開いたサブメニューのない \"}\" は項目行として読まれます"},
    {FindUnclosedSubmenu, "submenu \"%1\" is never closed: every later row falls inside it",
     "サブメニュー \"%1\" が閉じられていません: 以降の行はすべてその中に入ります"},
    {FindSystemRunsOn,
     "[system] has no %end line: from here on the [launch] lines are read as directives too",
     "[system] に %end 行がありません: ここからの [launch] の行もディレクティブとして読まれます"},
    {FindLaunchRunsOn,
     "[launch] has no %end line: from here on the [system] lines are read as entry lines too",
     "[launch] に %end 行がありません: ここからの [system] の行も項目行として読まれます"},
    {FindTableFull, "the menu is full at 500 rows: %1 lines from here on are ignored",
     "メニューが 500 行で満杯です: ここから %1 行を無視します"},
    {FindLineCut, "the line has %1 bytes: only the first 517 are read",
     "行が %1 バイトあります: 先頭の 517 バイトだけを読みます"},
    {FindFieldCut, "%1 cut to %2 bytes (%3 given)",
     "%1 を %2 バイトに切り詰めました（%3 バイト指定）"},
    {FieldNameTitle, "title", "タイトル"},
    {FieldNameParameters, "parameters", "パラメーター"},
    {FieldNameDelimiter, "delimiter", "区切り文字列"},
    {FieldNameParamName, "user parameter name", "ユーザーパラメーター名"},
    {FieldNameParamValue, "user parameter value", "ユーザーパラメーターの値"},
    {FieldNameInputText, "input dialog text", "入力ダイアログの初期文字列"},
    {FieldNameInputTitle, "input dialog label", "入力ダイアログの見出し"},
    {FieldNameFilterExt, "extension", "拡張子"},
    {FieldNameSearchList, "search list", "検索リスト"},
    {FieldNameValue, "value", "値"},
    {FindDirectiveUnknown, "\"%1\" matches no directive and is ignored",
     "\"%1\" はどのディレクティブにも当たらず無視されます"},
    {FindDirectiveTooShort, "\"%1\" is too short and is ignored (the line needs %2 bytes)",
     "\"%1\" は短すぎるため無視されます（行全体で %2 バイト以上必要）"},
    {FindDirectiveNoEffect, "\"%1\" has no effect: an earlier line already chose",
     "\"%1\" は効きません: 前の行ですでに決まっています"},
    {FellPositionWord, "\"%1\" is no menu position: the menu opens at the active window",
     "\"%1\" はメニュー位置ではありません: アクティブウィンドウの位置に出ます"},
    {FellPositionNoMouse, "\"%1\": the system has no mouse, the menu opens at the active window",
     "\"%1\": マウスがないため、アクティブウィンドウの位置に出ます"},
    {FellPositionMaxCase,
     "\"%1\": at the end of the line only \"MAX\" in capitals means the maximised height; y is 0",
     "\"%1\": 行末では大文字の \"MAX\" だけが最大化時の高さです。y は 0 になります"},
    {FellFontSize, "font size \"%1\" is not above 0: 16 is used",
     "フォントサイズ \"%1\" は 0 より大きくありません: 16 を使います"},
    {FellFontWeight, "font weight \"%1\" is outside 0 to 10: the default weight is used",
     "フォントの太さ \"%1\" は 0 から 10 の範囲外です: 既定の太さを使います"},
    {FellFontFaceEmpty, "no font name: the system's menu font is used",
     "フォント名がありません: システムのメニューフォントを使います"},
    {FellDelay, "delay \"%1\" is outside 1 to 10000 ms: 0 is used",
     "間隔 \"%1\" は 1 から 10000 ms の範囲外です: 0 を使います"},
    {FellFolderDepth, "folder depth \"%1\" is below 0: all subfolders are listed",
     "フォルダの深さ \"%1\" は負の数です: すべてのサブフォルダを一覧にします"},
    {FellFolderSort, "sort value \"%1\" is neither 0 nor 1: listings are not sorted",
     "並べ替えの値 \"%1\" は 0 でも 1 でもありません: 並べ替えません"},
    {FindProgramNotFound, "%2 program \"%1\" was not found: the setting stays as it was",
     "%2 のプログラム \"%1\" が見つかりません: 設定は変わりません"},
    {FindProgramIsFolder, "%2 names the folder \"%1\", not a program: the setting stays as it was",
     "%2 の \"%1\" はフォルダです: 設定は変わりません"},
    {FindSearchListUnread, "search-list file \"%1\" cannot be read: no search list is used",
     "検索リストファイル \"%1\" を読めません: 検索リストは使いません"},
    {FindTooManyFilters, "extension \"%1\" left out: at most 10 extensions are kept",
     "拡張子 \"%1\" を省きました: 拡張子は 10 個までです"},
    {FindTooManyParams,
     "an 11th user parameter: only 10 are kept, so this line is read as a directive",
     "11 個目のユーザーパラメーター: 10 個までなので、この行はディレクティブとして読まれます"},
    {FindFolderEmpty, "folder \"%1\" holds no file with a listed extension (%2): left out",
     "フォルダ \"%1\" に対象の拡張子 (%2) のファイルがありません: 項目を省きました"},
    {FindFolderNotListed, "folder \"%1\" stays a plain entry: no room left for its listing",
     "フォルダ \"%1\" は一覧にならず通常の項目です: 一覧を入れる空きがありません"},
    {FindListingFull, "folder \"%1\": a listing holds 100 files, any further ones are left out",
     "フォルダ \"%1\": 一覧は 100 ファイルまでで、それ以上は省かれます"},
    {FindListingCut, "%1 listed files left out: the menu is full at 500 rows",
     "一覧のファイル %1 個を省きました: メニューが 500 行で満杯です"},
    {FindLastLineNoEol, "the last line has no line end and is not read",
     "最終行に改行がないため読まれません"},
    {FindCharacterLost,
     "%2 character(s) of this line, the first U+%1, do not exist in the system's code page: "
     "shown as \"?\", and a target that holds one is not found",
     "この行の %2 文字（最初は U+%1）はシステムのコードページにありません: \"?\" "
     "と表示され、それを含む対象は見つかりません"},
    {FindEmptyDefinition, "the definition file is empty: the menu holds the system entry alone",
     "定義ファイルが空です: メニューはシステム項目だけです"},
    {FindHiddenExtension,
     "\"%1\" holds a menu definition but is not read: with file extensions hidden its name "
     "looks right; rename it to \"%2\"",
     "\"%1\" はメニュー定義ですが読まれません: 拡張子が隠れていると正しい名前に見えます。"
     "\"%2\" に名前を変えてください"},
    {FindHeaderInComment,
     "the first \"%1\" of the file stands in this comment: the section starts here",
     "ファイルで最初の \"%1\" はこのコメントの中にあります: セクションはここから始まります"},
    {FindVariantElsewhere, "this variant attaches to \"%1\": the entry line above it was left out",
     "この引数違いは \"%1\" に付きます: すぐ上の項目行が省かれたためです"},
};

static_assert(sizeof kMessages / sizeof kMessages[0] == kCheckTextCount,
              "one message for each text");

constexpr bool in_order() {
    for (int i = 0; i < kCheckTextCount; ++i)
        if (kMessages[i].id != i) return false;
    return true;
}
static_assert(in_order(), "messages in the order of CheckText");

}  // namespace

CheckLanguage check_language() {
    const char *forced = getenv("TAVRIK_CHECK_LANG");
    if (forced && !_stricmp(forced, "en")) return CheckEnglish;
    if (forced && !_stricmp(forced, "ja")) return CheckJapanese;
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? CheckJapanese
                                                                      : CheckEnglish;
}

const char *check_text(CheckLanguage language, CheckText text) {
    if (text < 0 || text >= kCheckTextCount) return "";
    return language == CheckJapanese ? kMessages[text].japanese : kMessages[text].english;
}
