#include "imaging/twain/acquisition_members.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/temp_files.h"
#include "imaging/twain/mvtwain_calls.h"
#include "imaging/twain/twain_control.h"
#include "imaging/twain/twain_engine.h"
#include "platform/files/atomic_file_writer.h"
#include "platform/gdiplus/memory.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/global_memory.h"
#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

namespace scanvelt {
namespace {

using namespace mvtwain_call;
namespace fs = std::filesystem;

constexpr int32_t kFileTransfer = 1;
constexpr size_t kMaxTransferPath = 255;
// Engine result codes that mean a page was transferred.
constexpr int32_t kResultSuccess = 0;
constexpr int32_t kResultTransferDone = 6;
// File systems with coarse time stamps may date a new file a little early.
constexpr auto kTimeStampSlack = std::chrono::seconds(2);
// A source list longer than this is an engine that never ends it.
constexpr int32_t kMostSources = 4096;

int32_t state() { return Int("MVTWAIN_State"); }

// A fresh temporary name for the next transfer, cut to 255 characters.
std::string newTransferPath() {
    std::string path = NewTempFileName();
    std::u16string wide = win::Utf8ToUtf16(path);
    if (wide.size() > kMaxTransferPath) path = win::Utf16ToUtf8(wide.substr(0, kMaxTransferPath));
    return path;
}

void removeQuietly(const std::string& path) {
    if (path.empty()) return;
    std::error_code ignored;
    fs::remove(win::ResolveWindowsPath(path), ignored);
}

// Hands a fresh transfer path to the engine; a file left at the page's path
// by an earlier scan is removed first, so it can never pass for this page.
std::string prepareTransferPath(TwainControl& control) {
    const std::string path = newTransferPath();
    control.transferFilePath() = path;
    removeQuietly(path + "_");
    WithText("MVTWAIN_SetFilePathTransfer", path);
    return path;
}

// The engine says the last transfer completed, and the file at `path` was
// written since `start` (not left over from an earlier scan).
bool fileWrittenByTransfer(const std::string& path, fs::file_time_type start) {
    const int32_t result = Int("MVTWAIN_GetLastResultCode");
    if (Int("MVTWAIN_GetLastConditionCode") != 0 || (result != kResultSuccess && result != kResultTransferDone))
        return false;
    const std::string existing = ExistingFilePath(path);
    if (existing.empty()) return false;
    std::error_code error;
    const fs::path resolved = win::ResolveWindowsPath(existing);
    const auto written = fs::last_write_time(resolved, error);
    if (error || written + kTimeStampSlack < start) return false;
    return fs::file_size(resolved, error) > 0 && !error;
}

MorvalenStatus failedTransferStatus() {
    if (Int("MVTWAIN_UserClosedSource") != 0) return TwainTransferCanceled;
    if (Int("MVTWAIN_XferFail") != 0) return TwainTransferError;
    return TwainError;
}

// AcquireToDib after the engine check.
uint32_t acquireDib(TwainControl& control, int32_t hwnd, fs::file_time_type& start) {
    if (state() == 4) Int("MVTWAIN_SetTransferMode", 0);
    const std::string placeholder = prepareTransferPath(control);
    start = fs::file_time_type::clock::now();
    const uint32_t handle = static_cast<uint32_t>(Int("MVTWAIN_AcquireNative", hwnd));
    // NewTempFileName made an empty file at the name itself; a page lands beside it.
    removeQuietly(placeholder);
    if (Int("MVTWAIN_LastTransferMode") == kFileTransfer) {
        control.transferFilePath() = Text("MVTWAIN_GetFilePathTransfer") + "_";
        control.setLastStatus(TwainInvalidTransferMode);
        return handle;
    }
    if (handle != 0) {
        control.setLastStatus(OK);
        return handle;
    }
    control.setLastStatus(failedTransferStatus());
    return 0;
}

gdiplus::PixelFormat rawPixelFormat(int32_t bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: return gdiplus::PixelFormat1bppIndexed;
    case 4: return gdiplus::PixelFormat4bppIndexed;
    case 8: return gdiplus::PixelFormat8bppIndexed;
    case 16: return gdiplus::PixelFormat16bppRGB555;
    case 24: return gdiplus::PixelFormat24bppRGB;
    case 32: return gdiplus::PixelFormat32bppRGB;
    case 48: return gdiplus::PixelFormat48bppRGB;
    case 64: return gdiplus::PixelFormat64bppARGB;
    default: return gdiplus::PixelFormatUndefined;
    }
}

// An image of the engine's RAW buffer; the buffer is freed in every case.
MorvalenStatus imageFromRaw(uint32_t handle, int32_t& id) {
    const gdiplus::PixelFormat format = rawPixelFormat(Int("MVTWAIN_LastRAWBPP"));
    const int32_t width = Int("MVTWAIN_LastRAWWidth");
    const int32_t height = Int("MVTWAIN_LastRAWHeight");
    const int32_t stride = Int("MVTWAIN_LastRAWStride");
    const int32_t bits = Int("MVTWAIN_LastRAWBPP");
    const win::HGLOBAL block{handle};
    // The sizes the engine reports must fit the block it handed over.
    const uint64_t rowBytes = (static_cast<uint64_t>(width > 0 ? width : 0) * static_cast<uint64_t>(bits > 0 ? bits : 0) + 7) / 8;
    const uint64_t bytes = static_cast<uint64_t>(stride > 0 ? stride : 0) * static_cast<uint64_t>(height > 0 ? height : 0);
    MorvalenStatus status = TwainError;
    if (format != gdiplus::PixelFormatUndefined && width > 0 && height > 0 && static_cast<uint64_t>(stride) >= rowBytes &&
        bytes <= win::GlobalSize(block)) {
        gdiplus::OwnedBuffer pixels = gdiplus::AllocBuffer(static_cast<size_t>(bytes));
        const void* source = win::GlobalLock(block);
        if (!pixels) {
            status = OutOfMemory;
        } else if (source) {
            std::copy_n(static_cast<const uint8_t*>(source), bytes, pixels.get());
            status = ImageFromBuffer(width, height, stride, format, std::move(pixels), id);
        }
        if (source) win::GlobalUnlock(block);
    }
    Int("MVTWAIN_FreeNative", static_cast<int32_t>(handle));
    if (status != OK) return status;
    const double x = Real("MVTWAIN_LastRAWResX");
    const double y = Real("MVTWAIN_LastRAWResY");
    // A page without a resolution keeps the image's default.
    if (x > 0 && y > 0) SetImageResolution(id, static_cast<float>(x), static_cast<float>(y), true);
    return OK;
}

// The file of a file transfer as a new image; its status is stored.
int32_t loadTransferredScan(TwainControl& control, const std::string& path) {
    int32_t id = 0;
    const MorvalenStatus status = LoadImageFromFile(id, path, false, false, true, 0, true, true);
    control.setLastStatus(status);
    if (status != OK) return 0;
    control.setCurrentImage(id);
    return id;
}

// Copies a transferred file to the host's path; true when the whole file arrived.
bool copyTransferredFile(const std::string& from, std::string_view to) {
    std::ifstream in(win::ResolveWindowsPath(from), std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    return !files::writeFileAtomically(win::ResolveWindowsPath(to), bytes);
}

}  // namespace

namespace twain_source {

int32_t GetState() { return TwainEngineReady() ? state() : -1; }

bool IsAvailable() { return TwainEngineReady() && Int("MVTWAIN_IsAvailable") == 1; }

bool SelectSource(int32_t hwnd) { return TwainEngineReady() && Int("MVTWAIN_SelectImageSource", hwnd) == 1; }

bool OpenDefaultSource() { return TwainEngineReady() && Int("MVTWAIN_OpenDefaultSource") == 1; }

bool OpenSource(std::string_view name) {
    return TwainEngineReady() && WithText("MVTWAIN_OpenSource", TrimSpaces(name)) == 1;
}

bool CloseSource() {
    if (!TwainEngineReady()) return false;
    const bool closed = Int("MVTWAIN_CloseSource") == 1;
    UnloadSourceManager();
    return closed;
}

bool CloseSourceManager(int32_t hwnd) { return TwainEngineReady() && Int("MVTWAIN_CloseSourceManager", hwnd) == 1; }

bool UnloadSourceManager() { return TwainEngineReady() && Int("MVTWAIN_UnloadSourceManager") == 1; }

bool DisableSource() { return TwainEngineReady() && Int("MVTWAIN_DisableSource") == 1; }

bool ShowSetupDialogSource(TwainControl& control, int32_t hwnd) {
    if (!TwainEngineReady()) return false;
    if (state() < 4) {
        control.setLastStatus(BadTwainState);
        return false;
    }
    return Int("MVTWAIN_SourceSetup", hwnd) == 1;
}

void SetApplicationInfo(int32_t majorVersion, int32_t minorVersion, int32_t language, int32_t country,
                        std::string_view versionInfo, std::string_view companyName, std::string_view productFamily,
                        std::string_view productName) {
    if (!TwainEngineReady() || state() >= 5) return;
    const std::string texts[] = {ToEngine(versionInfo), ToEngine(companyName), ToEngine(productFamily), ToEngine(productName)};
    Call<int32_t>("MVTWAIN_RegisterApp", majorVersion, minorVersion, language, country, texts[0].c_str(), texts[1].c_str(),
                  texts[2].c_str(), texts[3].c_str());
}

int32_t GetSourceCount() {
    if (GetState() < 3) Int("MVTWAIN_OpenSourceManager", 0);
    int32_t count = 0;
    std::string name = Text("MVTWAIN_GetFirstSourceName");
    while (!TrimSpaces(name).empty() && count < kMostSources) {
        ++count;
        name = Text("MVTWAIN_GetNextSourceName");
    }
    return count;
}

std::string GetSourceName(int32_t number) {
    if (GetState() < 3) Int("MVTWAIN_OpenSourceManager", 0);
    std::string name = Text("MVTWAIN_GetFirstSourceName");
    for (int32_t i = 1; i < number && i <= kMostSources; ++i) name = Text("MVTWAIN_GetNextSourceName");
    return name;
}

void SetHideUI(bool hide) { Int("MVTWAIN_SetHideUI", Flag(hide)); }
bool SetIndicators(bool show) { return Int("MVTWAIN_SetIndicators", Flag(show)) == 1; }
void SetErrorMessage(bool show) { Int("MVTWAIN_SetShowError", Flag(show)); }
void SetMultiTransfer(bool multi) { Int("MVTWAIN_SetMultiTransfer", Flag(multi)); }
bool SetXferCount(int32_t transfers) { return Int("MVTWAIN_NegotiateXferCount", transfers) == 1; }
bool EnableDuplex(bool duplex) { return TwainEngineReady() && Int("MVTWAIN_EnableDuplex", Flag(duplex)) == 1; }
void DisableAutoSourceClose(bool disable) {
    if (TwainEngineReady()) Int("MVTWAIN_AutoSourceClose", Flag(!disable));
}
bool UserClosedSource() { return TwainEngineReady() && Int("MVTWAIN_UserClosedSource") == 1; }
bool LastXferFail() { return TwainEngineReady() && Int("MVTWAIN_XferFail") == 1; }
bool EndXfer() { return Int("MVTWAIN_EndXfer") == 1; }
bool EndAllXfers() { return Int("MVTWAIN_AbortAllPendingXfers") == 1; }
bool ResetImageLayout() { return Int("MVTWAIN_ResetImageLayout") == 1; }
int32_t GetLastConditionCode() { return TwainEngineReady() ? Int("MVTWAIN_GetLastConditionCode") : 1; }
int32_t GetLastResultCode() { return TwainEngineReady() ? Int("MVTWAIN_GetLastResultCode") : 0; }
// The log is a file like any other the host names: a Windows path is resolved
// here, so the engine never makes a file with "\" in its name.
bool LogStart(std::string_view path) { return WithText("MVTWAIN_StartLog", win::ResolveWindowsPath(path)) == 1; }
void LogStop() { Int("MVTWAIN_StopLog"); }

}  // namespace twain_source

namespace twain_acquisition {

uint32_t AcquireToDib(TwainControl& control, int32_t hwnd) {
    if (!TwainEngineReady()) {
        control.setLastStatus(WrongMvTwainVersion);
        return 0;
    }
    fs::file_time_type start;
    return acquireDib(control, hwnd, start);
}

int32_t AcquireToMorvalenImage(TwainControl& control, int32_t hwnd) {
    // Without a usable engine nothing is asked of it: 0 and status 31.
    if (!TwainEngineReady()) {
        control.setLastStatus(WrongMvTwainVersion);
        return 0;
    }
    fs::file_time_type start;
    const uint32_t handle = acquireDib(control, hwnd, start);
    if (Int("MVTWAIN_LastTransferMode") == kFileTransfer) {
        if (handle != 0) Int("MVTWAIN_FreeNative", static_cast<int32_t>(handle));
        const std::string path = control.transferFilePath();
        int32_t id = 0;
        if (const MorvalenStatus failed = failedTransferStatus(); failed != TwainError) {
            control.setLastStatus(failed);
        } else if (fileWrittenByTransfer(path, start)) {
            id = loadTransferredScan(control, path);
            if (control.GetStat() == OK) SetImageTempFile(id, path);
        } else {
            control.setLastStatus(TwainError);
        }
        if (control.GetStat() != OK) removeQuietly(path);
        return id;
    }
    // No page: the status of the acquisition stands (cancel, failure or none).
    if (handle == 0) return 0;
    int32_t id = 0;
    if (Int("MVTWAIN_LastDibIsRAW") != 0) {
        control.setLastStatus(imageFromRaw(handle, id));
        if (control.GetStat() != OK) return 0;
    } else {
        const MorvalenStatus status = LoadImageFromDib(id, win::HGLOBAL{handle}, true, true);
        control.setLastStatus(status);
        if (status != OK) {
            Int("MVTWAIN_FreeNative", static_cast<int32_t>(handle));
            return 0;
        }
    }
    control.setCurrentImage(id);
    return id;
}

MorvalenStatus AcquireToFile(TwainControl& control, std::string_view path, int32_t hwnd) {
    if (!TwainEngineReady()) {
        control.setLastStatus(WrongMvTwainVersion);
        return WrongMvTwainVersion;
    }
    if (state() < 4) {
        control.setLastStatus(BadTwainState);
        return BadTwainState;
    }
    Int("MVTWAIN_SetTransferMode", kFileTransfer);
    const std::string placeholder = prepareTransferPath(control);
    const auto start = fs::file_time_type::clock::now();
    const uint32_t handle = static_cast<uint32_t>(Int("MVTWAIN_AcquireNative", hwnd));
    removeQuietly(placeholder);
    MorvalenStatus status = TwainError;
    if (Int("MVTWAIN_LastTransferMode") == kFileTransfer) {
        const std::string transferred = Text("MVTWAIN_GetFilePathTransfer") + "_";
        control.transferFilePath() = transferred;
        if (const MorvalenStatus failed = failedTransferStatus(); failed != TwainError) {
            status = failed;
        } else if (fileWrittenByTransfer(transferred, start)) {
            // Success only when the host's file now holds this page, not
            // merely when some file is at its path.
            status = copyTransferredFile(transferred, path) ? OK : TwainError;
        }
        removeQuietly(transferred);
    } else {
        if (handle != 0) win::GlobalFree(win::HGLOBAL{handle});
        status = TwainInvalidTransferMode;
    }
    control.setLastStatus(status);
    return status;
}

}  // namespace twain_acquisition
}  // namespace scanvelt
