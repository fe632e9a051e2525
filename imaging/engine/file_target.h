#pragma once
// The file a member that writes is asked to make: the caller's Windows-style
// path resolved as every member resolves it, and refused at once when no file
// can ever be written there, so that a document written page by page fails at
// its start rather than after the whole batch.
#include <filesystem>
#include <optional>
#include <string>

namespace scanvelt {

// The Linux path of `path` (see win::ResolveWindowsPath), or nothing when the
// path is empty, ends in a separator or names an existing folder.
std::optional<std::filesystem::path> FileTargetOf(const std::string& path);

}  // namespace scanvelt
