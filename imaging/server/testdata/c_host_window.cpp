// The C host's windows: in-memory host windows behind a C interface.
#include "imaging/server/testdata/c_host_window.h"

#include <map>
#include <memory>

#include "platform/win/testing/memory_window.h"

namespace {

std::map<uint32_t, std::unique_ptr<win::testing::MemoryWindow>>& windows() {
    static std::map<uint32_t, std::unique_ptr<win::testing::MemoryWindow>> open;
    return open;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) uint32_t c_host_window_open(int32_t width, int32_t height, uint32_t fill) {
    if (width <= 0 || height <= 0) return 0;
    auto window = std::make_unique<win::testing::MemoryWindow>(width, height, fill);
    const uint32_t handle = window->handle();
    if (handle == 0) return 0;
    windows()[handle] = std::move(window);
    return handle;
}

__attribute__((visibility("default"))) int32_t c_host_window_count(uint32_t handle, int32_t left, int32_t top,
                                                                   int32_t width, int32_t height, uint32_t colour) {
    const auto found = windows().find(handle);
    if (found == windows().end()) return -1;
    const win::testing::MemoryWindow& window = *found->second;
    int32_t count = 0;
    for (int32_t y = top; y < top + height; ++y)
        for (int32_t x = left; x < left + width; ++x) {
            if (x < 0 || y < 0 || x >= window.width() || y >= window.height()) continue;
            count += ((window.pixel(x, y) ^ colour) & 0x00FFFFFFu) == 0;
        }
    return count;
}

__attribute__((visibility("default"))) int32_t c_host_window_handovers(uint32_t handle) {
    const auto found = windows().find(handle);
    return found == windows().end() ? -1 : static_cast<int32_t>(found->second->parts.size());
}

__attribute__((visibility("default"))) void c_host_window_close(uint32_t handle) {
    windows().erase(handle);
}

}  // extern "C"
