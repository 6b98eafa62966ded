// The program's own sizes are given for 96 DPI (100 %) and scaled to the DPI
// of the monitor the menu or dialog shows on.
#pragma once

#include <climits>

constexpr int kBaseDpi = 96;

// value, given for 96 DPI, at dpi: rounded half away from zero as MulDiv
// rounds, and held within int (an "@font=" size may be as large as INT_MAX).
inline int scale_to_dpi(long long value, int dpi) {
    long long scaled = value * dpi;
    scaled = (scaled + (scaled < 0 ? -kBaseDpi / 2 : kBaseDpi / 2)) / kBaseDpi;
    return scaled > INT_MAX ? INT_MAX : scaled < INT_MIN ? INT_MIN : (int)scaled;
}
