#pragma once
// The engine's start-up state, one per thread: the controls start the engine
// when an instance is created and stop it when it is destroyed. The first
// start on a thread starts our GDI+ (unless it already runs in the process),
// builds the encoder table and records the versions of GDI+ and of the codec
// plug-in; the last stop releases every image still held and shuts GDI+ down
// when this engine started it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "imaging/engine/codec_plugin.h"

namespace scanvelt {

struct ImagingSession {
    // The token of the GDI+ start-up this engine made; 0 when GDI+ was
    // already running at the first start, or start-up failed.
    uintptr_t GdiplusToken = 0;
    bool GdiplusReady = false;
    // Starts minus stops on this thread; not clamped at zero.
    int32_t StartCount = 0;
    // File versions as GetFileVersionString gives them.
    std::string GdiplusVersion;
    std::string PluginVersion;
    // The bound codec plug-in while it is available.
    std::shared_ptr<CodecPlugin> Plugin;
};

// Counts one more user of the engine on this thread; the first call starts
// the engine. The result is whether the engine is started. Every start must
// be matched by exactly one StopImaging.
bool StartImaging();
// Counts one user less; when the count comes back to exactly 0 on a started
// engine, releases every image and shuts GDI+ down when this engine started it.
void StopImaging();
// True when GDI+ cannot make a 1 x 1 24bppRGB bitmap: it is not running.
bool GdiplusNotRunning();
// True when the codec plug-in is there: the leading number of its version is
// not 0 and it is bound. Every start looks for it again while it is not.
bool PluginAvailable();
// The bound plug-in, null while PluginAvailable is false.
CodecPlugin* ActiveCodecPlugin();

const ImagingSession& CurrentImagingSession();
// The file version of GDI+ kept since the first successful start.
const std::string& GdiplusVersion();
// True while the leading number of GdiplusVersion is below 6: such a GDI+
// cannot write-lock an indexed image in another format or draw on it, so the
// engine first converts the image in place to 32bppARGB.
bool GdiplusBelowVersion6();

// Hooks of this thread's engine; an empty function restores the default.
// The file version of a library by its DLL name ("gdiplus.dll",
// "mvimgplug.dll"); by default GetFileVersionString, which knows our GDI+
// layer's version. Tests give another to exercise the version switch.
void SetModuleVersionReader(std::function<std::string(std::string_view)> reader);
// Binds the codec plug-in once its version says it is there. By default the
// shared object is loaded by its name (LoadCodecPlugin, plugin_loader.h).
void SetCodecPluginLoader(std::function<std::shared_ptr<CodecPlugin>()> loader);
// Shows the start-up and shut-down failure messages ("Error starting GDI+.
// Err no: ..."); by default they go to the standard error stream.
void SetEngineMessageHandler(std::function<void(const std::string&)> handler);

}  // namespace scanvelt
