// Real menus from loaded definitions: levels, item sizes, icon cache, hooks, messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <filesystem>
#include <set>
#include <sstream>

#include "app/hooks.h"
#include "app/popup.h"
#include "app/window.h"
#include "core/shell_icon_win.h"
#include "definition/settings.h"
#include "definition/startup.h"
#include "menu/builder_win.h"
#include "menu/iconcache.h"
#include "menu/ownerdraw_win.h"
#include "menu_cases.h"
#include "test_support.h"

namespace {

const SysTime kWritten = {2024, 5, 5, 3, 10, 12, 34, 789}, kLater = {2025, 1, 2, 4, 3, 4, 5, 0};
std::vector<int> g_presses;

// A write that would pass this many bytes in all fails, and every one after it.
size_t g_bytes_left;
size_t failing_write(const void *data, size_t size, FILE *file) {
    size_t n = std::min(size, g_bytes_left);
    g_bytes_left -= n;
    return fwrite(data, 1, n, file);
}

// Every name in a folder, "name/" for folders.
std::set<std::string> listing(const std::string &folder) {
    std::set<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string() + (e.is_directory() ? "/" : ""));
    return names;
}

class Menu : public ::testing::Test {
protected:
    void SetUp() override {
        reset_launcher_state(dir.path());
        g_popup = PopupState{}, g_presses.clear();
        press_key = [](unsigned char key) { g_presses.push_back(key); };
    }
    void TearDown() override {
        press_key = saved_press, icon_cache_write = saved_write;
        if (root) destroy_submenus(root), DestroyMenu(root);
        menu_release_pictures();
    }
    // Words "+", "-", ">variant", "{submenu", "}" and paths stay as they are,
    // any other is an entry of that title; the root is built as the popup does.
    void build(const std::string &words, const std::string &system = "") {
        std::string lines = "[system]\n" + system + "\n[launch]\n";
        std::istringstream in(words);
        for (std::string w; in >> w;)
            lines += (strchr("+->{}", w[0]) || w.find('\\') != std::string::npos
                          ? w
                          : "ms-settings:" + w + " | " + w) +
                     "\n";
        g_settings.icon_mode = kUnset;  // as a command line without "/#n" leaves it
        load_text(lines);
        if (root) destroy_submenus(root), DestroyMenu(root);
        build_menu_level(root = g_popup.root_menu = g_popup.last_menu = CreatePopupMenu(), 0, 0);
        if (g_settings.system_entry_always || !GetMenuItemCount(root)) append_system_entry(root);
    }
    // "title(id)", "-(id)" a separator, "|" a new column, "!" checked, "[...]" a submenu.
    static std::string describe(HMENU menu) {
        std::string out;
        for (int p = 0; p < GetMenuItemCount(menu); ++p) {
            char text[300] = "";
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info, info.dwTypeData = text, info.cch = sizeof text;
            info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
            GetMenuItemInfoA(menu, (UINT)p, TRUE, &info);
            out += (p ? " " : "") + std::string(info.fType & MFT_MENUBARBREAK ? "|" : "") +
                   (info.fType & MFT_SEPARATOR ? "-" : text) + "(" + std::to_string(info.wID) +
                   (info.fState & MFS_CHECKED ? ")!" : ")");
            if (info.hSubMenu) out += "[" + describe(info.hSubMenu) + "]";
        }
        return out;
    }
    // Rows 0 a (notepad), 1 b (the program's folder), 2 c (a missing file), 3 +,
    // 4 d, 5 {S, 6 }, 7 e: five entries with a, b and c's targets in turn.
    void build_pictures() {
        build("a b c + d {S } e", "@icon");
        const std::string targets[] = {"C:\\windows\\notepad.exe", dir.path(), dir.path() + "no"};
        for (int n = 0, row = 0; row < 8; ++row)
            if (g_items.kind[row] == Entry)
                text_copy(g_items.target[row], targets[n++ % 3].c_str());
        g_settings.definition_time = kWritten;
    }
    std::string cache() { return read_file(dir.path() + "Tavrik.tvi"); }
    std::string record(int slot) { return cache().substr(2020 + slot * 808, 808); }
    ScratchFolder dir;
    HMENU root = nullptr;
    decltype(press_key) saved_press = press_key;
    decltype(icon_cache_write) saved_write = icon_cache_write;
};

}  // namespace

// The system entry and its submenu are the end-to-end scenarios' to check.
TEST_F(Menu, LevelsGroupsBreaksAndMarks) {
    for (const Case &c : read_cases(kCases)) {
        if (c.head[0] != "levels") continue;
        SCOPED_TRACE("cases.txt:" + std::to_string(c.line));
        g_menu.marked[c.number("marked", 9)] = 1;
        build(c.input, "@sysmenu=0\n" + c.option("system"));
        g_menu.marked[c.number("marked", 9)] = 0;
        EXPECT_EQ(std::vector<std::string>{describe(root)}, c.expected);
    }
    // Item bitmaps put a blank before the text, room kept for a long title and the mark.
    build("Ed >v", "@icon\n@sysmenu=0");
    text_copy(g_items.title[0], std::string(259, 't').c_str());
    build_menu_level(root, 0, 0);
    EXPECT_EQ(describe(root), " " + std::string(259, 't') + " *(2001)");
}

// "@font=" sizes up to INT_MAX stop the owner-drawn item's sums there.
TEST_F(Menu, OwnerDrawnItemSizes) {
    build("Ed", "@icon=1");
    g_settings.icon_draw_width = g_settings.icon_draw_height = INT_MAX;
    MEASUREITEMSTRUCT request = {ODT_MENU, 0, 2000, 0, 0, 0};
    measure_item(nullptr, &request);
    EXPECT_EQ(request.itemWidth, (UINT)INT_MAX);
    EXPECT_EQ(request.itemHeight, (UINT)INT_MAX);
}

// Slot 0 the program's picture, 1 its folder's, then the entries'; a damaged cache is rewritten.
TEST_F(Menu, IconCacheWrittenInRowOrderAndAgainWhenStaleOrDamaged) {
    build_pictures();
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    std::vector<int32_t> head(9);  // record size and the slots of rows 0 to 7, after the stamp
    memcpy(head.data(), &cache()[16], 36);
    EXPECT_EQ(head, (std::vector<int32_t>{808, 2, 3, 4, 0, 5, 0, 0, 6}));
    EXPECT_EQ(cache().size() + cache().find_first_not_of('\0', 52), 2020u * 2 + 7 * 808);
    EXPECT_NE(record(0), record(1));
    EXPECT_EQ(record(3) + record(6) + record(5), record(1) + record(1) + record(2));
    const COLORREF menu = GetSysColor(COLOR_MENU);
    std::string plain = record(4).substr(0, 40);
    for (int px = 0; px < 256; ++px)
        plain += {(char)GetBValue(menu), (char)GetGValue(menu), (char)GetRValue(menu)};
    EXPECT_EQ(record(4), plain);
    for (const std::string what : {"", "picture cut", "table cut"}) {
        ASSERT_EQ(icon_cache_check(nullptr), 1);
        std::string bytes = cache();
        bytes.back() ^= 0x5a;  // shows whether the check writes the file
        if (what == "picture cut") bytes.resize(2020 + 5 * 808 + 100);
        if (what == "table cut") bytes.resize(1000);
        dir.write("Tavrik.tvi", bytes);
        EXPECT_EQ(icon_cache_load(), what.empty()) << what;
        EXPECT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(cache() != bytes, !what.empty()) << what;
        ASSERT_EQ(icon_cache_load(), 1);
        EXPECT_EQ(g_menu.icon_slot[4], 5);
    }
}

// Each entry's picture is the shell's icon of its target drawn alone, whether
// asked by the whole path or through the folder, and drawn anew or copied.
TEST_F(Menu, IconCachePicturesAreTheShellsIconsOfTheTargets) {
    const std::string a = dir.write("a.txt", "a"), shown = dir.write("\x95\x5c\x8e\xa6.txt", "b");
    CreateDirectoryA((dir.path() + "sub").c_str(), nullptr);
    const std::string d = dir.path(), targets[] = {a,
                                                   d + "sub",
                                                   "C:\\",
                                                   shown,
                                                   d + "no",
                                                   "https://x.y/",
                                                   dir.write("c.ini", "c"),
                                                   d + "SUB"};
    build("a b c d e f g h", "@icon");
    for (int row = 0; row < 8; ++row) text_copy(g_items.target[row], targets[row].c_str());
    g_settings.definition_time = kWritten;
    ASSERT_EQ(icon_cache_check(nullptr), 1);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    for (int row = 0; row < 8; ++row) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        RECT square = {0, 0, 16, 16};
        FillRect(memory, &square, GetSysColorBrush(COLOR_MENU));
        HICON icon = shell_small_icon(targets[row].c_str());
        if (icon) DrawIconEx(memory, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL), DestroyIcon(icon);
        SelectObject(memory, previous);
        std::string pixels(768, 0);
        BITMAPINFO info = {};
        memcpy(&info, record(2).data(), 40);
        GetDIBits(screen, bitmap, 0, 16, &pixels[0], &info, DIB_RGB_COLORS);
        EXPECT_EQ(record(2 + row).substr(40), pixels) << targets[row];
    }
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
    std::vector<int> routes;
    for (const std::string &path : {a, shown, d + "no", d + "sub"}) {
        ShellPicture picture;
        routes.push_back(shell_small_picture(path.c_str(), &picture));
    }
    shell_pictures_end();
    EXPECT_EQ(routes, (std::vector<int>{1, 2, 0, 2}));
}

// An unwritable cache leaves the old file (or none), no temporary one; the next run writes it.
TEST_F(Menu, UnwritableIconCacheLeavesNoTrace) {
    build_pictures();
    // O an old cache, T stale, R read-only, H held, S held sharing reads, G no definition folder,
    // F a folder where the cache goes; bytes written before the write breaks off; check; load
    for (const char *row : {"OR -1 1 0", "OTR -1 0 0", "OTH -1 1 1", "OS -1 1 0", "OTS -1 1 1",
                            "G -1 1 1", "F -1 1 1", "OT 0 1 1", "OT 2829 1 1", "OT 7675 1 1"}) {
        std::string flags, old;
        long long written;
        int checked, loaded;
        std::istringstream(row) >> flags >> written >> checked >> loaded;
        auto has = [&](char flag) { return flags.find(flag) != std::string::npos; };
        ScratchFolder fresh;
        const std::string path = fresh.path() + "Tavrik.tvi";
        text_copy(g_startup.definition_path,
                  (fresh.path() + (has('G') ? "gone\\" : "") + "Tavrik.ini").c_str());
        g_settings.definition_time = kWritten;
        std::set<std::string> left;
        if (has('O')) icon_cache_check(nullptr), old = read_file(path), left.insert("Tavrik.tvi");
        if (has('F')) fresh.make_folder("Tavrik.tvi"), left.insert("Tavrik.tvi/");
        g_settings.definition_time = has('T') ? kLater : kWritten;
        SetFileAttributesA(path.c_str(),
                           has('R') ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        HANDLE held =
            flags.find_first_of("HS") == std::string::npos
                ? nullptr
                : CreateFileA(path.c_str(), GENERIC_READ | (has('H') ? GENERIC_WRITE : 0),
                              has('S') ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, 0, nullptr);
        g_bytes_left = written < 0 ? SIZE_MAX : (size_t)written;
        icon_cache_write = failing_write;
        EXPECT_EQ(icon_cache_check(nullptr), checked) << row;
        EXPECT_EQ(icon_cache_load(), loaded) << row;
        icon_cache_write = saved_write;
        if (held) CloseHandle(held);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(listing(fresh.path()), left) << row;
        for (const std::string &name : left)
            EXPECT_TRUE(name.back() != '/' || listing(fresh.path() + name).empty());
        EXPECT_EQ(read_file(path), old) << row;
        if (flags.find_first_of("GF") != std::string::npos) continue;
        EXPECT_EQ(icon_cache_check(nullptr), 1);
        EXPECT_EQ(read_file(path).size(), 2020u + 7 * 808);
        EXPECT_EQ(read_file(path) == old, !has('T')) << row;
    }
    // A cache path of 259 bytes, the longest there is, still gets its temporary file beside it.
    ScratchFolder deep;
    const std::string folder = deep.make_folder(std::string(248 - deep.path().size(), 'l')) + "\\";
    text_copy(g_startup.definition_path, (folder + "Tavrik.ini").c_str());
    EXPECT_EQ(icon_cache_check(nullptr), 1);
    EXPECT_EQ(read_file(folder + "Tavrik.tvi").size(), 2020u + 7 * 808);
}

// Only rows that launch something are marked, and not in owner-drawn menus.
// Root: A(2000) -(2001) B(2002)[v(2003) w(2004)] S(2005)[] system.
TEST_F(Menu, HooksMarkOnlyRowsThatLaunch) {
    build("A + B >v >w {S In }");
    MOUSEHOOKSTRUCT mouse = {};
    // submenu position (-1 the root), item, icon mode, markable
    for (const char *row : {"-1 2000 0 1", "2 2003 0 1", "-1 2001 0 0", "-1 2005 0 0",
                            "-1 2650 0 0", "-1 2008 0 0", "-1 2000 2 0"}) {
        int position, markable;
        std::istringstream(row) >> position >> g_popup.last_item >> g_settings.icon_mode >>
            markable;
        g_popup.last_menu = position < 0 ? root : GetSubMenu(root, position);
        EXPECT_EQ(menu_keyboard_hook(HC_ACTION, VK_SPACE, (LPARAM)0x80000000), 0);  // a release
        // Toggled and swallowed at the first call of a press, HC_NOREMOVE included.
        EXPECT_EQ(menu_keyboard_hook(HC_NOREMOVE, VK_SPACE, 0), markable) << row;
        EXPECT_EQ(describe(g_popup.last_menu).find(")!") != std::string::npos, markable == 1);
        EXPECT_EQ(menu_mouse_hook(HC_ACTION, WM_MBUTTONDOWN, (LPARAM)&mouse), markable);
        EXPECT_EQ(describe(g_popup.last_menu).find(")!") + g_menu.marked_count, std::string::npos);
    }
}

// A listed folder's submenu is built at every opening with the same bitmaps;
// Down follows only a mouse selection, and the menu's first opening.
TEST_F(Menu, SubmenuBuiltAtEveryOpeningWithoutNewBitmaps) {
    for (int i = 0; i < 5; ++i) dir.write("list\\f" + std::to_string(i) + ".exe", "MZ");
    build(dir.path() + "list", "@icon");
    ASSERT_TRUE(icon_cache_check(nullptr) && icon_cache_load());
    HMENU list = GetSubMenu(root, 0);
    std::set<HBITMAP> bitmaps;
    for (int opening = 0; opening < 200; ++opening) {
        g_menu.marked[3] = opening >= 100;
        g_popup.last_by_mouse = opening % 2;
        launcher_window_proc(nullptr, WM_INITMENUPOPUP, (WPARAM)list, 0);
        ASSERT_EQ(describe(list).find(")!") != std::string::npos, opening >= 100);
        for (UINT id = 2001; id <= 2005; ++id) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info, info.fMask = MIIM_BITMAP;
            GetMenuItemInfoA(list, id, FALSE, &info);
            bitmaps.insert(info.hbmpItem);
        }
    }
    EXPECT_EQ(bitmaps.size(), 5u);
    for (HBITMAP bitmap : bitmaps) EXPECT_EQ(GetObjectType(bitmap), (DWORD)OBJ_BITMAP);
    EXPECT_EQ(g_presses, std::vector<int>(100, VK_DOWN));
    launcher_window_proc(nullptr, WM_INITMENU, (WPARAM)root, 0);
    EXPECT_EQ(g_presses.size(), 101u);
}

// A click posted at focus loss closes the menu and is swallowed when it arrives.
TEST_F(Menu, FocusLossClosesTheMenuWithASwallowedClick) {
    HWND window =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (int active : {0, 1}) {
        g_popup.menu_active = active;
        launcher_window_proc(window, WM_KILLFOCUS, 0, 0);
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE), active);
        EXPECT_EQ(launcher_window_proc(window, WM_LBUTTONDOWN, 0, 0), active);
        EXPECT_EQ(launcher_window_proc(window, WM_LBUTTONDOWN, 0, 0), 0);  // later clicks pass
    }
    DestroyWindow(window);
}
