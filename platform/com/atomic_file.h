#pragma once
// TEMPORARY: the registry's own atomic file write (temporary name beside the
// target, checked close, rename; removed on failure). This is the only place
// platform/com writes a file; once platform/files has its shared atomic
// writer, this function forwards to it and this file goes.
#include <string>
#include <string_view>

namespace com {

// False, with the target untouched, when any step fails.
bool WriteFileAtomically(const std::string& path, std::string_view contents);

}  // namespace com
