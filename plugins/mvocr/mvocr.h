#pragma once
// The OCR plug-in's C interface. The shared object libmvocr.so is loaded by
// name at run time; every function below is one export. It recognises text in
// a pixel buffer with tesseract and hands back one record per character.
//
// Texts are NUL-terminated 8-bit strings: the language is a tessdata language
// name ("eng"), the folder a Linux path of a tessdata folder ("" for the
// system's), the white list UTF-8. All of them are used as data: none is ever
// read as a line of tesseract's configuration.
//
// Every function may be called from any thread; calls are serialised inside.
#include <stddef.h>
#include <stdint.h>

#define MVOCR_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

// One recognised character, 24 bytes, little-endian.
typedef struct MvocrChar {
    int32_t code;        // UTF-16 code unit; negative: not a character
    int16_t line;        // 1-based line of the page
    int16_t left;        // box in pixels from the buffer's top-left corner
    int16_t right;
    int16_t top;
    int16_t bottom;
    int16_t reserved1;
    int16_t confidence;  // 0 (sure) to 255 (a guess): lower is better
    int16_t reserved2;
    int16_t spaces;      // spaces before the character, 0 inside a word
    int16_t reserved3;
} MvocrChar;

// Status words of MVOCR_OCR.
enum {
    MVOCR_STATUS_OK = 0,
    MVOCR_STATUS_BAD_ARGUMENT = 1,      // a null pointer, a size that does not fit, an unknown depth
    MVOCR_STATUS_NO_DICTIONARY = 2,     // tesseract could not start with the language and folder
    MVOCR_STATUS_NOT_RECOGNISED = 3,    // tesseract's recognition failed
    MVOCR_STATUS_OUT_OF_MEMORY = 4,     // the page is above the plug-in's pixel ceiling, or memory ran out
};

// The plug-in's version; the control takes 100 and later.
MVOCR_API int32_t MVOCR_GetVersion(void);

// 1 when the folder ("" for the system's) holds the language's dictionary
// (<folder>/<language>.traineddata), else 0.
MVOCR_API int32_t MVOCR_HasDictionary(const char* language, const char* folder);

// Recognises a page of width x height pixels: rows top to bottom of
// bytesPerRow bytes each, 24 bits per pixel as B, G, R or 1 bit per pixel with
// the first pixel in the high bit and 0 black. `resolution` is the page's dpi
// (0 when unknown). Returns 0 on success; then *block points at *count
// records that stay the plug-in's until the next MVOCR_OCR or MVOCR_CLEAR.
// Otherwise *count is 0 and *status says why. The last twelve arguments are
// reserved and must be 0.
MVOCR_API int32_t MVOCR_OCR(const char* language, const char* folder, const char* whiteList, const MvocrChar** block,
                            int32_t* status, int32_t width, int32_t height, const uint8_t* pixels,
                            int32_t bitsPerPixel, int32_t bytesPerRow, int32_t* count, int32_t resolution,
                            int32_t reserved1, int32_t reserved2, int32_t reserved3, int32_t reserved4,
                            int32_t reserved5, int32_t reserved6, int32_t reserved7, int32_t reserved8,
                            int32_t reserved9, int32_t reserved10, int32_t reserved11);

// Drops the recognition engine; the next MVOCR_OCR starts it anew.
MVOCR_API void MVOCR_REINIT(void);

// Releases the last results, their block included.
MVOCR_API void MVOCR_CLEAR(void);

#ifdef __cplusplus
}

static_assert(sizeof(MvocrChar) == 24, "an OCR record is 24 bytes");
static_assert(offsetof(MvocrChar, confidence) == 16, "confidence at byte 16");
static_assert(offsetof(MvocrChar, spaces) == 20, "spaces at byte 20");
#endif
