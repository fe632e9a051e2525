#pragma once
// File versions of our own shared objects. Linux has no version resource, so a
// shared object of ours carries its version in an ELF note (see
// version_note.h), which is read from the file without loading it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace win {

// The four 16-bit parts of a file version: major, minor, build, revision.
using FileVersion = std::array<uint16_t, 4>;

enum class FileVersionStatus {
    Found,
    NoVersion,  // missing or unreadable file, not an ELF file, or no version note
    Error,      // an ELF file whose structure is broken (truncated, offsets outside the file)
};

struct FileVersionInfo {
    FileVersionStatus status = FileVersionStatus::NoVersion;
    FileVersion version{};
};

// Reads the version note of the file at `path` (a Linux path).
FileVersionInfo ReadFileVersion(const std::string& path);

// Finds a library file by name the way the system finds a DLL: a name with a
// separator ("/" or "\") is a path (resolved by ResolveWindowsPath); a bare
// "name.dll" (any case) stands for "libname.so" with the name in lower case;
// any other bare name is taken as it is. Bare names are searched in the
// folders of LD_LIBRARY_PATH, the folder of the module holding this code, the
// folder of the program, then /usr/local/lib, the C library's folder, /usr/lib
// and /lib. Returns the path, or "" when no file is found.
std::string FindLibraryFile(std::string_view name);

// Components that are built into the process instead of shipped as a file of
// their own declare the version under their DLL name here; ReadModuleVersion
// answers with it before it searches the file system.
void RegisterBuiltinModuleVersion(std::string_view dllName, const FileVersion& version);

// The version of a module named as a caller names a DLL.
FileVersionInfo ReadModuleVersion(std::string_view name);

}  // namespace win
