#include "platform/win/file_version.h"

#include "platform/win/testing/elf_builder.h"
#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace win {
namespace {

using testing::ScopedEnvironment;
using testing::ElfBuilder;
using testing::kFileVersionOwner;
using testing::ScratchFolder;

std::string fileBytes(const std::string& path) {
    std::stringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}


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
            std::string ours = elf.note(1, kFileVersionOwner, elf.versionDescriptor(1, 2, 65535, 0));
            struct Case { std::string notes; FileVersionStatus status; } cases[] = {
                {other + ours, FileVersionStatus::Found},
                {other, FileVersionStatus::NoVersion},
                {elf.note(2, kFileVersionOwner, elf.versionDescriptor(1, 2, 3, 4)), FileVersionStatus::NoVersion},  // other type
                {elf.note(1, kFileVersionOwner, std::string(6, '\0')), FileVersionStatus::NoVersion},  // wrong size
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
        "first/libversionprobe.so", elf.file(elf.note(1, kFileVersionOwner, elf.versionDescriptor(9, 8, 7, 6))));
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
