#pragma once
// The linear barcode reader's C interface. The shared object
// libmvbarcode.1dreader.so is loaded by name at run time; every function
// below is one export. It reads Code 128 (and its GS1 form), Code 39,
// Code 93, Codabar, Interleaved 2 of 5, EAN-13, EAN-8, UPC-A and UPC-E.
//
// Scanners and codes are opaque non-zero 32-bit handles, never addresses; 0
// means none. A code handle is good until its scanner scans again or is
// freed; a text the reader returns belongs to it for as long.
//
// Every function may be called from any thread; calls are serialised inside.
#include <stdint.h>

#define MVBARCODE1DREADER_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

// The reader's version; callers take 105 and later.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetVersion(void);

// A new scanner that looks for every type the reader knows. `maxCodes`: at
// most this many codes per scan (0 or above 255: 255); both reserved values
// must be 0, else the answer is 0.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_NewBarScanner(int32_t maxCodes, int32_t reserved1,
                                                              int32_t reserved2);
// 0 reads codes that read along the picture's rows (upright, upside down or
// a little skewed); 1 also codes turned a quarter either way.
MVBARCODE1DREADER_API void MVBARCODE1DREADER_SetPerformance(int32_t scanner, uint8_t mode);
// The picture: a packed DIB in a block of global memory, which stays the
// caller's (the scanner keeps a copy). 1 when taken, 0 otherwise.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_SetDibSource(int32_t scanner, uint32_t dibBlock);
// Finds the codes in the picture: 1 when it searched, 0 without a picture.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_ScanBar(int32_t scanner);
MVBARCODE1DREADER_API uint8_t MVBARCODE1DREADER_GetBarcodeCount(int32_t scanner);
// Code `index` (0-based) of the last scan; 0 when there is none.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcode(int32_t scanner, int32_t index);

// Per code; 0 (or a null text) for a handle that names no code.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeType(int32_t code);
// The text, NUL-terminated, Windows-1252.
MVBARCODE1DREADER_API const char* MVBARCODE1DREADER_GetBarcodeValue(int32_t code);
// Corners of the code as it reads upright: 1 top-left, 2 top-right,
// 3 bottom-right, 4 bottom-left, in pixels of the picture.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeX1(int32_t code);
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeY1(int32_t code);
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeX2(int32_t code);
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeY2(int32_t code);
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeX3(int32_t code);
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeY3(int32_t code);
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeX4(int32_t code);
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_GetBarcodeY4(int32_t code);
// The direction of reading in degrees counter-clockwise, 0 <= angle < 360,
// measured from the lean of the bars.
MVBARCODE1DREADER_API double MVBARCODE1DREADER_GetSkewAngle(int32_t code);
// 1 when the code's symbology carries a check digit and it was verified.
MVBARCODE1DREADER_API int32_t MVBARCODE1DREADER_HasCheckSum(int32_t code);

MVBARCODE1DREADER_API void MVBARCODE1DREADER_FreeBarScanner(int32_t scanner);

#ifdef __cplusplus
}
#endif
