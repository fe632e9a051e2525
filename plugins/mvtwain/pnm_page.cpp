#include "plugins/mvtwain/pnm_page.h"

#include <cctype>
#include <cstring>

#include "plugins/mvtwain/page_layout.h"

namespace mvtwain {
namespace {

class HeaderReader {
public:
    explicit HeaderReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // The next decimal number after blanks and comments; nullopt when absent or too large.
    std::optional<uint32_t> number() {
        skipBlanks();
        uint64_t value = 0;
        size_t digits = 0;
        while (pos_ < bytes_.size() && std::isdigit(bytes_[pos_])) {
            value = value * 10 + (bytes_[pos_++] - '0');
            if (++digits > 9) return std::nullopt;
        }
        if (digits == 0) return std::nullopt;
        return static_cast<uint32_t>(value);
    }

    // The single blank that ends the header.
    bool endOfHeader() {
        if (pos_ >= bytes_.size() || !std::isspace(bytes_[pos_])) return false;
        ++pos_;
        return true;
    }

    size_t position() const { return pos_; }

private:
    void skipBlanks() {
        while (pos_ < bytes_.size()) {
            if (std::isspace(bytes_[pos_])) {
                ++pos_;
            } else if (bytes_[pos_] == '#') {
                while (pos_ < bytes_.size() && bytes_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 2;
};

}  // namespace

std::optional<PnmPage> ParsePnm(std::span<const uint8_t> bytes) {
    if (bytes.size() < 3 || bytes[0] != 'P' || (bytes[1] != '4' && bytes[1] != '5' && bytes[1] != '6'))
        return std::nullopt;
    const char kind = static_cast<char>(bytes[1]);
    HeaderReader header(bytes);
    auto width = header.number();
    auto height = header.number();
    if (!width || !height || *width == 0 || *height == 0) return std::nullopt;
    uint32_t maxValue = 1;
    if (kind != '4') {
        auto m = header.number();
        if (!m || (*m != 255 && *m != 65535)) return std::nullopt;
        maxValue = *m;
    }
    if (!header.endOfHeader()) return std::nullopt;

    PnmPage page;
    auto& p = page.parameters;
    p.format = kind == '6' ? FrameParameters::Format::Rgb : FrameParameters::Format::Gray;
    p.depth = kind == '4' ? 1 : maxValue == 255 ? 8 : 16;
    const uint64_t channels = kind == '6' ? 3 : 1;
    const uint64_t lineBytes = (static_cast<uint64_t>(*width) * channels * p.depth + 7) / 8;
    const uint64_t total = lineBytes * *height;
    if (lineBytes > INT32_MAX || *height > INT32_MAX || total > kPageMemoryCeiling) return std::nullopt;
    if (bytes.size() - header.position() < total) return std::nullopt;
    p.pixelsPerLine = static_cast<int>(*width);
    p.bytesPerLine = static_cast<int>(lineBytes);
    p.lines = static_cast<int>(*height);
    p.lastFrame = true;
    const uint8_t* data = bytes.data() + header.position();
    page.data.assign(data, data + total);
    if (p.depth == 16) {
        // PNM stores 16-bit samples big-endian; SANE sends the host's order.
        for (size_t i = 0; i + 1 < page.data.size(); i += 2) {
            const uint16_t v = static_cast<uint16_t>(page.data[i] << 8 | page.data[i + 1]);
            std::memcpy(&page.data[i], &v, 2);
        }
    }
    return page;
}

}  // namespace mvtwain
