#pragma once
// For tests of any folder that print to the file printer: the pages of a PDF
// as poppler's tools see them (page sizes from pdfinfo, pixels from pdftoppm).
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace print::testing {

inline std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

// "width x height" in points of every page, as pdfinfo prints them ("595.276 x 841.89").
inline std::vector<std::string> PageSizes(const std::string& pdf) {
    const std::string info = Output("pdfinfo -f 1 -l 999 '" + pdf + "' 2>/dev/null");
    std::vector<std::string> sizes;
    std::istringstream lines(info);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Page", 0) != 0 || line.find(" size:") == std::string::npos) continue;
        const size_t from = line.find_first_not_of(' ', line.find(" size:") + 6);
        sizes.push_back(line.substr(from, line.find(" pts", from) - from));
    }
    return sizes;
}

struct Raster {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // 0 black .. 255 white: the mean of the three channels at (x, y).
    int grey(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return (rgb[at] + rgb[at + 1] + rgb[at + 2]) / 3;
    }
};

// Page `page` (from 1) rendered by pdftoppm at `dpi` into `folder`.
inline Raster RenderPage(const std::string& pdf, int page, double dpi, const std::string& folder) {
    const std::string stem = folder + "/render";
    std::ostringstream resolution;
    resolution << dpi;
    const std::string command = "pdftoppm -r " + resolution.str() + " -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " -singlefile '" + pdf + "' '" + stem + "'";
    Raster raster;
    if (std::system(command.c_str()) != 0) return raster;
    std::ifstream in(stem + ".ppm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> raster.width >> raster.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) return Raster{};
    raster.rgb.resize(static_cast<size_t>(raster.width) * raster.height * 3);
    in.read(reinterpret_cast<char*>(raster.rgb.data()), static_cast<std::streamsize>(raster.rgb.size()));
    std::filesystem::remove(stem + ".ppm");
    return raster;
}

}  // namespace print::testing
