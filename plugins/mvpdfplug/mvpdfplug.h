#pragma once
// The PDF plug-in's C interface. The shared object libmvpdfplug.so is loaded
// by name at run time; every function below is one export. It opens PDF
// documents with poppler, keeps one selected page per document and renders it
// into a pixel buffer it hands over.
//
// Documents: opaque non-zero 32-bit handles from a table inside the plug-in,
// never addresses; 0 means none or failure. A handle that was closed stays
// refused. A document that needs a password opens as a handle whose pages
// stay out of reach (HasEncryption answers 1) until SetPasswordW accepts one.
//
// Texts: UTF-16, NUL-terminated. Paths are Linux paths. A text the plug-in
// returns belongs to it and stays valid until the next call for the same
// document; callers copy it at once.
//
// Every function may be called from any thread; calls are serialised inside.
#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#define MVPDFPLUG_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

// A rendered page: height rows of `stride` bytes from the top row down, each
// pixel B, G, R, A (opaque: the page is drawn on white).
typedef struct MvpdfplugImage {
    int32_t width;
    int32_t height;
    int32_t stride;
    uint8_t* pixels;
} MvpdfplugImage;

// The plug-in's version; the engine takes 100 and later.
MVPDFPLUG_API int32_t MVPDFPLUG_GetVersion(void);

// Opens a document; 0 when the file cannot be read as a PDF.
MVPDFPLUG_API int32_t MVPDFPLUG_LoadFromFileW(const char16_t* path);
// 1 when the password opens the document (or it needs none), 0 when refused.
MVPDFPLUG_API int32_t MVPDFPLUG_SetPasswordW(int32_t document, const char16_t* password);
// 1 while the document needs a password that has not been given, else 0.
MVPDFPLUG_API int32_t MVPDFPLUG_HasEncryption(int32_t document);
MVPDFPLUG_API int32_t MVPDFPLUG_PageCount(int32_t document);
// Makes page `page` (from 1) the selected one: 1 on success, 0 otherwise.
MVPDFPLUG_API int32_t MVPDFPLUG_SelectPage(int32_t document, int32_t page);
// The selected page's size in points (1/72 inch), as it lies before any rotation; 0 without one.
MVPDFPLUG_API double MVPDFPLUG_PageWidth(int32_t document);
MVPDFPLUG_API double MVPDFPLUG_PageHeight(int32_t document);
// The selected page's rotation in degrees (0, 90, 180 or 270).
MVPDFPLUG_API int32_t MVPDFPLUG_PageRotation(int32_t document);
// Renders the selected page at `dpi` into a new image of width x height
// pixels (the page turned by its rotation, drawn from the top left, white
// where it does not reach), with the form fields or without them. 1 on
// success with *image set; 0 on failure with *image null: no page selected,
// a size below 1, or more pixels than the plug-in renders (refused before
// anything is allocated). `reserved` must be 0.
MVPDFPLUG_API int32_t MVPDFPLUG_Rasterize(int32_t document, double dpi, MvpdfplugImage** image, int32_t width,
                                          int32_t height, int32_t reserved, int32_t formFields);
MVPDFPLUG_API void MVPDFPLUG_FreeImage(MvpdfplugImage* image);
// The largest page the plug-in renders, in pixels.
MVPDFPLUG_API int64_t MVPDFPLUG_MaxPixels(void);
// Closes the document: 1 when the handle was open.
MVPDFPLUG_API int32_t MVPDFPLUG_Close(int32_t document);
// Item 0 the PDF version ("PDF-1.7"), 1 author, 2 title, 3 subject, 4
// keywords, 5 creator, 6 producer, 7 creation date, 8 modification date
// (dates as "YYYY-MM-DD HH:MM:SS"); "" when the document has none.
MVPDFPLUG_API const char16_t* MVPDFPLUG_GetDescriptionW(int32_t document, int32_t item);
// The document's XMP metadata; "" when it has none.
MVPDFPLUG_API const char16_t* MVPDFPLUG_GetMetadataW(int32_t document);

#ifdef __cplusplus
}
#endif
