#include "plugins/mvimgplug/exr_guard.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "plugins/mvimgplug/pixel_budget.h"

namespace mvimgplug {

namespace {

constexpr uint32_t kMagic = 20000630;
constexpr size_t kMaxHeaderBytes = 1 << 24;
// Names and type names are at most 255 characters (with the terminating 0).
constexpr size_t kMaxNameBytes = 256;

int32_t Le32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + static_cast<size_t>(i)];
    return static_cast<int32_t>(value);
}

// The 0-terminated text at `pos`, moving `pos` past it; false when it does not end in time.
bool ReadName(const std::vector<uint8_t>& bytes, size_t& pos, std::string& name) {
    const size_t limit = std::min(bytes.size(), pos + kMaxNameBytes);
    for (size_t i = pos; i < limit; ++i) {
        if (bytes[i] == 0) {
            name.assign(reinterpret_cast<const char*>(&bytes[pos]), i - pos);
            pos = i + 1;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ExrHeaderHoldsTogether(std::FILE* stream) {
    std::rewind(stream);
    std::vector<uint8_t> bytes(kMaxHeaderBytes);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), stream));
    if (bytes.size() < 8 || static_cast<uint32_t>(Le32At(bytes, 0)) != kMagic) return false;
    size_t pos = 8;
    bool sawDataWindow = false;
    for (;;) {
        std::string name;
        if (!ReadName(bytes, pos, name)) return false;
        if (name.empty()) return sawDataWindow;
        std::string type;
        if (!ReadName(bytes, pos, type) || pos + 4 > bytes.size()) return false;
        const int32_t size = Le32At(bytes, pos);
        pos += 4;
        if (size < 0 || static_cast<size_t>(size) > bytes.size() - pos) return false;
        if (name == "dataWindow") {
            if (type != "box2i" || size != 16) return false;
            const int64_t width = int64_t{Le32At(bytes, pos + 8)} - Le32At(bytes, pos) + 1;
            const int64_t height = int64_t{Le32At(bytes, pos + 12)} - Le32At(bytes, pos + 4) + 1;
            // Float RGBA, the widest the decoder makes: 16 bytes a pixel.
            if (width < 1 || height < 1 || static_cast<uint64_t>(width) * static_cast<uint64_t>(height) >
                                                MaxPixelBytes() / 16) {
                return false;
            }
            sawDataWindow = true;
        }
        pos += static_cast<size_t>(size);
    }
}

}  // namespace mvimgplug
