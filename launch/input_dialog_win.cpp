// The input dialog: a small window built at run time on an empty template.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "core/lazy_win.h"
#include "core/dpi_win.h"
#include "core/font_win.h"
#include "core/platform.h"
#include "core/shell_icon_win.h"
#include "definition/settings.h"
#include "launch/input_dialog.h"
#include "launch/launch_state.h"
#include "res/resource.h"

void *g_input_dialog;
void *g_input_edit_field;
int (*run_input_dialog)(void *owner) = show_input_dialog;

namespace {

enum ControlId {
    LabelId = 300,
    IconButtonId = 301,
    CountLineId = 302,
    EditId = 400,
    OkId = 500,
    CancelId = 502
};

// The dialog's texts: Japanese in code page 932, English on systems that
// cannot show it. The labels fit kInputLabelSize.
struct DialogTexts {
    const char *head, *value_suffix, *files_suffix, *option_suffix;
    const char *count_format, *ok, *cancel, *font_face;
};
const DialogTexts kDialogTexts[] = {
    {"[ Tavrik ]", " input for '%X'", " files for '%M'", " options", "--- files: %d ---", "OK",
     "Cancel", "MS Shell Dlg"},
    {"[ \x83^\x83\x94\x83\x8a\x83N ]",        // "[ タヴリク ]"
     "\x81@'%X'\x93\xfc\x97\xcd",             // "　'%X'入力"
     "\x81@'%M'\x93\xfc\x97\xcd",             // "　'%M'入力"
     "\x81@\x83I\x83v\x83V\x83\x87\x83\x93",  // "　オプション"
     "--- %d data ---", "OK", "CANCEL",
     "\x82l\x82r \x82o\x83S\x83V\x83"
     "b\x83N"},  // "ＭＳ Ｐゴシック"
};

const DialogTexts &texts() { return kDialogTexts[plat_ansi_is_japanese()]; }

// 1 when the dialog about to open collects files for a multi-file token.
int input_dialog_collects_files() {
    return g_launch.multi_file_mode >= MultiFileQuoted && g_launch.prompt_counter == 0;
}

// The label above the edit field for the dialog about to open.
void input_dialog_label(char *label, size_t size) {
    if (g_launch.prompt_counter >= 1 && g_launch.input_label_set) {
        text_copy(label, size, g_launch.input_label);
        return;
    }
    text_copy(label, size, texts().head);
    text_append(label, size,
                g_launch.prompt_counter >= 1    ? texts().value_suffix
                : input_dialog_collects_files() ? texts().files_suffix
                                                : texts().option_suffix);
}

HFONT g_font;
int g_dpi;  // of the monitor the dialog shows on
WNDPROC g_edit_procedure;
int g_dragging;
POINT g_drag_last;

HWND dialog() { return (HWND)g_input_dialog; }
HWND edit_field() { return (HWND)g_input_edit_field; }

void end_dialog(int code) {
    if (g_font) DeleteObject(g_font);
    g_font = nullptr;
    EndDialog(dialog(), code);
}

void confirm() {
    if (edit_field())
        GetWindowTextA(edit_field(), g_launch.input_result, sizeof g_launch.input_result);
    end_dialog(GetKeyState(VK_CONTROL) < 0 ? 1 : 4);
}

void show_count() {
    char line[32];
    text_format(line, sizeof line, texts().count_format, g_launch.selected_count);
    SetDlgItemTextA(dialog(), CountLineId, line);
}

void focus_input() {
    SetForegroundWindow(dialog());
    SetFocus(input_dialog_collects_files() ? GetDlgItem(dialog(), CountLineId) : edit_field());
}

LRESULT CALLBACK edit_procedure(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KEYDOWN && wparam == VK_RETURN) confirm();
    if (message == WM_KEYDOWN && wparam == VK_ESCAPE) end_dialog(0);
    return CallWindowProcA(g_edit_procedure, edit, message, wparam, lparam);
}

// Sizes and places of the dialog's own are given for 96 DPI.
int scaled(int pixels) { return scale_to_dpi(pixels, g_dpi); }

HWND add_control(const char *cls, DWORD ex_style, DWORD style, int id, int x, int y, int w, int h,
                 const char *text) {
    HWND control =
        CreateWindowExA(ex_style, cls, text, style, scaled(x), scaled(y), scaled(w), scaled(h),
                        dialog(), (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
    if (control && id != IconButtonId) SendMessageA(control, WM_SETFONT, (WPARAM)g_font, TRUE);
    return control;
}

void initialise(HWND window) {
    g_input_dialog = window;
    g_input_edit_field = nullptr;
    g_dragging = 0;  // a drag never carries over from an earlier dialog
    g_launch.input_dialog_open = 1;
    lazy::DragAcceptFiles(window, TRUE);
    int position = g_settings.menu_position;
    if ((position == PositionMouse || position == PositionMouse2) && g_launch.prompt_counter < 2) {
        POINT cursor;
        GetCursorPos(&cursor);
        g_launch.dialog_x = cursor.x;
        g_launch.dialog_y = cursor.y;
    }
    g_dpi = monitor_dpi_at(g_launch.dialog_x, g_launch.dialog_y);
    MoveWindow(window, g_launch.dialog_x, g_launch.dialog_y, scaled(250), scaled(47), TRUE);
    ShowWindow(window, SW_SHOW);

    g_font = make_font(texts().font_face, scaled(13), 0);
    char label[kInputLabelSize];
    input_dialog_label(label, sizeof label);
    add_control("STATIC", 0, 0x5000000C, LabelId, 2, 2, 170, 16, label);
    add_control("BUTTON", 0, 0x5000000B, IconButtonId, 2, 20, 17, 17, "");
    bool collecting = input_dialog_collects_files();
    if (collecting) {
        char none[32];  // the list starts empty in the count line
        text_format(none, sizeof none, texts().count_format, 0);
        add_control("STATIC", 0, 0x50010001, CountLineId, 22, 20, 134, 17, none);
    } else {
        g_input_edit_field =
            add_control("EDIT", WS_EX_CLIENTEDGE, 0x50010084, EditId, 22, 20, 134, 17, "");
    }
    add_control("BUTTON", 0, 0x50010000, OkId, 166, 21, 74, 16, texts().ok);
    add_control("BUTTON", 0, 0x50010000, CancelId, 166, 2, 74, 16, texts().cancel);
    if (edit_field()) {
        g_edit_procedure =
            (WNDPROC)SetWindowLongPtrA(edit_field(), GWLP_WNDPROC, (LONG_PTR)edit_procedure);
        SetWindowTextA(edit_field(), g_launch.input_default_text);
        SetFocus(edit_field());
    } else {
        SetFocus(GetDlgItem(window, CountLineId));
    }
}

void draw_icon_button(const DRAWITEMSTRUCT *item) {
    const char *program = g_launch.input_dialog_program;
    bool own_icon = plat_find_ci(program, "@system") != nullptr;
    HICON icon = own_icon ? program_system_icon() : shell_small_icon(program);
    if (!icon) return;
    DrawIconEx(item->hDC, item->rcItem.left, item->rcItem.top, icon, scaled(16), scaled(16), 0,
               nullptr, DI_NORMAL);
    if (!own_icon) DestroyIcon(icon);  // the resource icon is shared, the shell's is ours
}

void drop_files(HDROP drop) {
    LaunchState &st = g_launch;
    if (input_dialog_collects_files()) {
        UINT files = lazy::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < files && st.selected_count < kMaxSelectedPaths; ++i)
            if (dropped_path(drop, i, st.selected_paths[st.selected_count])) ++st.selected_count;
        show_count();
    } else {
        char path[kPathSize + 2];  // room for the quotes
        if (dropped_path(drop, 0, path)) {
            if (st.prompt_counter == 0) text_quote_spaces(path, sizeof path);
            SetWindowTextA(edit_field(), path);
            SendMessageA(edit_field(), EM_SETSEL, 0, (LPARAM)strlen(path));
        }
    }
    lazy::DragFinish(drop);
    focus_input();
}

INT_PTR CALLBACK dialog_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(window);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == OkId) {
            confirm();
            return TRUE;
        }
        if (LOWORD(wparam) == CancelId) {
            if (input_dialog_collects_files() && GetKeyState(VK_CONTROL) < 0) {
                g_launch.selected_count = 0;  // Ctrl+CANCEL starts the collection over
                show_count();
                focus_input();
            } else {
                end_dialog(0);
            }
            return TRUE;
        }
        return FALSE;
    case WM_DRAWITEM:
        if (wparam != IconButtonId) return FALSE;
        draw_icon_button((const DRAWITEMSTRUCT *)lparam);
        return TRUE;
    case WM_DROPFILES:
        drop_files((HDROP)wparam);
        return TRUE;
    case WM_LBUTTONDOWN:
        g_dragging = 1;
        SetCapture(window);
        GetCursorPos(&g_drag_last);
        return FALSE;
    case WM_MOUSEMOVE:
        if (g_dragging) {
            RECT rect;
            POINT now;
            GetWindowRect(window, &rect);
            GetCursorPos(&now);
            MoveWindow(window, rect.left + now.x - g_drag_last.x, rect.top + now.y - g_drag_last.y,
                       rect.right - rect.left, rect.bottom - rect.top, TRUE);
            g_drag_last = now;
        }
        return FALSE;
    case WM_LBUTTONUP:
        ReleaseCapture();
        g_dragging = 0;
        return FALSE;
    case WM_CAPTURECHANGED:
        g_dragging = 0;  // the button went up elsewhere, or another window took the mouse
        return FALSE;
    case WM_DESTROY:
        g_input_dialog = g_input_edit_field = nullptr;
        return FALSE;
    }
    return FALSE;
}

}  // namespace

int dropped_path(void *drop, unsigned index, char *path) {
    if (lazy::DragQueryFileA((HDROP)drop, index, nullptr, 0) >= kPathSize) return 0;
    return lazy::DragQueryFileA((HDROP)drop, index, path, kPathSize) > 0;
}

int show_input_dialog(void *owner) {
    return (int)DialogBoxParamA(GetModuleHandleA(nullptr), TAVRIK_DLG_OPTION, (HWND)owner,
                                dialog_procedure, 0);
}

void input_dialog_take_drop(void *drop, void *launcher_window) {
    HWND edit = edit_field();
    if (!g_launch.input_dialog_open || !edit) {
        lazy::DragFinish((HDROP)drop);
        return;
    }
    char path[kPathSize + 2];  // room for the quotes
    int have_path = dropped_path(drop, 0, path);
    lazy::DragFinish((HDROP)drop);
    if (!have_path) return;
    text_quote_spaces(path, sizeof path);
    SetWindowTextA(edit, path);
    SendMessageA(edit, EM_SETSEL, 0, (LPARAM)strlen(path));
    SetForegroundWindow((HWND)launcher_window);
    SetFocus(edit);
    ShowWindow((HWND)launcher_window, SW_HIDE);
}
