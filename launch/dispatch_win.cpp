// The Win32 ends of dispatch: the pause between launches and the version box.
#include <windows.h>

#include "core/platform.h"
#include "launch/dispatch.h"
#include "res/resource.h"

namespace {

// The version box's text and caption: Japanese in code page 932, English on
// systems that cannot show it.
struct VersionBoxTexts {
    const char *text;
    const char *caption;
};
const VersionBoxTexts kVersionBox[] = {
    {"Tavrik launcher\r\n"
     "\r\n"
     "    Ver.L_" TAVRIK_VERSION_STR "\r\n"
     "\r\n"
     "    13 May 2010",
     "Version"},
    {"\x81u\x83^\x83\x94\x83\x8a\x83N \x83\x89\x83\x93\x83`\x83\x83\x90\xea\x97p\x81v\x81@\r\n"
     "\r\n"
     "    \x81@ Ver.L_" TAVRIK_VERSION_STR "\r\n"
     "\r\n"
     "\x81@ 2010\x94N05\x8c\x8e"
     "13\x93\xfa",
     "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1"},
};

void sleep_ms(int milliseconds) {
    if (milliseconds > 0) Sleep((DWORD)milliseconds);
}

void version_box(void *owner) {
    const VersionBoxTexts &box = kVersionBox[plat_ansi_is_japanese()];
    SetForegroundWindow((HWND)owner);
    MessageBoxA((HWND)owner, box.text, box.caption, MB_OK);
}

}  // namespace

void (*launch_pause)(int milliseconds) = sleep_ms;
void (*show_version_box)(void *owner) = version_box;
