#pragma once
// MorvalenStatus: the status that nearly every operation of the imaging library
// returns. Values 0 to 21 are the GDI+ status values under the GDI+ names; the
// rest belong to the library.
#include <cstdint>

#include "platform/gdiplus/status.h"

namespace scanvelt {

enum MorvalenStatus : int32_t {
    OK = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
    ProfileNotFound = 21,
    UnsupportedImageFormat = 22,
    // Reading a stream raised a run-time error; the enumeration has no name for it.
    StreamReadFailure = 23,
    TwainError = 30,
    WrongMvTwainVersion = 31,
    BadTwainState = 32,
    TwainTransferCanceled = 33,
    TwainTransferError = 34,
    TwainPdfMustBeCreatedFirst = 35,
    TwainInvalidTransferMode = 36,
    WrongGdiplusVersion = 40,
    CanNotCreateFile = 41,
    InvalidBarCode = 50,
    NotIndexedPixelFormat = 61,
    UnsupportedPixelFormat = 62,
    InternetOpenError = 100,
    InternetConnectError = 101,
    InternetHttpOpenRequestError = 102,
    InternetHttpQueryError = 103,
    InternetFtpGetFileError = 104,
    InternetHttpSendRequestError = 105,
    InternetHttpInvalidFileLength = 106,
    InternetHttpTransferError = 107,
    InternetFtpWriteFileError = 108,
    PdfCanNotBeDecrypted = 200,
    PdfPasswordNeeded = 201,
    PdfBadPassword = 202,
    PdfCanNotOpenFile = 203,
    PdfRenderingPageError = 204,
    PdfUnexpectedError = 205,
    PdfPlugNotLoaded = 210,
    PdfErrorAddingImage = 230,
    MvimgplugDllRequired = 300,
    WrongMvimgplugVersion = 301,
    TemplateNotFound = 400,
    OCRDictionaryNotFound = 500,
    BarcodeReader1DPluginNotLoaded = 600,
    BarcodeReaderDataMatrixPluginNotLoaded = 700,
};

// GDI+ statuses pass through unchanged: their values are the first 22.
constexpr MorvalenStatus StatusOf(gdiplus::Status status) { return static_cast<MorvalenStatus>(status); }

}  // namespace scanvelt
