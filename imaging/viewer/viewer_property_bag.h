#pragma once
// The viewer's settings in a container's property bag: one key per setting,
// written in a fixed order with the value's own variant type, a value equal
// to its default left out; read back in the reading order, a missing key
// giving its default.
#include <string>
#include <vector>

#include "imaging/viewer/viewer_settings.h"
#include "platform/com/interfaces.h"

namespace scanvelt {

// The keys in the order they are written.
std::vector<std::string> ViewerBagWriteOrder();
// The keys in the order they are read.
std::vector<std::string> ViewerBagReadOrder();

// Writes every setting that differs from its default. The first failing
// write ends it with its result.
com::HRESULT WriteViewerSettings(const ViewerSettings& settings, com::IPropertyBag& bag);
// Reads every key; a key the bag lacks gives the default. A value that does
// not convert to the setting's type ends the reading with that error, which
// reaches the container.
com::HRESULT ReadViewerSettings(com::IPropertyBag& bag, ViewerSettings& settings);

}  // namespace scanvelt
