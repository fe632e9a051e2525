#pragma once
// The DataMatrix reader's C interface. The shared object
// libmvbarcode.dmreader.so is loaded by name at run time; every function
// below is one export. It reads ECC 200 DataMatrix symbols, square and
// rectangular, at any angle and anywhere in the picture.
//
// Scanners and codes are opaque non-zero 32-bit handles, never addresses; 0
// means none. A code handle is good until its scanner scans again or is
// freed; a text the reader returns belongs to it for as long.
//
// Every function may be called from any thread; calls are serialised inside.
#include <stdint.h>

#define MVBARCODEDMREADER_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

// The reader's version; callers take 100 and later.
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetVersion(void);

// A new scanner. `maxCodes`: at most this many symbols per scan (0 or above
// 255: 255); both reserved values must be 0, else the answer is 0.
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_NewBarScanner(int32_t maxCodes, int32_t reserved1,
                                                              int32_t reserved2);
// The picture: a packed DIB in a block of global memory, which stays the
// caller's (the scanner keeps a copy). 1 when taken, 0 otherwise.
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_SetDibSource(int32_t scanner, uint32_t dibBlock);
// Finds the symbols in the picture: 1 when it searched, 0 without a picture.
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_ScanBar(int32_t scanner);
MVBARCODEDMREADER_API uint8_t MVBARCODEDMREADER_GetBarcodeCount(int32_t scanner);
// Symbol `index` (0-based) of the last scan; 0 when there is none.
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcode(int32_t scanner, int32_t index);

// Per symbol; 0 (or a null text) for a handle that names no symbol.
// The decoded bytes, NUL-terminated (ISO 8859-1 as the symbol holds them).
MVBARCODEDMREADER_API const char* MVBARCODEDMREADER_GetBarcodeValue(int32_t code);
// Corners of the symbol as it reads upright: 1 top-left, 2 top-right,
// 3 bottom-right, 4 bottom-left (the finder's corner), in pixels of the picture.
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeX1(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeY1(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeX2(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeY2(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeX3(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeY3(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeX4(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeY4(int32_t code);
// Modules of the symbol from top to bottom and from left to right.
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeRows(int32_t code);
MVBARCODEDMREADER_API int32_t MVBARCODEDMREADER_GetBarcodeColumns(int32_t code);

MVBARCODEDMREADER_API void MVBARCODEDMREADER_FreeBarScanner(int32_t scanner);

#ifdef __cplusplus
}
#endif
