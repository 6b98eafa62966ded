// The system submenu's check item: the checker's report on the definition in
// use, opened in the editor.
#pragma once

#include <windows.h>

// Checks the definition file in use as tavrik-check does, writes the report
// to "Tavrik-check.txt" in the user's temporary folder and opens it in the
// "@editor=" program. The loaded definition stays as it was; nothing is
// written beside the definition. Returns 0 when the report could not be
// written (nothing is opened then).
int run_check_item();
