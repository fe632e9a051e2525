#pragma once
// The PDF plug-in as the engine and the viewer reach it: "mvpdfplug.dll"
// (found as libmvpdfplug.so the way every library is found) bound by name at
// the first call and held for the life of the process, with its version
// check. A missing, unreadable or too old plug-in, or one that lacks a
// function, makes every call raise PdfPluginUnavailable: the run-time error
// of the call that the viewer answers with its status 210.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/morvalen_status.h"
#include "plugins/mvpdfplug/mvpdfplug.h"

namespace scanvelt {

inline constexpr std::string_view kPdfPluginDll = "mvpdfplug.dll";
inline constexpr int32_t kMinimumPdfPluginVersion = 100;

class PdfPluginUnavailable : public EngineFailure {
public:
    using EngineFailure::EngineFailure;
};

// The plug-in's functions.
struct PdfPlugin {
    decltype(&MVPDFPLUG_GetVersion) GetVersion;
    decltype(&MVPDFPLUG_LoadFromFileW) LoadFromFileW;
    decltype(&MVPDFPLUG_SetPasswordW) SetPasswordW;
    decltype(&MVPDFPLUG_HasEncryption) HasEncryption;
    decltype(&MVPDFPLUG_PageCount) PageCount;
    decltype(&MVPDFPLUG_SelectPage) SelectPage;
    decltype(&MVPDFPLUG_PageWidth) PageWidth;
    decltype(&MVPDFPLUG_PageHeight) PageHeight;
    decltype(&MVPDFPLUG_PageRotation) PageRotation;
    decltype(&MVPDFPLUG_Rasterize) Rasterize;
    decltype(&MVPDFPLUG_FreeImage) FreeImage;
    decltype(&MVPDFPLUG_Close) Close;
    decltype(&MVPDFPLUG_GetDescriptionW) GetDescriptionW;
    decltype(&MVPDFPLUG_GetMetadataW) GetMetadataW;
};

// The bound plug-in; PdfPluginUnavailable when it cannot be had.
const PdfPlugin& BoundPdfPlugin();

// Points the engine at another plug-in file (tests); "" restores the default.
// Takes effect for a process that has not bound the plug-in yet.
void SetPdfPluginFile(std::string nameOrPath);

// Opens a document (the path trimmed of blanks at both ends); the plug-in's
// handle, 0 when the file cannot be opened.
int32_t PdfPluginLoad(std::string_view path);
// Gives the document its password (trimmed); 1 or more when accepted.
int32_t PdfPluginSetPassword(int32_t document, std::string_view password);
// Renders the plug-in's selected page at dpi x scale into a new image of
// width x height pixels (kind 0) under `outId`, whose resolution becomes
// that rendering resolution. The plug-in's failure gives
// PdfRenderingPageError and, unless `silent`, the message "Error rendering
// page."; `page` is not used (the plug-in renders the page selected before).
MorvalenStatus PdfPageToImage(int32_t& outId, int32_t document, int32_t width, int32_t height, int32_t page,
                              float scale, double dpi, bool silent, bool displayFormFields);

}  // namespace scanvelt
