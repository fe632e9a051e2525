#include "imaging/engine/file_version.h"

#include "platform/win/file_version.h"
#include "platform/win/testing/elf_builder.h"
#include "platform/win/testing/scratch_folder.h"

#include <gtest/gtest.h>

namespace scanvelt {
namespace {

using win::testing::ElfBuilder;
using win::testing::kFileVersionOwner;

TEST(GetFileVersionString, FourPartsJoinedByDotsOrUnknownOrUndefined) {
    win::testing::ScratchFolder scratch;
    ElfBuilder elf(true, false);
    std::string versioned = elf.file(elf.note(1, kFileVersionOwner, elf.versionDescriptor(6, 1, 760, 175)));
    std::string zeros = elf.file(elf.note(1, kFileVersionOwner, elf.versionDescriptor(0, 0, 0, 0)));
    std::string highest = elf.file(elf.note(1, kFileVersionOwner, elf.versionDescriptor(65535, 65535, 65535, 65535)));
    std::string broken = versioned.substr(0, versioned.size() - 6);
    struct Case { std::string name; std::string content; std::string expected; } cases[] = {
        {"libversioned.so", versioned, "6.1.760.175"},
        {"libzeros.so", zeros, "0.0.0.0"},
        {"libhighest.so", highest, "65535.65535.65535.65535"},
        {"libnoversion.so", elf.file(""), "Unknown"},
        {"libbroken.so", broken, "Undefined"},
        {"notelf.dll", "plain text", "Unknown"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFileVersionString(scratch.write(c.name, c.content)), c.expected) << c.name;
    }
    EXPECT_EQ(GetFileVersionString(scratch.file("missing.dll")), "Unknown");
    EXPECT_EQ(GetFileVersionString("no-such-plugin.dll"), "Unknown");
    EXPECT_EQ(GetFileVersionString(""), "Unknown");
}

TEST(GetFileVersionString, WindowsPathsAndBareNamesAreFound) {
    win::testing::ScratchFolder scratch;
    ElfBuilder elf(false, false);
    scratch.write("Plugins/libprobeplug.so", elf.file(elf.note(1, kFileVersionOwner, elf.versionDescriptor(3, 18, 0, 2))));
    EXPECT_EQ(GetFileVersionString(scratch.path() + "\\PLUGINS\\LibProbePlug.so"), "3.18.0.2");
    win::testing::ScopedEnvironment libraryPath("LD_LIBRARY_PATH", (scratch.path() + "/Plugins").c_str());
    EXPECT_EQ(GetFileVersionString("ProbePlug.DLL"), "3.18.0.2");
}

TEST(GetFileVersionString, BuiltInComponents) {
    win::RegisterBuiltinModuleVersion("engineprobe.dll", {6, 1, 7601, 24214});
    EXPECT_EQ(GetFileVersionString("EngineProbe.dll"), "6.1.7601.24214");
}

}  // namespace
}  // namespace scanvelt
