#include "petty/scanning/scan_controls.h"

#include <cstdio>

#include "petty/scanning/scan_control_ids.h"
#include "platform/com/class_objects.h"
#include "platform/com/registry.h"
#include "platform/win/guid.h"

namespace petty {

namespace {

std::function<ScanControlsOrReason()>& factory() {
    static std::function<ScanControlsOrReason()> installed;
    return installed;
}

// The control of a class, or the failure's code.
com::HRESULT createControl(const char* classId, LateBoundControl& control) {
    com::IDispatch* made = nullptr;
    const com::HRESULT hr = com::CoCreateInstance(*win::ParseGuid(classId), nullptr, com::IID_IDispatch,
                                                  reinterpret_cast<void**>(&made));
    if (com::FAILED(hr) || !made) return com::FAILED(hr) ? hr : com::E_FAIL;
    control = LateBoundControl(made);
    made->Release();
    return com::S_OK;
}

std::string reasonFor(com::HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    if (hr == com::REGDB_E_CLASSNOTREG)
        return std::string("Bill scanning is not available: the scanning library is not registered (") + code +
               "). Start the program with scripts/ostrelle, which registers it.";
    if (hr == com::REGDB_E_READREGDB)
        return "Bill scanning is not available: the class registry " + com::Registry::DefaultPath() +
               " is damaged or cannot be read (" + code +
               "). Start the program with scripts/ostrelle, which writes it anew and keeps the damaged one beside it.";
    return std::string("Bill scanning is not available: the scanning library cannot be loaded (") + code + ").";
}

ScanControlsOrReason createThroughCom() {
    ScanControls controls;
    if (const com::HRESULT hr = createControl(scan_ids::kTwainClassId, controls.twain); com::FAILED(hr))
        return {std::nullopt, reasonFor(hr)};
    if (const com::HRESULT hr = createControl(scan_ids::kViewerClassId, controls.viewer); com::FAILED(hr))
        return {std::nullopt, reasonFor(hr)};
    return {std::move(controls), {}};
}

}  // namespace

ScanControlsOrReason createScanControls() { return factory() ? factory()() : createThroughCom(); }

void setScanControlsFactory(std::function<ScanControlsOrReason()> f) { factory() = std::move(f); }

}  // namespace petty
