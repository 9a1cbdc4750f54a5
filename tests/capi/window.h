/* The C host's window, made the way a C host makes one: Win32 on Windows, Xlib elsewhere. */
#ifndef C_HOST_WINDOW_H
#define C_HOST_WINDOW_H

/* A shown window of this size; NULL when none can be made. On X11 the handle carries the window
 * id. */
void* open_window(int width, int height);
/* Handles the window system's pending events. */
void pump_window(void);
void close_window(void);

#endif
