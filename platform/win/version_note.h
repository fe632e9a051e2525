#pragma once
// Gives a shared object of ours its file version: write
//     WIN_FILE_VERSION_NOTE(1, 2, 3, 4)
// once, at namespace scope, in a source file that is always linked into the
// shared object (not in a static library, whose unreferenced objects are
// dropped). The linker puts the note into the file's note segment, where
// ReadFileVersion finds it.
#include <cstdint>

namespace win {

// The note's owner name, NUL included, padded to four bytes.
inline constexpr char kFileVersionNoteOwner[8] = {'F', 'i', 'l', 'e', 'V', 'e', 'r', '\0'};
constexpr uint32_t kFileVersionNoteType = 1;

struct FileVersionNote {
    uint32_t ownerSize;
    uint32_t descriptorSize;
    uint32_t type;
    char owner[8];
    uint16_t parts[4];
};

}  // namespace win

#define WIN_FILE_VERSION_NOTE(major, minor, build, revision)                                         \
    __attribute__((section(".note.fileversion"), used, aligned(4))) static const ::win::FileVersionNote \
        win_file_version_note = {8, 8, ::win::kFileVersionNoteType, {'F', 'i', 'l', 'e', 'V', 'e', 'r', '\0'}, \
                                 {major, minor, build, revision}}
