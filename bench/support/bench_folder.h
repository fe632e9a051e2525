#pragma once
// The folder a benchmark keeps its input pages and outputs in: one per
// benchmark under the temporary folder, made on first use and kept between
// runs so that generated inputs are made once.
#include <filesystem>
#include <string>

namespace bench_support {

inline std::filesystem::path BenchFolder(const std::string& name) {
    std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path);
    return path;
}

}  // namespace bench_support
