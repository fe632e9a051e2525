#pragma once
// For the barcode tests: symbols drawn by an outside generator (the zint
// command), and pages with symbols stamped on them at any place, size and
// angle.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "platform/files/testing/scratch_folder.h"
#include "plugins/barcode_scanner/grey_image.h"

namespace barcode::testing {

// One linear symbol of each type the reader knows: zint's symbology name, the
// data given to zint, the text a reader gives back and the type value.
struct LinearCase {
    std::string symbology;
    std::string data;
    std::string text;
    int32_t type;
};

inline const std::vector<LinearCase>& LinearCases() {
    static const std::vector<LinearCase> cases = {
        {"C25INTER", "1234567890", "1234567890", 4},
        {"CODE39", "BILL 42-X", "BILL 42-X", 32},
        {"CODABAR", "A40156B", "40156", 64},
        {"CODE128", "Bill 2026/12", "Bill 2026/12", 4096},
        {"GS1_128", "[01]09501101530003", "0109501101530003", 8192},
        {"CODE93", "CODE93 TEST", "CODE93 TEST", 16384},
        {"EANX", "400638133393", "4006381333931", -32768},
        {"UPCA", "03600029145", "036000291452", 65536},
        {"EANX", "9638507", "96385074", 131072},
        {"UPCE", "0123456", "01234565", 262144},
    };
    return cases;
}

// The file zint writes for the symbol (scale in pixels per module), or ""
// when zint fails. `format` is zint's file type: "BMP", "PNG", ...
inline std::string ZintFile(const files::testing::ScratchFolder& folder, const std::string& name,
                            const std::string& symbology, const std::string& data, int scale,
                            const std::string& format = "BMP", const std::string& options = "") {
    const std::string path = folder.file(name);
    std::string quoted = "'";
    for (char c : data) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    const std::string command = "zint --barcode=" + symbology + " --scale=" + std::to_string(scale) +
                                " --filetype=" + format + " " + options + " --output='" + path + "' --data=" + quoted +
                                " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline GreyImage WhitePage(int32_t width, int32_t height) {
    return {width, height, std::vector<uint8_t>(size_t(width) * height, 255)};
}

// Draws `symbol` on the page turned by `degrees` clockwise (as the page is
// seen) about its centre, its centre at (centreX, centreY), each pixel of the
// page taking the symbol's nearest pixel; the symbol's white stays white.
inline void Stamp(GreyImage& page, const GreyImage& symbol, double centreX, double centreY, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const double halfW = symbol.width / 2.0, halfH = symbol.height / 2.0;
    const double reach = std::hypot(halfW, halfH) + 1;
    for (int32_t y = int32_t(centreY - reach); y <= int32_t(centreY + reach); ++y) {
        if (y < 0 || y >= page.height) continue;
        for (int32_t x = int32_t(centreX - reach); x <= int32_t(centreX + reach); ++x) {
            if (x < 0 || x >= page.width) continue;
            const double dx = x + 0.5 - centreX, dy = y + 0.5 - centreY;
            // Turning back by the angle finds the symbol's pixel.
            const double sx = c * dx + s * dy + halfW, sy = -s * dx + c * dy + halfH;
            if (sx < 0 || sy < 0 || sx >= symbol.width || sy >= symbol.height) continue;
            page.pixels[size_t(y) * page.width + x] = symbol.pixels[size_t(sy) * symbol.width + size_t(sx)];
        }
    }
}

// Where a point of the symbol (in its own pixels) lands on the page.
inline std::pair<double, double> StampedPoint(const GreyImage& symbol, double centreX, double centreY, double degrees,
                                              double symbolX, double symbolY) {
    const double radians = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const double dx = symbolX - symbol.width / 2.0, dy = symbolY - symbol.height / 2.0;
    return {centreX + c * dx - s * dy, centreY + s * dx + c * dy};
}

}  // namespace barcode::testing
