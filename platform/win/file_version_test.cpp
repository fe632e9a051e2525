#include "platform/win/file_version.h"

#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace win {
namespace {

using testing::ScopedEnvironment;
using testing::ScratchFolder;

std::string fileBytes(const std::string& path) {
    std::stringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

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

const std::string kOwner("FileVer\0", 8);

TEST(FileVersion, ReadsTheNoteOfOurSharedObject) {
    FileVersionInfo info = ReadFileVersion(VERSION_PROBE_PATH);
    EXPECT_EQ(info.status, FileVersionStatus::Found);
    EXPECT_EQ(info.version, (FileVersion{6, 1, 760, 175}));
    EXPECT_EQ(ReadFileVersion(VERSIONLESS_PROBE_PATH).status, FileVersionStatus::NoVersion);
}

TEST(FileVersion, CraftedFilesOfBothClassesAndByteOrders) {
    ScratchFolder scratch;
    for (bool wide : {false, true}) {
        for (bool bigEndian : {false, true}) {
            ElfBuilder elf(wide, bigEndian);
            std::string other = elf.note(1, std::string("GNU\0", 4), std::string(16, '\x11'));
            std::string ours = elf.note(1, kOwner, elf.versionDescriptor(1, 2, 65535, 0));
            struct Case { std::string notes; FileVersionStatus status; } cases[] = {
                {other + ours, FileVersionStatus::Found},
                {other, FileVersionStatus::NoVersion},
                {elf.note(2, kOwner, elf.versionDescriptor(1, 2, 3, 4)), FileVersionStatus::NoVersion},  // other type
                {elf.note(1, kOwner, std::string(6, '\0')), FileVersionStatus::NoVersion},  // wrong size
                {"", FileVersionStatus::NoVersion},
                {ours.substr(0, ours.size() - 4), FileVersionStatus::Error},  // note runs past its segment
            };
            for (const auto& c : cases) {
                std::string path = scratch.write("probe.so", elf.file(c.notes));
                FileVersionInfo info = ReadFileVersion(path);
                EXPECT_EQ(info.status, c.status) << "wide " << wide << " big-endian " << bigEndian;
                if (c.status == FileVersionStatus::Found) {
                    EXPECT_EQ(info.version, (FileVersion{1, 2, 65535, 0}));
                }
            }
        }
    }
}

TEST(FileVersion, BrokenAndForeignFiles) {
    ScratchFolder scratch;
    std::string probe = fileBytes(VERSION_PROBE_PATH);
    std::string badClass = probe;
    badClass[4] = 9;
    std::string segmentOutside = ElfBuilder(true, false).file("");
    segmentOutside[64 + 32] = '\x7f';  // p_filesz far past the end of the file
    struct Case { std::string name; std::string content; FileVersionStatus status; } cases[] = {
        {"truncated.so", probe.substr(0, 80), FileVersionStatus::Error},
        {"bad-class.so", badClass, FileVersionStatus::Error},
        {"segment-outside.so", segmentOutside, FileVersionStatus::Error},
        {"text.dll", "MZ this is not an ELF file", FileVersionStatus::NoVersion},
        {"empty.so", "", FileVersionStatus::NoVersion},
        {"elf-magic-only.so", "\x7f" "ELF", FileVersionStatus::NoVersion},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadFileVersion(scratch.write(c.name, c.content)).status, c.status) << c.name;
    }
    EXPECT_EQ(ReadFileVersion(scratch.file("missing.so")).status, FileVersionStatus::NoVersion);
    EXPECT_EQ(ReadFileVersion(scratch.path()).status, FileVersionStatus::NoVersion) << "a folder";
    EXPECT_EQ(ReadFileVersion("").status, FileVersionStatus::NoVersion);
}

TEST(FindLibraryFile, DllNamesMapToSharedObjectsFoundBesideTheProgram) {
    std::string expected = VERSION_PROBE_PATH;
    EXPECT_EQ(FindLibraryFile("versionprobe.dll"), expected);
    EXPECT_EQ(FindLibraryFile("VersionProbe.DLL"), expected);
    EXPECT_EQ(FindLibraryFile("libversionprobe.so"), expected);
    EXPECT_EQ(FindLibraryFile("no-such-library.dll"), "");
    EXPECT_EQ(FindLibraryFile(""), "");
}

TEST(FindLibraryFile, PathsAreTakenAsPathsAndLdLibraryPathComesFirst) {
    ScratchFolder scratch;
    std::string copy = scratch.write("Plugins/LIBVERSIONPROBE.SO", fileBytes(VERSION_PROBE_PATH));
    EXPECT_EQ(FindLibraryFile(scratch.path() + "\\plugins\\libversionprobe.so"), copy);
    EXPECT_EQ(FindLibraryFile(scratch.path() + "/Plugins/missing.so"), "");

    ElfBuilder elf(true, false);
    std::string shadow = scratch.write(
        "first/libversionprobe.so", elf.file(elf.note(1, kOwner, elf.versionDescriptor(9, 8, 7, 6))));
    ScopedEnvironment path("LD_LIBRARY_PATH", (scratch.path() + "/none:" + scratch.path() + "/first").c_str());
    EXPECT_EQ(FindLibraryFile("versionprobe.dll"), shadow);
    EXPECT_EQ(ReadModuleVersion("versionprobe.dll").version, (FileVersion{9, 8, 7, 6}));
}

TEST(ReadModuleVersion, BuiltinModulesAnswerWithoutAFile) {
    EXPECT_EQ(ReadModuleVersion("builtinprobe.dll").status, FileVersionStatus::NoVersion);
    RegisterBuiltinModuleVersion("BuiltinProbe.dll", {6, 2, 9200, 16384});
    FileVersionInfo info = ReadModuleVersion("builtinprobe.DLL");
    EXPECT_EQ(info.status, FileVersionStatus::Found);
    EXPECT_EQ(info.version, (FileVersion{6, 2, 9200, 16384}));
    EXPECT_EQ(ReadModuleVersion("versionprobe.dll").version, (FileVersion{6, 1, 760, 175}));
}

}  // namespace
}  // namespace win
