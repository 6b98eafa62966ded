// The fuzz targets' drive and launcher state.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "definition/startup.h"
#include "launch/launch_state.h"
#include "definition/listing.h"
#include "definition/items.h"
#include "definition/settings.h"
#include "native/native_drive.h"
#include "tests/unit/test_support.h"

void fuzz_fail(const char *what, const char *file, int line) {
    fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    abort();
}

void fuzz_prepare_drive() {
    static bool done = false;
    if (done) return;
    done = true;
    native_make_system_folders();
    native_write_file("C:\\Tavrik\\ed.exe", "MZ");
    native_write_file("C:\\Tavrik\\Tool Two.exe", "MZ");
    native_write_file("C:\\Tavrik\\list\\a.exe", "MZ");
    native_write_file("C:\\Tavrik\\list\\b.lnk", "MZ");
    native_write_file("C:\\Tavrik\\list\\note.txt", "x");
    native_write_file("C:\\Tavrik\\list\\sub\\c.exe", "MZ");
    native_write_file("C:\\Tavrik\\paths.txt", "PATH=C:\\Tavrik\\list;C:\\windows\r\n");
    native_set_current_folder("C:\\Tavrik\\");
    // Two extensions besides ".exe" cover the late resolution steps at a
    // fraction of the lookups that every unresolved entry costs.
    setenv("PATHEXT", ".COM;.EXE;.BAT", 1);
}

void fuzz_reset_state() { reset_launcher_state("C:\\Tavrik\\"); }

std::vector<std::string> fuzz_split(const uint8_t *data, size_t size, size_t max_parts) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && parts.size() < max_parts) {
            parts.emplace_back();
        } else {
            parts.back() += (char)data[i];
        }
    }
    return parts;
}

bool fuzz_terminated(const char *text, size_t size) { return memchr(text, 0, size) != nullptr; }
