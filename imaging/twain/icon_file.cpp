#include "imaging/twain/icon_file.h"

#include "platform/files/atomic_file_writer.h"

namespace scanvelt {
namespace {

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

bool WriteIconFile(const std::string& path, int32_t width, int32_t height, const std::vector<uint32_t>& rgb,
                   const std::vector<bool>& transparent) {
    const auto pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width < 1 || height < 1 || width > 256 || height > 256 || rgb.size() != pixels || transparent.size() != pixels) {
        return false;
    }
    const uint32_t colourStride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t maskStride = ((static_cast<uint32_t>(width) + 31) / 32) * 4;
    const uint32_t imageBytes = 40 + (colourStride + maskStride) * static_cast<uint32_t>(height);
    std::string file;
    // The directory: one icon image.
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 1);
    file += static_cast<char>(width == 256 ? 0 : width);
    file += static_cast<char>(height == 256 ? 0 : height);
    file += '\0';  // colour count
    file += '\0';
    Put16(file, 1);   // planes
    Put16(file, 24);  // bits per pixel
    Put32(file, imageBytes);
    Put32(file, 22);  // where the image starts
    // The image: a bitmap header of twice the height (colour, then mask), rows bottom-up.
    Put32(file, 40);
    Put32(file, static_cast<uint32_t>(width));
    Put32(file, static_cast<uint32_t>(height) * 2);
    Put16(file, 1);
    Put16(file, 24);
    Put32(file, 0);
    Put32(file, imageBytes - 40);
    for (int i = 0; i < 4; ++i) Put32(file, 0);
    for (int32_t y = height - 1; y >= 0; --y) {
        std::string row;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = rgb[static_cast<size_t>(y) * width + x];
            row += static_cast<char>(p & 0xFF);
            row += static_cast<char>((p >> 8) & 0xFF);
            row += static_cast<char>((p >> 16) & 0xFF);
        }
        row.resize(colourStride, '\0');
        file += row;
    }
    for (int32_t y = height - 1; y >= 0; --y) {
        std::string row(maskStride, '\0');
        for (int32_t x = 0; x < width; ++x) {
            if (transparent[static_cast<size_t>(y) * width + x]) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        file += row;
    }
    return !files::writeFileAtomically(path, file);
}

}  // namespace scanvelt
