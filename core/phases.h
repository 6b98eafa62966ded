// Start-up timing, taken only when asked: where the time between the
// process's start and its menu goes.
//
// Marks are the milliseconds from the process's start to a point of the run;
// sums add up the time spent in one kind of work over all its calls. When
// timing is not asked for, each call costs one test of a null pointer.
#pragma once

#include <cstddef>

#include "core/platform.h"

enum PhaseMark {
    MarkMain,          // the entry point runs: the process and its DLLs are loaded
    MarkWindow,        // the launcher window is being created (the display connected)
    MarkDefinition,    // the menu definition is loaded
    MarkIconsChecked,  // the icon cache is current (or written)
    MarkIconsLoaded,   // the popup cycle has read the icon cache
    MarkMenuBuilt,     // the menu is built and about to be tracked
    kPhaseMarks
};

enum PhaseSum {
    SumResolution,    // resolve_program
    SumListings,      // folder entries listed
    SumPlaceholders,  // placeholders expanded in entry lines
    SumLibraries,     // libraries loaded on first use
    kPhaseSums
};

struct PhaseTimes {
    double mark[kPhaseMarks];
    double sum[kPhaseSums];
};

// Null unless timing_begin was called.
extern PhaseTimes *g_phases;

// Starts taking times for this run.
void timing_begin();

// Notes the first time the run reaches mark.
inline void phase_mark(PhaseMark mark) {
    if (g_phases && g_phases->mark[mark] < 0) g_phases->mark[mark] = plat_ms_since_start();
}

// The start of a timed piece of work, for phase_add.
inline double phase_start() { return g_phases ? plat_ms_since_start() : 0; }

inline void phase_add(PhaseSum sum, double started) {
    if (g_phases) g_phases->sum[sum] += plat_ms_since_start() - started;
}

// One line: "name=ms" for each mark reached, "name+ms" for each sum, ended
// by CR LF; the length written.
size_t timing_format(char *out, size_t out_size);
