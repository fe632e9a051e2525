#include "imaging/engine/plugin_loader.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <string>

#include "imaging/engine/plugin_loader_binding.h"
#include "platform/win/file_version.h"

namespace scanvelt {

namespace {

// Loaded libraries by path. They stay loaded for the life of the process:
// images may hold plug-in handles until the last engine stops.
void* OpenOnce(const std::string& path) {
    static std::mutex mutex;
    static std::map<std::string, void*> libraries;
    std::lock_guard lock(mutex);
    auto it = libraries.find(path);
    if (it != libraries.end()) return it->second;
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library != nullptr) libraries.emplace(path, library);
    return library;
}

}  // namespace

std::shared_ptr<CodecPlugin> LoadCodecPlugin(std::string_view dllName) {
    const std::string path = win::FindLibraryFile(dllName);
    if (path.empty()) return nullptr;
    void* library = OpenOnce(path);
    if (library == nullptr) return nullptr;
    return std::make_shared<BoundCodecPlugin>(library, std::string(dllName));
}

}  // namespace scanvelt
