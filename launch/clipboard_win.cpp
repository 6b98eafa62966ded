// Reads the clipboard for the path and clipboard macros.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "core/lazy_win.h"
#include "core/platform.h"
#include "core/text.h"
#include "launch/launch_state.h"
#include "launch/macros.h"

namespace {

constexpr size_t kClipboardCopySize = 5120;

// A file list copied in the shell: up to 100 paths shorter than 260 bytes,
// folders without their final backslash.
void read_file_list(HDROP drop) {
    LaunchState &st = g_launch;
    st.selected_count = 0;
    UINT files = lazy::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < files && st.selected_count < kMaxSelectedPaths; ++i) {
        if (lazy::DragQueryFileA(drop, i, nullptr, 0) >= kPathSize) continue;
        char path[kPathSize];
        lazy::DragQueryFileA(drop, i, path, sizeof path);
        if (plat_is_directory(path)) text_remove_final_backslash(path);
        text_copy(st.selected_paths[st.selected_count++], path);
    }
}

int clipboard_input(void *owner) {
    if (IsClipboardFormatAvailable(CF_HDROP)) {
        if (!OpenClipboard((HWND)owner)) return 0;
        HDROP drop = (HDROP)GetClipboardData(CF_HDROP);
        if (drop) {
            read_file_list(drop);
        } else {
            g_launch.selected_count = 0;
        }
        CloseClipboard();
        return 1;
    }
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard((HWND)owner)) return 0;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char *text = data ? (const char *)GlobalLock(data) : nullptr;
    if (!text || !text[0]) {
        if (text) GlobalUnlock(data);
        CloseClipboard();
        return 0;
    }
    static char copy[kClipboardCopySize];
    memset(copy, 0, sizeof copy);
    text_copy_n(copy, sizeof copy, text, GlobalSize(data) ? GlobalSize(data) : sizeof copy);
    GlobalUnlock(data);
    CloseClipboard();
    if (strlen(copy) < kPathSize) {
        text_copy(g_launch.clipboard_text, copy);
    } else {
        g_launch.clipboard_text[0] = 0;
    }
    if (plat_exists(copy)) text_quote_spaces(copy, sizeof copy);
    parse_path_list(copy);
    return 1;
}

}  // namespace

int (*read_clipboard_input)(void *owner) = clipboard_input;
