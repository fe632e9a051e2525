// The process-wide table of host-service slots (see host_services.h). Slots
// are never freed: a library may still reach its service while the process
// ends.
#include <map>
#include <mutex>
#include <string>

#include "platform/win/host_services.h"

namespace win::detail {

__attribute__((visibility("default"))) void* HostSlot(const char* name, SlotFactory make) {
    static std::mutex mutex;
    static auto* slots = new std::map<std::string, void*>();
    std::lock_guard lock(mutex);
    auto [it, added] = slots->try_emplace(name, nullptr);
    if (added) it->second = make();
    return it->second;
}

}  // namespace win::detail
