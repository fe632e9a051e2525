/* Windows a plain C host shows, kept in memory by a small library of the
 * platform layer (libscanveltchostwindow.so), so that the server library can
 * draw on them: each is registered as a host window while it is open. */
#ifndef C_HOST_WINDOW_H
#define C_HOST_WINDOW_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A window of that client size showing `fill` (0xAARRGGBB); its handle, 0 on failure. */
uint32_t c_host_window_open(int32_t width, int32_t height, uint32_t fill);
/* The pixels of the rectangle showing `colour` (the alpha byte is not compared). */
int32_t c_host_window_count(uint32_t window, int32_t left, int32_t top, int32_t width, int32_t height,
                            uint32_t colour);
/* How often the library handed the window what it drew. */
int32_t c_host_window_handovers(uint32_t window);
void c_host_window_close(uint32_t window);

#ifdef __cplusplus
}
#endif

#endif
