#include "platform/gdiplus/startup.h"

#include <mutex>
#include <set>

namespace gdiplus {
namespace {

struct StartupState {
    std::mutex mutex;
    std::set<std::uintptr_t> tokens;
    std::uintptr_t lastToken = 0;
};

StartupState& State() {
    static StartupState state;
    return state;
}

}  // namespace

Status Startup(std::uintptr_t& token, std::uint32_t version) {
    if (version != kStartupVersion) return UnsupportedGdiplusVersion;
    auto& state = State();
    std::lock_guard lock(state.mutex);
    token = ++state.lastToken;
    state.tokens.insert(token);
    return Ok;
}

void Shutdown(std::uintptr_t token) {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    state.tokens.erase(token);
}

bool IsStarted() {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    return !state.tokens.empty();
}

}  // namespace gdiplus
