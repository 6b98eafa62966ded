// Command macros: only placeholders are expanded so far; the macros
// themselves pass through unchanged.
#include "launch/macros.h"

#include "launch/launch_state.h"
#include "launch/placeholders.h"
#include "menudef/settings.h"
#include "menudef/textbuf.h"

void expand_command_macros(void *owner, const char *parameter_template, const char *program,
                           char *out, size_t out_size) {
    (void)owner;
    (void)program;
    g_launch.multi_file_mode = MultiFileNone;
    if (g_settings.placeholders_enabled) {
        expand_placeholders(parameter_template, out, out_size);
    } else {
        text_copy(out, out_size, parameter_template);
    }
}
