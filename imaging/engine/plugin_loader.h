#pragma once
// Loading the codec plug-in: its shared object is found by its DLL name the
// way the platform finds any library (win::FindLibraryFile: LD_LIBRARY_PATH,
// the folder of this library, the program's folder, the system folders),
// loaded once per process and never unloaded, and its MVIMGPLUG_ exports are
// bound one by one on their first call. The engine's session installs
// LoadCodecPlugin as its plug-in loader (imaging_session.h).
#include <memory>
#include <stdexcept>
#include <string_view>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/engine_numeric.h"

namespace scanvelt {

inline constexpr std::string_view kCodecPluginDll = "mvimgplug.dll";

// A call to an export that the loaded plug-in lacks: a run-time failure of
// the operation that made it, as a missing DLL entry point is.
class PluginEntryMissing : public EngineFailure {
public:
    using EngineFailure::EngineFailure;
};

// The plug-in bound to the shared object that `dllName` names; null when no
// such file is found or it cannot be loaded.
std::shared_ptr<CodecPlugin> LoadCodecPlugin(std::string_view dllName = kCodecPluginDll);

}  // namespace scanvelt
