#pragma once
// The setup dialog's settings made from a device's options, and the changed
// ones applied back to the device.
#include <vector>

#include "platform/win/scan_dialogs.h"
#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

// One setting per active, settable, single-valued option that is a number,
// a choice of texts or a switch; advanced options are left to the device's own tools.
std::vector<win::ScanSetting> SettingsOf(ScanDevice& device);

// Sets each option whose setting differs from `before`; options that became
// inactive through an earlier change are skipped. The number applied.
int ApplySettings(ScanDevice& device, const std::vector<win::ScanSetting>& before,
                  const std::vector<win::ScanSetting>& after);

// Adds to `kept` the settings of `after` that differ from `before`, each in
// the place of an earlier choice of the same setting and after the others,
// so that applying `kept` in order sets what the user chose last.
void KeepChangedSettings(std::vector<win::ScanSetting>& kept, const std::vector<win::ScanSetting>& before,
                         const std::vector<win::ScanSetting>& after);

}  // namespace mvtwain
