// The process-wide launch state.
#include "launch/launch_state.h"

LaunchState g_launch;
