#pragma once
// The temporary folder, new temporary files in it, clean-up of caller paths,
// and the "Open File" dialog for callers that pass no path.
#include <cstdint>
#include <string>
#include <string_view>

namespace scanvelt {

// The temporary folder (win::TempFolder: "tmp", "temp", TMPDIR, "/tmp")
// followed by one "/", added even when the value already ends in one.
std::string GetTempFolder();

// A new, empty file in the temporary folder, named by a random number from 0
// to 99,999,999 in plain decimal without extension, created exclusively
// (readable by its owner only): a name that anything already has - an
// ordinary, hidden or system file, a folder, a link - is never taken, and a
// file that appears between the choice and the creation is never overwritten.
// The caller writes into it and deletes it. Empty when the folder takes no
// files.
std::string NewTempFileName();

// Deletes a file the engine made (a page file, a temporary save), resolved
// as a Windows path; nothing happens for an empty path or a file that is
// already gone.
void DeleteFileQuietly(const std::string& path);

// Trims blanks, turns "/" into "\" and, for paths longer than three
// characters, cuts three or more leading backslashes to two and collapses
// doubled backslashes after the first two characters. Nothing else changes.
std::string NormalizePath(std::string_view path);

// The "Open File" dialog over `ownerWindow`; empty when it was cancelled.
std::string ShowOpenFileDialog(uint32_t ownerWindow);

}  // namespace scanvelt
