#include "imaging/typelib/resource_bundle.h"

#include <cstring>

#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/typelib_binary.h"

namespace scanvelt::typelib {
namespace {

constexpr char kMagic[4] = {'S', 'V', 'R', 'S'};
constexpr size_t kNameSize = 24;
constexpr size_t kEntrySize = 4 + 4 + kNameSize + 4 + 4;
constexpr uint32_t kMaxResources = 1024;

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t get32(std::span<const uint8_t> bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[at + i];
    return v;
}

std::vector<uint8_t> identityList(const std::vector<com::IID>& ids) {
    std::vector<uint8_t> out;
    put32(out, static_cast<uint32_t>(ids.size()));
    for (const auto& id : ids) {
        auto b = id.bytes();
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

// 16 x 16 glyphs of the toolbox bitmaps, top row first.
const char* glyph(char letter) {
    static const char* twain =
        "................"
        ".##############."
        ".##############."
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "......####......"
        "................";
    static const char* viewer =
        "................"
        ".###........###."
        ".###........###."
        "..###......###.."
        "..###......###.."
        "...###....###..."
        "...###....###..."
        "....###..###...."
        "....###..###...."
        ".....######....."
        ".....######....."
        "......####......"
        "......####......"
        ".......##......."
        ".......##......."
        "................";
    return letter == 'T' ? twain : viewer;
}

}  // namespace

std::vector<uint8_t> ToolboxBitmap(char letter) {
    constexpr uint32_t side = 16;
    constexpr uint32_t rowBytes = side * 3;
    constexpr uint32_t pixelBytes = rowBytes * side;
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, 14 + 40 + pixelBytes);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, side);
    put32(out, side);
    out.push_back(1), out.push_back(0);   // planes
    out.push_back(24), out.push_back(0);  // bits per pixel
    for (int i = 0; i < 6; ++i) put32(out, i == 1 ? pixelBytes : 0);
    const char* g = glyph(letter);
    for (int y = side - 1; y >= 0; --y) {  // bottom row first
        for (uint32_t x = 0; x < side; ++x) {
            bool ink = g[y * side + x] == '#';
            out.push_back(ink ? 0x80 : 0xC0);  // blue
            out.push_back(ink ? 0x30 : 0xC0);  // green
            out.push_back(ink ? 0x10 : 0xC0);  // red
        }
    }
    return out;
}

std::vector<uint8_t> WriteResourceBundle(const std::vector<Resource>& resources) {
    std::vector<uint8_t> out(kMagic, kMagic + 4);
    put32(out, static_cast<uint32_t>(resources.size()));
    size_t offset = 8 + kEntrySize * resources.size();
    for (const auto& r : resources) {
        put32(out, static_cast<uint32_t>(r.kind));
        put32(out, r.number);
        char name[kNameSize] = {};
        std::memcpy(name, r.name.data(), std::min(r.name.size(), kNameSize - 1));
        out.insert(out.end(), name, name + kNameSize);
        put32(out, static_cast<uint32_t>(offset));
        put32(out, static_cast<uint32_t>(r.data.size()));
        offset += r.data.size();
    }
    for (const auto& r : resources) out.insert(out.end(), r.data.begin(), r.data.end());
    return out;
}

std::optional<std::vector<Resource>> ReadResourceBundle(std::span<const uint8_t> bytes) {
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kMagic, 4) != 0) return std::nullopt;
    uint32_t count = get32(bytes, 4);
    if (count > kMaxResources || 8 + uint64_t{count} * kEntrySize > bytes.size()) return std::nullopt;
    std::vector<Resource> out;
    for (uint32_t i = 0; i < count; ++i) {
        size_t at = 8 + i * kEntrySize;
        Resource r;
        r.kind = static_cast<ResourceKind>(get32(bytes, at));
        r.number = get32(bytes, at + 4);
        const char* name = reinterpret_cast<const char*>(bytes.data() + at + 8);
        r.name.assign(name, strnlen(name, kNameSize));
        uint32_t offset = get32(bytes, at + 8 + kNameSize);
        uint32_t size = get32(bytes, at + 12 + kNameSize);
        if (offset > bytes.size() || size > bytes.size() - offset) return std::nullopt;
        r.data.assign(bytes.begin() + offset, bytes.begin() + offset + size);
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<Resource> ScanveltResources() {
    return {
        {ResourceKind::TypeLib, 1, "TYPELIB", com::WriteTypeLibImage(ScanveltTypeLib())},
        {ResourceKind::Bitmap, 30000, "Twain", ToolboxBitmap('T')},
        {ResourceKind::Bitmap, 30001, "MvViewer", ToolboxBitmap('V')},
        {ResourceKind::InterfaceList, 0, "_IID_TWAIN", identityList(TwainInterfaceIds())},
        {ResourceKind::InterfaceList, 0, "_IID_MVVIEWER", identityList(MvViewerInterfaceIds())},
        {ResourceKind::InterfaceList, 0, "_IID_DUMMY", identityList(DummyInterfaceIds())},
        {ResourceKind::InterfaceList, 0, "_SRCIID_TWAIN", identityList(TwainSourceInterfaceIds())},
        {ResourceKind::InterfaceList, 0, "_SRCIID_MVVIEWER", identityList(MvViewerSourceInterfaceIds())},
        {ResourceKind::Mark, 0, "OLESelfRegister", {}},
    };
}

}  // namespace scanvelt::typelib
