// The input dialog does not exist yet: every prompt counts as cancelled.
#include "launch/input_dialog.h"

static int dialog_not_available(void *owner) {
    (void)owner;
    return 0;
}

int (*run_input_dialog)(void *owner) = dialog_not_available;

void *g_input_edit_field;
