#pragma once
// The scripted source: a source of our own that the tests enable through the
// environment variable MVTWAIN_SCRIPTED_SOURCE, for what no SANE backend can
// be made to do on demand. Users never see it: without the variable it is
// not listed. The variable holds "key=value" pairs split by ";":
//   pages=a.pnm,b.pnm   pages from these PNM files, in turn (else generated grey pages)
//   feeder=N            a feeder source that delivers N pages, then reports it empty
//   cancel-at=K         reading page K is cancelled
//   fail-at=K           reading page K fails
//   jam-at=K            page K jams as it starts
// Pages count from 1 since the source was opened.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

inline constexpr const char* kScriptedSourceVariable = "MVTWAIN_SCRIPTED_SOURCE";
inline constexpr const char* kScriptedDeviceName = "scripted:0";

struct SourceScript {
    std::vector<std::string> pages;
    int feederPages = 0;
    int cancelAt = 0;
    int failAt = 0;
    int jamAt = 0;
};

// nullopt for an unknown key or a value that is not a count from 1 to 1000000.
std::optional<SourceScript> ParseSourceScript(std::string_view text);

std::unique_ptr<ScanDevice> MakeScriptedDevice(SourceScript script);

// The SANE provider, with the scripted source listed last when the variable is set.
std::unique_ptr<DeviceProvider> MakeEngineProvider();

}  // namespace mvtwain
