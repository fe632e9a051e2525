#pragma once
// Book file names are matched without regard to letter case, as the program's
// own platform did: "business.mdb" finds "Business.MDB" in its folder.
#include <filesystem>
#include <optional>

namespace jet {

// The existing entry that the path names, its last part matched without
// regard to (ASCII) letter case; an exact match wins. nullopt when none exists.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& path);

}  // namespace jet
