#include "imaging/twain/twain_engine.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "imaging/engine/file_version.h"
#include "imaging/engine/leading_number.h"
#include "platform/win/file_version.h"
#include "platform/win/message_box.h"

namespace scanvelt {
namespace {

constexpr const char* kDefaultEngineFile = "mvtwain.dll";

struct EngineBinding {
    std::mutex mutex;
    std::string file = kDefaultEngineFile;
    // Loaded engine files by path; kept loaded for the life of the process.
    std::map<std::string, void*> loaded;
};

EngineBinding& binding() {
    static EngineBinding instance;
    return instance;
}

}  // namespace

void* TwainEngineFunction(const char* name) {
    auto& b = binding();
    std::lock_guard lock(b.mutex);
    std::string path = win::FindLibraryFile(b.file);
    if (path.empty()) throw TwainEngineUnavailable("File not found: " + std::string(kDefaultEngineFile));
    void*& handle = b.loaded[path];
    if (!handle) handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw TwainEngineUnavailable("File not found: " + std::string(kDefaultEngineFile));
    void* function = ::dlsym(handle, name);
    if (!function)
        throw TwainEngineUnavailable("Can't find DLL entry point " + std::string(name) + " in " + kDefaultEngineFile);
    return function;
}

namespace {

void showError(const char* text) { win::ShowMessageBox({0, text, "Error", win::MB_OK | win::MB_ICONERROR}); }

}  // namespace

std::string TwainEngineFile() {
    std::lock_guard lock(binding().mutex);
    return binding().file;
}

void SetTwainEngineFile(std::string nameOrPath) {
    std::lock_guard lock(binding().mutex);
    binding().file = nameOrPath.empty() ? kDefaultEngineFile : std::move(nameOrPath);
}

int32_t MvTwainGetVersion() {
    auto function = reinterpret_cast<int32_t (*)()>(TwainEngineFunction("MVTWAIN_GetVersion"));
    return function();
}

bool TwainEngineReady() {
    if (LeadingNumberOf(GetFileVersionString(TwainEngineFile())) == 0) {
        showError("Can't found MVTWAIN.DLL file.");
        return false;
    }
    int32_t version = 0;
    try {
        version = MvTwainGetVersion();
    } catch (const TwainEngineUnavailable&) {
        // A file with a version that does not load or lacks the function is
        // as good as missing: the check answers instead of failing the call.
        showError("Can't found MVTWAIN.DLL file.");
        return false;
    }
    if (version < kMinimumTwainEngineVersion) {
        showError("Bad MVTWAIN.DLL version.");
        return false;
    }
    return true;
}

}  // namespace scanvelt
