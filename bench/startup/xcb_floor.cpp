// The smallest program the start-up benchmark can measure: a bare X client that opens a window
// of the measured size and fills it on its first expose. Its first-frame time is the
// benchmark's own overhead (starting a process, connecting to the display, the event round
// trips), below which no toolkit can go.
#include <cstdlib>
#include <xcb/xcb.h>

int main()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;

    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 481, 393, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, values);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const uint32_t foreground = screen->black_pixel;
    xcb_create_gc(connection, gc, window, XCB_GC_FOREGROUND, &foreground);
    xcb_map_window(connection, window);
    xcb_flush(connection);

    while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7F) == XCB_EXPOSE) {
            const xcb_rectangle_t all{0, 0, 481, 393};
            xcb_poly_fill_rectangle(connection, window, gc, 1, &all);
            xcb_flush(connection);
        }
        std::free(event);
    }
    xcb_disconnect(connection);
    return 0;
}
