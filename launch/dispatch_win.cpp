// The Win32 ends of dispatch: the pause between launches and the version box.
#include <windows.h>

#include "launch/dispatch.h"
#include "res/resource.h"

namespace {

// The version box, in code page 932.
const char kVersionText[] =
    "\x81u\x83^\x83\x94\x83\x8a\x83N \x83\x89\x83\x93\x83`\x83\x83\x90\xea\x97p\x81v\x81@\r\n"
    "\r\n"
    "    \x81@ Ver.L_" TAVRIK_VERSION_STR
    "\r\n"
    "\r\n"
    "\x81@ 2010\x94N05\x8c\x8e"
    "13\x93\xfa";
const char kVersionCaption[] = "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1";

void sleep_ms(int milliseconds) {
    if (milliseconds > 0) Sleep((DWORD)milliseconds);
}

void version_box(void *owner) {
    SetForegroundWindow((HWND)owner);
    MessageBoxA((HWND)owner, kVersionText, kVersionCaption, MB_OK);
}

}  // namespace

void (*launch_pause)(int milliseconds) = sleep_ms;
void (*show_version_box)(void *owner) = version_box;
