#pragma once
// MorvalenStatus: the status that nearly every operation of the imaging library
// returns. Values 0 to 21 are the GDI+ status values under the GDI+ names,
// taken from the GDI+ layer so the two cannot drift apart; the rest belong to
// the library.
#include <cstdint>

#include "platform/gdiplus/status.h"

namespace scanvelt {

enum MorvalenStatus : int32_t {
    OK = gdiplus::Ok,
    GenericError = gdiplus::GenericError,
    InvalidParameter = gdiplus::InvalidParameter,
    OutOfMemory = gdiplus::OutOfMemory,
    ObjectBusy = gdiplus::ObjectBusy,
    InsufficientBuffer = gdiplus::InsufficientBuffer,
    NotImplemented = gdiplus::NotImplemented,
    Win32Error = gdiplus::Win32Error,
    WrongState = gdiplus::WrongState,
    Aborted = gdiplus::Aborted,
    FileNotFound = gdiplus::FileNotFound,
    ValueOverflow = gdiplus::ValueOverflow,
    AccessDenied = gdiplus::AccessDenied,
    UnknownImageFormat = gdiplus::UnknownImageFormat,
    FontFamilyNotFound = gdiplus::FontFamilyNotFound,
    FontStyleNotFound = gdiplus::FontStyleNotFound,
    NotTrueTypeFont = gdiplus::NotTrueTypeFont,
    UnsupportedGdiplusVersion = gdiplus::UnsupportedGdiplusVersion,
    GdiplusNotInitialized = gdiplus::GdiplusNotInitialized,
    PropertyNotFound = gdiplus::PropertyNotFound,
    PropertyNotSupported = gdiplus::PropertyNotSupported,
    ProfileNotFound = gdiplus::ProfileNotFound,
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
    // The OCR plug-in is missing or older than the version this library needs.
    OCRPluginNotLoaded = 510,
    BarcodeReader1DPluginNotLoaded = 600,
    BarcodeReaderDataMatrixPluginNotLoaded = 700,
};

// GDI+ statuses pass through unchanged: their values are the first 22.
constexpr MorvalenStatus StatusOf(gdiplus::Status status) { return static_cast<MorvalenStatus>(status); }
static_assert(ProfileNotFound == 21 && UnsupportedImageFormat == ProfileNotFound + 1,
              "the library's own statuses start right after the last GDI+ status");

}  // namespace scanvelt
