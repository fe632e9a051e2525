#include "imaging/engine/imaging_session.h"

#include <exception>
#include <iostream>
#include <mutex>
#include <new>

#include "imaging/engine/encoder_table.h"
#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/file_version.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/leading_number.h"
#include "imaging/engine/plugin_loader.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codecs/builtin_codecs.h"
#include "platform/gdiplus/startup.h"
#include "platform/win/file_version.h"

namespace scanvelt {

namespace {

struct SessionHooks {
    std::function<std::string(std::string_view)> versionReader;
    std::function<std::shared_ptr<CodecPlugin>()> pluginLoader;
    std::function<void(const std::string&)> messageHandler;
};

thread_local ImagingSession tSession;
thread_local SessionHooks tHooks;

// Our GDI+ layer is built into the library, so it declares its version under
// the DLL name the engine asks for.
void RegisterGdiplusVersion() {
    static std::once_flag once;
    std::call_once(once, [] {
        win::FileVersion version{};
        std::string_view text = gdiplus::kLibraryFileVersion;
        for (uint16_t& part : version) {
            const size_t dot = text.find('.');
            part = static_cast<uint16_t>(LeadingNumberOf(text.substr(0, dot)));
            text = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
        }
        win::RegisterBuiltinModuleVersion("gdiplus.dll", version);
    });
}

std::string ModuleVersion(std::string_view dllName) {
    if (tHooks.versionReader) return tHooks.versionReader(dllName);
    RegisterGdiplusVersion();
    return GetFileVersionString(dllName);
}

void ShowMessage(const std::string& text) {
    if (tHooks.messageHandler) {
        tHooks.messageHandler(text);
    } else {
        std::cerr << text << '\n';
    }
}

// The error number and text of a failure, as the messages show them.
std::string FailureText(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return "7. Error: Out of memory";
    } catch (const EngineFailure& e) {
        return "6. Error: " + std::string(e.what());
    } catch (const std::exception& e) {
        return "51. Error: " + std::string(e.what());
    } catch (...) {
        return "51. Error: Internal error";
    }
}

// The encoders listed in the encoder table must be there before it is built.
// Registering is idempotent, so every thread's first start may do it.
void RegisterCodecs() { gdiplus::RegisterBuiltinCodecs(); }

void LookForPlugin() {
    tSession.PluginVersion = ModuleVersion(kCodecPluginDll);
    if (LeadingNumberOf(tSession.PluginVersion) == 0) return;
    tSession.Plugin = tHooks.pluginLoader ? tHooks.pluginLoader() : LoadCodecPlugin(kCodecPluginDll);
}

}  // namespace

bool StartImaging() {
    ++tSession.StartCount;
    try {
        if (!tSession.GdiplusReady) {
            tSession.GdiplusReady = true;
            gdiplus::Status status = gdiplus::Ok;
            if (GdiplusNotRunning()) status = gdiplus::Startup(tSession.GdiplusToken);
            if (status == gdiplus::Ok) {
                RegisterCodecs();
                BuildEncoderTable();
                tSession.GdiplusVersion = ModuleVersion("gdiplus.dll");
            } else {
                tSession.GdiplusReady = false;
            }
        }
        if (!PluginAvailable()) LookForPlugin();
    } catch (...) {
        tSession.GdiplusReady = false;
        ShowMessage("Error starting GDI+. Err no: " + FailureText(std::current_exception()));
    }
    return tSession.GdiplusReady;
}

void StopImaging() {
    --tSession.StartCount;
    if (!tSession.GdiplusReady || tSession.StartCount != 0) return;
    try {
        tSession.GdiplusReady = false;
        ReleaseAllImages();
        // The next first start looks for the plug-in afresh (the shared object
        // itself stays loaded; only this session's binding ends).
        tSession.Plugin.reset();
        tSession.PluginVersion.clear();
        if (tSession.GdiplusToken != 0) gdiplus::Shutdown(tSession.GdiplusToken);
        tSession.GdiplusToken = 0;
    } catch (...) {
        tSession.GdiplusReady = false;
        ShowMessage("Error shutting down GDI+. Err no: " + FailureText(std::current_exception()));
    }
}

bool GdiplusNotRunning() {
    std::unique_ptr<gdiplus::Bitmap> probe;
    return gdiplus::Bitmap::Create(1, 1, gdiplus::PixelFormat24bppRGB, probe) != gdiplus::Ok;
}

bool PluginAvailable() { return LeadingNumberOf(tSession.PluginVersion) != 0 && tSession.Plugin != nullptr; }

CodecPlugin* ActiveCodecPlugin() { return PluginAvailable() ? tSession.Plugin.get() : nullptr; }

const ImagingSession& CurrentImagingSession() { return tSession; }

const std::string& GdiplusVersion() { return tSession.GdiplusVersion; }

bool GdiplusBelowVersion6() { return LeadingNumberOf(tSession.GdiplusVersion) < 6; }

void SetModuleVersionReader(std::function<std::string(std::string_view)> reader) {
    tHooks.versionReader = std::move(reader);
}

void SetCodecPluginLoader(std::function<std::shared_ptr<CodecPlugin>()> loader) {
    tHooks.pluginLoader = std::move(loader);
}

void SetEngineMessageHandler(std::function<void(const std::string&)> handler) {
    tHooks.messageHandler = std::move(handler);
}

}  // namespace scanvelt
