#include "imaging/twain/barcode_plugins.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "imaging/engine/file_version.h"
#include "imaging/engine/leading_number.h"
#include "platform/win/file_version.h"
#include "platform/win/message_box.h"

namespace scanvelt {
namespace {

struct PluginFiles {
    std::mutex mutex;
    std::string file[2] = {BarcodePluginDll(BarcodePluginKind::Linear), BarcodePluginDll(BarcodePluginKind::DataMatrix)};
    // Bound plug-ins by kind and path; loaded for the life of the process.
    std::map<std::string, BarcodePlugin> bound;
};

PluginFiles& files() {
    static auto* instance = new PluginFiles();  // plug-ins stay loaded: their code may be on a stack at exit
    return *instance;
}

size_t slot(BarcodePluginKind kind) { return kind == BarcodePluginKind::Linear ? 0 : 1; }

void showError(const std::string& text) {
    win::ShowMessageBox({0, text, "Error", win::MB_OK | win::MB_ICONERROR});
}

template <class Function>
bool bind(void* library, const std::string& prefix, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, (prefix + name).c_str()));
    return function != nullptr;
}

// Loads and binds the file; false when it does not load or lacks a function.
bool load(const std::string& path, BarcodePluginKind kind, BarcodePlugin& p) {
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    const bool linear = kind == BarcodePluginKind::Linear;
    const std::string prefix = linear ? "MVBARCODE1DREADER_" : "MVBARCODEDMREADER_";
    static const char* const corners[8] = {"GetBarcodeX1", "GetBarcodeY1", "GetBarcodeX2", "GetBarcodeY2",
                                           "GetBarcodeX3", "GetBarcodeY3", "GetBarcodeX4", "GetBarcodeY4"};
    bool all = bind(library, prefix, "GetVersion", p.GetVersion) &&
               bind(library, prefix, "NewBarScanner", p.NewBarScanner) &&
               bind(library, prefix, "SetDibSource", p.SetDibSource) && bind(library, prefix, "ScanBar", p.ScanBar) &&
               bind(library, prefix, "GetBarcodeCount", p.GetBarcodeCount) &&
               bind(library, prefix, "GetBarcode", p.GetBarcode) &&
               bind(library, prefix, "GetBarcodeValue", p.GetBarcodeValue) &&
               bind(library, prefix, "FreeBarScanner", p.FreeBarScanner);
    for (int i = 0; i < 8 && all; ++i) all = bind(library, prefix, corners[i], p.Corner[i]);
    if (all && linear)
        all = bind(library, prefix, "SetPerformance", p.SetPerformance) &&
              bind(library, prefix, "GetBarcodeType", p.GetBarcodeType) &&
              bind(library, prefix, "GetSkewAngle", p.GetSkewAngle) &&
              bind(library, prefix, "HasCheckSum", p.HasCheckSum);
    if (all && !linear)
        all = bind(library, prefix, "GetBarcodeRows", p.GetBarcodeRows) &&
              bind(library, prefix, "GetBarcodeColumns", p.GetBarcodeColumns);
    return all;
}

}  // namespace

const char* BarcodePluginDll(BarcodePluginKind kind) {
    return kind == BarcodePluginKind::Linear ? "mvbarcode.1dreader.dll" : "mvbarcode.dmreader.dll";
}

int32_t MinimumBarcodePluginVersion(BarcodePluginKind kind) { return kind == BarcodePluginKind::Linear ? 105 : 100; }

void SetBarcodePluginFile(BarcodePluginKind kind, std::string nameOrPath) {
    std::lock_guard lock(files().mutex);
    files().file[slot(kind)] = nameOrPath.empty() ? std::string(BarcodePluginDll(kind)) : std::move(nameOrPath);
}

const BarcodePlugin* CheckedBarcodePlugin(BarcodePluginKind kind) {
    const std::string dll = BarcodePluginDll(kind);
    std::string file;
    {
        std::lock_guard lock(files().mutex);
        file = files().file[slot(kind)];
    }
    if (LeadingNumberOf(GetFileVersionString(file)) == 0) {
        showError("Can't found " + dll + " file.");
        return nullptr;
    }
    const std::string path = win::FindLibraryFile(file);
    const BarcodePlugin* plugin = nullptr;
    {
        std::lock_guard lock(files().mutex);
        const std::string key = std::to_string(slot(kind)) + path;
        auto it = files().bound.find(key);
        if (it == files().bound.end()) {
            BarcodePlugin p;
            if (path.empty() || !load(path, kind, p)) return nullptr;
            it = files().bound.emplace(key, p).first;
        }
        plugin = &it->second;
    }
    if (plugin->GetVersion() < MinimumBarcodePluginVersion(kind)) {
        showError("Bad " + dll + " version.");
        return nullptr;
    }
    return plugin;
}

}  // namespace scanvelt
