#include "plugins/mvimgplug/exif_guard.h"

#include <array>
#include <cstring>
#include <set>
#include <vector>

namespace mvimgplug {

namespace {

constexpr uint16_t kExifIfd = 0x8769;
constexpr uint16_t kGpsIfd = 0x8825;
constexpr uint16_t kInteropIfd = 0xA005;
constexpr size_t kMaxIfds = 64;

class TiffFields {
public:
    TiffFields(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}
    uint32_t Read(uint64_t offset, int width) const {
        uint32_t value = 0;
        for (int i = 0; i < width; ++i) {
            const int index = bigEndian_ ? i : width - 1 - i;
            value = (value << 8) | bytes_[static_cast<size_t>(offset) + index];
        }
        return value;
    }

private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

// Bytes of one value of a TIFF field type; 0 for a type that is not one.
uint64_t FieldTypeWidth(uint32_t type) {
    static constexpr std::array<uint8_t, 14> kWidths = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < kWidths.size() ? kWidths[type] : 0;
}

bool IsSubIfd(uint32_t tag) { return tag == kExifIfd || tag == kGpsIfd || tag == kInteropIfd; }

}  // namespace

bool ExifStructureHoldsTogether(std::span<const uint8_t> tiff) {
    const uint64_t size = tiff.size();
    if (size < 8) return false;
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I')) return false;
    TiffFields fields(tiff, bigEndian);
    if (fields.Read(2, 2) != 42) return false;

    std::vector<uint64_t> pending = {fields.Read(4, 4)};
    std::set<uint64_t> visited;
    while (!pending.empty()) {
        const uint64_t ifd = pending.back();
        pending.pop_back();
        if (ifd < 8 || ifd + 2 > size || !visited.insert(ifd).second || visited.size() > kMaxIfds) return false;
        const uint64_t count = fields.Read(ifd, 2);
        const uint64_t entries = ifd + 2;
        if (entries + 12 * count + 4 > size) return false;
        for (uint64_t i = 0; i < count; ++i) {
            const uint64_t entry = entries + 12 * i;
            const uint32_t tag = fields.Read(entry, 2);
            const uint64_t width = FieldTypeWidth(fields.Read(entry + 2, 2));
            const uint64_t valueCount = fields.Read(entry + 4, 4);
            if (width == 0) return false;
            const uint64_t bytes = width * valueCount;
            if (bytes > 4 && (fields.Read(entry + 8, 4) > size || bytes > size - fields.Read(entry + 8, 4))) {
                return false;
            }
            if (IsSubIfd(tag)) {
                if (valueCount != 1 || width != 4) return false;
                pending.push_back(fields.Read(entry + 8, 4));
            }
        }
        const uint64_t next = fields.Read(entries + 12 * count, 4);
        if (next != 0) pending.push_back(next);
    }
    return true;
}

bool JpegExifHoldsTogether(std::FILE* stream) {
    std::rewind(stream);
    uint8_t start[2];
    if (std::fread(start, 1, 2, stream) != 2 || start[0] != 0xFF || start[1] != 0xD8) return true;
    static constexpr uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
    for (;;) {
        // The decoder skips whatever lies between segments up to the next
        // 0xFF, and any fill bytes after it: so does the walk, so that no
        // segment the decoder reads escapes it.
        int byte = std::fgetc(stream);
        while (byte != EOF && byte != 0xFF) byte = std::fgetc(stream);
        while (byte == 0xFF) byte = std::fgetc(stream);
        if (byte == EOF) return true;
        const uint8_t kind = static_cast<uint8_t>(byte);
        // Start of scan or end of image: no metadata segments follow.
        if (kind == 0xDA || kind == 0xD9) return true;
        // A stuffed byte, a restart or the temporary marker carries no length.
        if (kind == 0x00 || kind == 0x01 || (kind >= 0xD0 && kind <= 0xD7)) continue;
        uint8_t high_low[2];
        if (std::fread(high_low, 1, 2, stream) != 2) return true;
        const size_t length = (static_cast<size_t>(high_low[0]) << 8) | high_low[1];
        if (length < 2) return true;
        std::vector<uint8_t> segment(length - 2);
        if (std::fread(segment.data(), 1, segment.size(), stream) != segment.size()) return true;
        if (kind == 0xE1 && segment.size() >= sizeof kExifHeader &&
            std::memcmp(segment.data(), kExifHeader, sizeof kExifHeader) == 0 &&
            !ExifStructureHoldsTogether(std::span(segment).subspan(sizeof kExifHeader))) {
            return false;
        }
    }
}

}  // namespace mvimgplug
