#include "plugins/mvimgplug/library_lock.h"

#include "plugins/mvimgplug/format_allow_list.h"

namespace mvimgplug {

namespace {

std::mutex& LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::mutex& LockedOnce() {
    static std::once_flag once;
    std::call_once(once, RestrictLibraryToAllowedFormats);
    return LibraryMutex();
}

}  // namespace

LibraryLock::LibraryLock() : guard_(LockedOnce()) {}

}  // namespace mvimgplug
