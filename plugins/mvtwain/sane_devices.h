#pragma once
// The devices of libsane behind the engine's device interface.
#include <memory>

#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

// libsane: sane_init on initialise, sane_exit on shutdown; devices listed
// with their vendor and model.
std::unique_ptr<DeviceProvider> MakeSaneProvider();

}  // namespace mvtwain
