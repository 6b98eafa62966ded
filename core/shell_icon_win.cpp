// Fetches the shell's small icons and the program's system icon.
#include "core/shell_icon_win.h"

#include <objbase.h>
#include <shellapi.h>

#include "core/lazy_win.h"
#include "core/pathparts.h"
#include "res/resource.h"

HICON shell_small_icon(const char *path) {
    SHFILEINFOA info = {};
    // A URL or shell location is no file: it gets the shell's picture of
    // an Internet shortcut, one for all of them.
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON;
    if (path_is_shell_location(path)) {
        path = ".url";
        flags |= SHGFI_USEFILEATTRIBUTES;
    }
    if (!lazy::SHGetFileInfoA(path, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags))
        return nullptr;
    return info.hIcon;
}

HICON program_system_icon() { return LoadIconA(GetModuleHandleA(nullptr), TAVRIK_ICON_SYS); }

namespace {

// The shell answers one path at a time and slowly (it looks up the file's
// type and reads the file); worker threads could overlap that, but under
// Wine they were seen to hang now and then, so none is started for now.
const int kIconWorkers = 0;

struct IconWork {
    const char *const *paths;
    int count;
    HICON *icons;
    volatile LONG next;
};

void take_icons(IconWork *work) {
    for (LONG i; (i = InterlockedIncrement(&work->next) - 1) < work->count;)
        work->icons[i] = shell_small_icon(work->paths[i]);
}

DWORD WINAPI icon_worker(void *data) {
    HRESULT com = lazy::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    take_icons((IconWork *)data);
    if (SUCCEEDED(com)) lazy::CoUninitialize();
    return 0;
}

}  // namespace

void shell_small_icons(const char *const *paths, int count, HICON *icons) {
    IconWork work = {paths, count, icons, 0};
    HANDLE workers[kIconWorkers + 1];
    int started = 0;
    for (int i = 0; i < kIconWorkers && i * 8 < count; ++i) {
        workers[started] = CreateThread(nullptr, 0, icon_worker, &work, 0, nullptr);
        if (workers[started]) ++started;
    }
    take_icons(&work);
    // Messages sent to this thread's windows meanwhile are answered, so that
    // a worker the shell makes wait for one never waits for us in turn.
    for (int i = 0; i < started; ++i) {
        while (MsgWaitForMultipleObjects(1, &workers[i], FALSE, INFINITE, QS_SENDMESSAGE) ==
               WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    for (int i = 0; i < started; ++i) CloseHandle(workers[i]);
}
