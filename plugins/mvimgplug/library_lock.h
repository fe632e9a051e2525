#pragma once
// Every export runs under one lock: the object table and the library's own
// global state are shared by all threads of the process. The first export
// called also restricts the library to the allowed formats.
#include <mutex>

namespace mvimgplug {

class LibraryLock {
public:
    LibraryLock();

private:
    std::lock_guard<std::mutex> guard_;
};

// Runs an export's body under the lock. Nothing is thrown across the C
// interface: a failure (out of memory, above all) gives `failure`.
template <class Result, class Body>
Result RunExport(Result failure, Body&& body) noexcept {
    try {
        LibraryLock lock;
        return body();
    } catch (...) {
        return failure;
    }
}

template <class Body>
void RunExport(Body&& body) noexcept {
    try {
        LibraryLock lock;
        body();
    } catch (...) {
        // Nothing to report through an export without a result.
    }
}

}  // namespace mvimgplug
