// The process-wide launch state.
#include "launch/launch_state.h"

LaunchState g_launch;

void launch_begin(void *owner, int dialog_x, int dialog_y) {
    g_launch.owner = owner;
    g_launch.dialog_x = dialog_x;
    g_launch.dialog_y = dialog_y;
}
