#pragma once
// The codec plug-in's format codes: their names, and which format a file has.
#include <cstdint>
#include <string>

namespace scanvelt {

// The name of a plug-in format code ("UNKNOWN" for -1, "TARGA" for 17, ...);
// empty for a code outside the table.
std::string PluginFormatName(int32_t formatCode);

// The format of a file as the plug-in sees it (plug-in available; -1 when
// unknown). The content decides, except that a TIFF name wins over any
// known content, and a name that agrees with the content is taken as it is;
// a file of unknown content stays unknown whatever its name.
int32_t PluginFileType(const std::string& path);

}  // namespace scanvelt
