#pragma once
// For the fuzzing programs' seed writers: `main` of a seed program is
//     int main(int argc, char** argv) { return vb::testing::writeSeedCorpus(argc, argv, seeds()); }
// and writes each seed into the folder named on the command line, one file each.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vb::testing {

inline int writeSeedCorpus(int argc, char** argv, const std::vector<std::string>& seeds) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (size_t i = 0; i < seeds.size(); ++i) {
        std::ofstream out(folder / ("seed" + std::to_string(i)), std::ios::binary);
        out.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
        if (!out.flush()) return 1;
    }
    return 0;
}

}  // namespace vb::testing
