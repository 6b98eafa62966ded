// Fuzz target: launching with the selected paths in place of a multi-file
// token. Input: a flag byte, then NUL-separated parts: the parameters, the
// program, the working folder and the paths one a line.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "launch/launch.h"
#include "launch/launch_state.h"
#include "core/text.h"

namespace {

int g_opens;

void checked_open(const char *file, const char *parameters, const char *folder) {
    FUZZ_CHECK(file && parameters && folder);
    FUZZ_CHECK(strlen(parameters) < (size_t)1 << 24);
    ++g_opens;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz_prepare_drive();
    fuzz_reset_state();
    if (size == 0) return 0;
    LaunchState &st = g_launch;
    st.multi_file_mode = data[0] & 1 ? MultiFileQuoted : MultiFileUnquoted;
    std::vector<std::string> parts = fuzz_split(data + 1, size - 1, 4);
    parts.resize(4);
    size_t start = 0;
    const std::string &paths = parts[3];
    while (start < paths.size() && st.selected_count < kMaxSelectedPaths) {
        size_t end = paths.find('\n', start);
        if (end == std::string::npos) end = paths.size();
        text_copy(st.selected_paths[st.selected_count++], paths.substr(start, end - start).c_str());
        start = end + 1;
    }
    shell_open = checked_open;
    g_opens = 0;
    launch_with_selected_paths(parts[0].c_str(), parts[1].c_str(), parts[2].c_str());
    FUZZ_CHECK(g_opens <= 1);
    return 0;
}
