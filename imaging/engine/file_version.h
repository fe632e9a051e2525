#pragma once
// File-version text of a library, as the engine records the versions of its
// GDI+ and codec plug-in and the output classes check their engines.
#include <string>
#include <string_view>

namespace scanvelt {

// "major.minor.build.revision" in decimal; "Unknown" when the library cannot
// be found or carries no version; "Undefined" when reading it failed with an
// error. Bare DLL names ("mvimgplug.dll") are found the way the platform
// finds libraries (win::FindLibraryFile). Callers read the leading number;
// "Unknown" and "Undefined" read as 0.
std::string GetFileVersionString(std::string_view fileName);

}  // namespace scanvelt
