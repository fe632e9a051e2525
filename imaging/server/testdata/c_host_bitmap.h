/* A grey 24-bit BMP file for the viewer hosts to show: rows bottom-up,
 * padded to four bytes, with the resolution given in pixels per metre. */
#ifndef SCANVELT_C_HOST_BITMAP_H
#define SCANVELT_C_HOST_BITMAP_H
#include "c_host_abi.h"

static inline int writeGreyBitmap(const char* path, int32_t width, int32_t height, int32_t pixelsPerMetre) {
    const uint32_t stride = ((uint32_t)width * 3 + 3) & ~3u;
    const uint32_t pixels = stride * (uint32_t)height, size = 54 + pixels;
    uint8_t header[54] = {'B', 'M'};
    memcpy(header + 2, &size, 4);
    header[10] = 54;
    header[14] = 40;
    memcpy(header + 18, &width, 4);
    memcpy(header + 22, &height, 4);
    header[26] = 1;
    header[28] = 24;
    memcpy(header + 34, &pixels, 4);
    memcpy(header + 38, &pixelsPerMetre, 4);
    memcpy(header + 42, &pixelsPerMetre, 4);
    FILE* f = fopen(path, "wb");
    if (!f) return 0;
    fwrite(header, 1, sizeof header, f);
    for (uint32_t i = 0; i < pixels; ++i) fputc(0x80, f);
    return fclose(f) == 0;
}

#endif
