#pragma once
// Start-up and shut-down of the layer, counted per process like GDI+: objects
// can only be made while at least one start-up is in force; the factories
// answer GdiplusNotInitialized otherwise.
#include <cstdint>
#include <string_view>

#include "platform/gdiplus/status.h"

namespace gdiplus {

// The only start-up version there is.
constexpr std::uint32_t kStartupVersion = 1;

// The file version the layer reports for itself, in the four-number form of a
// Windows version resource. Its leading number is 6 or more: indexed bitmaps
// can be write-locked in other formats directly.
constexpr std::string_view kLibraryFileVersion = "6.1.0.0";

// Counts one more user; token receives a non-zero value to shut down with.
// UnsupportedGdiplusVersion for a version other than kStartupVersion.
Status Startup(std::uintptr_t& token, std::uint32_t version = kStartupVersion);
// Ends the start-up of that token; an unknown or spent token is ignored.
void Shutdown(std::uintptr_t token);
bool IsStarted();

// A start-up for the life of a scope.
class ScopedStartup {
public:
    ScopedStartup() { status_ = Startup(token_); }
    ~ScopedStartup() { if (status_ == Ok) Shutdown(token_); }
    ScopedStartup(const ScopedStartup&) = delete;
    ScopedStartup& operator=(const ScopedStartup&) = delete;
    Status status() const { return status_; }

private:
    std::uintptr_t token_ = 0;
    Status status_ = GenericError;
};

}  // namespace gdiplus
