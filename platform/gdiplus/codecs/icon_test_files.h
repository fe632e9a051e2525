#pragma once
// Icons for the tests of every route that reads them: icon files written
// here in each depth (colours and an AND mask, or 32-bit colours with their
// own alpha), the public icons Debian ships, and what ImageMagick's convert
// reads from a file, the reference the routes are compared with.
// Header-only and free of the platform's types, so that the plug-in's tests
// use it as well.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace icon_test_files {

inline const char* const kImageMagickConvert = "/usr/bin/convert";

// One icon image: pixels top row first as ARGB. Indexed depths keep alpha 0
// in the AND mask and treat every other pixel as opaque.
struct IconImage {
    const char* name;
    std::uint32_t width, height;
    std::uint16_t bitCount;  // 1, 4, 8, 24 or 32
    std::vector<std::uint32_t> pixels;
};

namespace detail {
inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
inline std::uint32_t RowBytes(std::uint32_t width, std::uint32_t bits) { return (width * bits + 31) / 32 * 4; }
}  // namespace detail

// The icon file of one image: directory, BITMAPINFOHEADER of twice the height,
// colour table, colour rows and AND-mask rows, both bottom-up.
inline std::vector<std::uint8_t> IconFileOf(const IconImage& icon) {
    using namespace detail;
    std::vector<std::uint32_t> table;  // RGB of each palette entry
    std::map<std::uint32_t, std::uint32_t> indexOf;
    if (icon.bitCount <= 8) {
        for (const std::uint32_t p : icon.pixels) {
            const std::uint32_t rgb = p & 0xFFFFFF;
            if (indexOf.emplace(rgb, static_cast<std::uint32_t>(table.size())).second) table.push_back(rgb);
        }
        table.resize(std::size_t{1} << icon.bitCount, 0);
    }
    std::vector<std::uint8_t> dib;
    Put32(dib, 40);
    Put32(dib, icon.width);
    Put32(dib, icon.height * 2);
    Put16(dib, 1);
    Put16(dib, icon.bitCount);
    dib.resize(40, 0);
    for (const std::uint32_t rgb : table) Put32(dib, rgb);
    const std::uint32_t colourStride = RowBytes(icon.width, icon.bitCount), maskStride = RowBytes(icon.width, 1);
    for (std::uint32_t row = icon.height; row-- > 0;) {
        std::vector<std::uint8_t> line(colourStride, 0);
        for (std::uint32_t x = 0; x < icon.width; ++x) {
            const std::uint32_t p = icon.pixels[std::size_t{row} * icon.width + x];
            if (icon.bitCount <= 8) {
                const std::uint32_t index = indexOf.at(p & 0xFFFFFF);
                const std::uint32_t bit = x * icon.bitCount;
                line[bit / 8] |= static_cast<std::uint8_t>(index << (8 - icon.bitCount - bit % 8));
            } else {
                const std::uint32_t bytes = icon.bitCount / 8;
                for (std::uint32_t b = 0; b < bytes; ++b) line[x * bytes + b] = static_cast<std::uint8_t>(p >> (8 * b));
            }
        }
        dib.insert(dib.end(), line.begin(), line.end());
    }
    for (std::uint32_t row = icon.height; row-- > 0;) {
        std::vector<std::uint8_t> line(maskStride, 0);
        for (std::uint32_t x = 0; x < icon.width; ++x) {
            if ((icon.pixels[std::size_t{row} * icon.width + x] >> 24) == 0) line[x / 8] |= 0x80 >> (x % 8);
        }
        dib.insert(dib.end(), line.begin(), line.end());
    }
    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 1);
    file.push_back(static_cast<std::uint8_t>(icon.width));
    file.push_back(static_cast<std::uint8_t>(icon.height));
    file.push_back(static_cast<std::uint8_t>(icon.bitCount <= 4 ? 1u << icon.bitCount : 0));
    file.push_back(0);
    Put16(file, 1);
    Put16(file, icon.bitCount);
    Put32(file, static_cast<std::uint32_t>(dib.size()));
    Put32(file, 22);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

// Writes the icon file of `icon` at `path`; false when it cannot.
inline bool WriteIconFile(const std::filesystem::path& path, const IconImage& icon) {
    const std::vector<std::uint8_t> bytes = IconFileOf(icon);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Icons of every depth, each with transparent pixels: the indexed ones and
// 24-bit through their AND mask, 32-bit through alpha (clear, partial and
// full), the last with its mask as well.
inline std::vector<IconImage> GeneratedIcons() {
    std::vector<IconImage> icons;
    const auto make = [&](const char* name, std::uint32_t size, std::uint16_t bits, auto pixelAt) {
        IconImage icon{name, size, size, bits, {}};
        for (std::uint32_t y = 0; y < size; ++y)
            for (std::uint32_t x = 0; x < size; ++x) icon.pixels.push_back(pixelAt(x, y));
        icons.push_back(std::move(icon));
    };
    // A ring of clear pixels around the border and a clear diagonal.
    const auto clear = [](std::uint32_t x, std::uint32_t y, std::uint32_t size) {
        return x == 0 || y == 0 || x == size - 1 || y == size - 1 || x == y;
    };
    make("one-bit", 32, 1, [&](std::uint32_t x, std::uint32_t y) {
        return (clear(x, y, 32) ? 0u : 0xFF000000u) | ((x / 3 + y) % 2 ? 0xFFFFFFu : 0u);
    });
    make("four-bit", 16, 4, [&](std::uint32_t x, std::uint32_t y) {
        const std::uint32_t c = (x + 2 * y) % 16;
        return (clear(x, y, 16) ? 0u : 0xFF000000u) | (c * 0x10 << 16 | (15 - c) * 0x11 << 8 | 0x40);
    });
    make("eight-bit", 32, 8, [&](std::uint32_t x, std::uint32_t y) {
        return (clear(x, y, 32) ? 0u : 0xFF000000u) | ((x / 2) * 16 << 16 | (y / 2) * 16 << 8 | 0x80);  // 256 colours
    });
    make("twenty-four-bit", 32, 24, [&](std::uint32_t x, std::uint32_t y) {
        return (clear(x, y, 32) ? 0u : 0xFF000000u) | (x * 7 << 16 | y * 5 << 8 | 0x99);
    });
    make("thirty-two-bit", 32, 32, [&](std::uint32_t x, std::uint32_t y) {
        const std::uint32_t alpha = clear(x, y, 32) ? 0u : std::min<std::uint32_t>(255, 40 + x * 8 + y);
        return alpha << 24 | (y * 8 << 16 | x * 8 << 8 | 0x33);
    });
    return icons;
}

// The public icons Debian ships that are installed here (scripts/setup
// installs imagemagick-6-doc for its own icons).
inline std::vector<std::filesystem::path> PublicIcons() {
    const char* const known[] = {
        "/usr/share/doc/imagemagick-6-common/html/images/ImageMagick.ico",
        "/usr/share/doc/imagemagick-6-common/html/images/wand.ico",
        "/usr/share/doc/imagemagick-6-common/html/www/favicon.ico",
        "/usr/share/clang/scan-view-14/share/bugcatcher.ico",
    };
    std::vector<std::filesystem::path> found;
    for (const char* path : known) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) found.emplace_back(path);
    }
    return found;
}

// ImageMagick's 8-bit RGBA of the file's first image; empty when it cannot read it.
inline std::vector<std::uint8_t> ImageMagickRgba(const std::filesystem::path& path) {
    const std::string command =
        std::string(kImageMagickConvert) + " '" + path.string() + "[0]' -depth 8 rgba:- 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::vector<std::uint8_t> out;
    std::uint8_t buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.insert(out.end(), buffer, buffer + n);
    return pclose(pipe) == 0 ? out : std::vector<std::uint8_t>{};
}

// Pixels that differ from the reference beyond `tolerance` in any channel
// (-1 when the sizes differ); `ours` is BGRA rows top first. Colour under
// full transparency is not compared.
inline int PixelsDifferingFrom(const std::vector<std::uint8_t>& reference, const std::vector<std::uint8_t>& ours,
                               int tolerance = 0) {
    if (reference.size() != ours.size()) return -1;
    int differing = 0;
    for (std::size_t i = 0; i + 3 < ours.size(); i += 4) {
        const std::uint8_t* b = &ours[i];
        const std::uint8_t* r = &reference[i];
        int d = std::abs(b[3] - r[3]);
        if (b[3] != 0 || r[3] != 0) {
            d = std::max({d, std::abs(b[2] - r[0]), std::abs(b[1] - r[1]), std::abs(b[0] - r[2])});
        }
        if (d > tolerance) ++differing;
    }
    return differing;
}

// Every icon of GeneratedIcons (written into `folder`) and of PublicIcons,
// each with the number of pixels that `readBgra` (BGRA rows, top first) reads
// differently from ImageMagick, -1 when sizes differ or a file was not written.
inline std::vector<std::pair<std::string, int>> IconsReadDifferentlyFromImageMagick(
    const std::filesystem::path& folder, const std::function<std::vector<std::uint8_t>(const std::filesystem::path&)>& readBgra) {
    std::vector<std::filesystem::path> icons = PublicIcons();
    std::vector<std::pair<std::string, int>> results;
    for (const IconImage& icon : GeneratedIcons()) {
        const std::filesystem::path path = folder / (std::string(icon.name) + ".ico");
        if (WriteIconFile(path, icon)) icons.push_back(path);
        else results.emplace_back(path.string(), -1);
    }
    for (const std::filesystem::path& path : icons)
        results.emplace_back(path.string(), PixelsDifferingFrom(ImageMagickRgba(path), readBgra(path)));
    return results;
}

}  // namespace icon_test_files
