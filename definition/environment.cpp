// Expands environment variables in the paths of the definition.
#include "definition/environment.h"

#include <cstring>

#include "core/platform.h"
#include "core/text.h"
#include "definition/placeholders.h"
#include "definition/settings.h"

// A name fits a line of the definition; a value may fill a search list.
constexpr size_t kNameSize = 518;
constexpr size_t kValueSize = kSearchListSize;

size_t expand_environment(const char *text, char *out, size_t out_size) {
    out[0] = 0;
    // "%" is never the trail byte of a double-byte character, so searching
    // for it byte by byte is safe.
    for (const char *p = text; *p;) {
        const char *open = strchr(p, '%');
        if (!open) {
            text_append(out, out_size, p);
            break;
        }
        text_append_n(out, out_size, p, (size_t)(open - p));
        const char *close = strchr(open + 1, '%');
        size_t token_length = close ? (size_t)(close + 1 - open) : 0;
        char name[kNameSize], value[kValueSize];
        if (token_length > 2 && token_length - 2 < sizeof name &&
            !is_own_token(open, token_length)) {
            text_copy_n(name, open + 1, token_length - 2);
            if (plat_environment(name, value, sizeof value)) {
                text_append(out, out_size, value);
                p = close + 1;
                continue;
            }
        }
        text_append(out, out_size, "%");
        p = open + 1;
    }
    return strlen(out);
}
