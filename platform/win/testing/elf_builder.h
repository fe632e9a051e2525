#pragma once
// For tests: minimal ELF files with one note segment, in either class and
// byte order, to feed the file-version reader.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace win::testing {

// The owner name of our version notes, NUL included.
inline const std::string kFileVersionOwner("FileVer\0", 8);

// Builds a minimal ELF file with one PT_NOTE segment holding `notes`.
class ElfBuilder {
public:
    ElfBuilder(bool wide, bool bigEndian) : wide_(wide), bigEndian_(bigEndian) {}

    void put(std::string& out, uint64_t value, int width) const {
        for (int i = 0; i < width; ++i) {
            int shift = 8 * (bigEndian_ ? width - 1 - i : i);
            out += static_cast<char>((value >> shift) & 0xFF);
        }
    }

    std::string note(uint32_t type, const std::string& owner, const std::string& descriptor) const {
        std::string out;
        put(out, owner.size(), 4);
        put(out, descriptor.size(), 4);
        put(out, type, 4);
        out += owner;
        out.append((4 - owner.size() % 4) % 4, '\0');
        out += descriptor;
        out.append((4 - descriptor.size() % 4) % 4, '\0');
        return out;
    }

    std::string versionDescriptor(uint16_t a, uint16_t b, uint16_t c, uint16_t d) const {
        std::string out;
        for (uint16_t part : {a, b, c, d}) put(out, part, 2);
        return out;
    }

    std::string file(const std::string& notes) const {
        const int headerSize = wide_ ? 64 : 52;
        const int entrySize = wide_ ? 56 : 32;
        const uint64_t notesOffset = headerSize + entrySize;
        std::string out = "\x7f" "ELF";
        out += static_cast<char>(wide_ ? 2 : 1);
        out += static_cast<char>(bigEndian_ ? 2 : 1);
        out += '\1';
        out.append(9, '\0');
        put(out, 3, 2);   // e_type: shared object
        put(out, 62, 2);  // e_machine
        put(out, 1, 4);   // e_version
        put(out, 0, wide_ ? 8 : 4);                // e_entry
        put(out, headerSize, wide_ ? 8 : 4);       // e_phoff
        put(out, 0, wide_ ? 8 : 4);                // e_shoff
        put(out, 0, 4);                            // e_flags
        put(out, headerSize, 2);                   // e_ehsize
        put(out, entrySize, 2);                    // e_phentsize
        put(out, 1, 2);                            // e_phnum
        put(out, 0, 2);
        put(out, 0, 2);
        put(out, 0, 2);
        EXPECT_EQ(out.size(), static_cast<size_t>(headerSize));
        put(out, 4, 4);  // p_type PT_NOTE
        if (wide_) {
            put(out, 4, 4);  // p_flags
            put(out, notesOffset, 8);
            put(out, 0, 8);
            put(out, 0, 8);
            put(out, notes.size(), 8);
            put(out, notes.size(), 8);
            put(out, 4, 8);
        } else {
            put(out, notesOffset, 4);
            put(out, 0, 4);
            put(out, 0, 4);
            put(out, notes.size(), 4);
            put(out, notes.size(), 4);
            put(out, 4, 4);
            put(out, 4, 4);
        }
        return out + notes;
    }

private:
    bool wide_;
    bool bigEndian_;
};

}  // namespace win::testing
