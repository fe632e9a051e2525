// Writes the seed corpus of the file-version reader's fuzz target: small ELF
// files of both classes and byte orders, with our version note, with another
// note before it, and without one.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win/testing/elf_builder.h"

int main(int argc, char** argv) {
    using win::testing::ElfBuilder;
    using win::testing::kFileVersionOwner;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    int n = 0;
    for (const bool wide : {false, true}) {
        for (const bool bigEndian : {false, true}) {
            const ElfBuilder elf(wide, bigEndian);
            const std::string ours = elf.note(1, kFileVersionOwner, elf.versionDescriptor(6, 1, 760, 175));
            const std::string other = elf.note(1, std::string("GNU\0", 4), std::string(16, '\x11'));
            for (const std::string& notes : {ours, other + ours, other}) {
                std::ofstream(folder / ("elf" + std::to_string(n++)), std::ios::binary) << elf.file(notes);
            }
        }
    }
    return 0;
}
