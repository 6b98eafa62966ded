// Owner-drawn items are not drawn yet; the requests are answered empty.
#include "menu/ownerdraw.h"

BOOL measure_item(HWND window, MEASUREITEMSTRUCT *request) {
    (void)window;
    (void)request;
    return TRUE;
}

BOOL draw_item(DRAWITEMSTRUCT *request) {
    (void)request;
    return TRUE;
}
