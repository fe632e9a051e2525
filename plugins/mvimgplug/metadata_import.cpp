#include "plugins/mvimgplug/metadata_import.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdiplus/codecs/tiff_tags.h"
#include "plugins/mvimgplug/metadata_names.h"

namespace mvimgplug {

namespace {

using gdiplus::PropertyItem;
using gdiplus::codecs::TagDirectory;

constexpr uint16_t kTagXmp = 700;
constexpr uint16_t kTagIptc = 33723;
constexpr uint16_t kTagPhotoshop = 34377;
constexpr uint16_t kTagIccProfile = 34675;
constexpr uint16_t kIptcRecordVersion = 0x0200;
constexpr uint8_t kIptcApplicationRecord = 2;

void StoreTag(FIBITMAP* dib, FREE_IMAGE_MDMODEL model, const std::string& key, uint16_t id, FREE_IMAGE_MDTYPE type,
              std::span<const uint8_t> value) {
    const uint32_t unit = gdiplus::codecs::TagTypeSize(type);
    if (unit == 0 || value.empty() || value.size() % unit != 0 || value.size() > UINT32_MAX) return;
    FITAG* tag = FreeImage_CreateTag();
    if (tag == nullptr) return;
    const auto length = static_cast<DWORD>(value.size());
    if (FreeImage_SetTagKey(tag, key.c_str()) && FreeImage_SetTagID(tag, id) && FreeImage_SetTagType(tag, type) &&
        FreeImage_SetTagCount(tag, length / unit) && FreeImage_SetTagLength(tag, length) &&
        FreeImage_SetTagValue(tag, value.data())) {
        FreeImage_SetMetadata(model, dib, key.c_str(), tag);
    }
    FreeImage_DeleteTag(tag);
}

uint32_t BigEndian(std::span<const uint8_t> bytes) {
    uint32_t v = 0;
    for (uint8_t b : bytes) v = (v << 8) | b;
    return v;
}

FREE_IMAGE_MDMODEL ModelOf(TagDirectory directory) {
    switch (directory) {
        case TagDirectory::Exif: return FIMD_EXIF_EXIF;
        case TagDirectory::Gps: return FIMD_EXIF_GPS;
        case TagDirectory::Main: break;
    }
    return FIMD_EXIF_MAIN;
}

bool IsSubIfdPointer(uint32_t id) {
    return id == gdiplus::codecs::kTagExifIfd || id == gdiplus::codecs::kTagGpsIfd ||
           id == gdiplus::codecs::kTagInteropIfd;
}

// Fields of a TIFF file's IFD that say how its pixels are stored: those the
// codecs leave out of what an image carries, and the rest of the baseline's
// and extensions' storage fields (sub-IFDs, inks, sample ranges, free space,
// JPEG tables, YCbCr coding).
bool IsStorageTag(uint32_t id) {
    if (gdiplus::codecs::IsImageStructureTag(id)) return true;
    switch (id) {
        case 288: case 289: case 290: case 291: case 330: case 332: case 333: case 334: case 336:
        case 340: case 341: case 347: case 529: case 531: case 532:
            return true;
        default:
            return false;
    }
}

// An IPTC block typed LONG in a big-endian file was turned into little-endian
// longs by the tag reader; its bytes are a stream, so they are turned back.
std::vector<uint8_t> StreamBytes(const PropertyItem& item, bool bigEndianFile) {
    std::vector<uint8_t> bytes(item.value.begin(), item.value.begin() + item.length);
    const bool longs = item.type == FIDT_LONG || item.type == FIDT_SLONG;
    if (bigEndianFile && longs) {
        for (size_t i = 0; i + 4 <= bytes.size(); i += 4) std::reverse(bytes.begin() + i, bytes.begin() + i + 4);
    }
    return bytes;
}

}  // namespace

bool ImportTiffTags(FIBITMAP* dib, std::span<const uint8_t> block, uint32_t ifdIndex, TagSource source) {
    std::vector<PropertyItem> items;
    std::vector<TagDirectory> directories;
    if (gdiplus::codecs::ReadTiffTags(block, ifdIndex, items, directories) != gdiplus::Ok) return false;
    const bool bigEndian = block[0] == 'M';
    for (size_t i = 0; i < items.size(); ++i) {
        const PropertyItem& item = items[i];
        const TagDirectory directory = directories[i];
        if (IsSubIfdPointer(item.id)) continue;
        if (directory == TagDirectory::Main) {
            if (item.id == kTagIccProfile || (source == TagSource::TiffFile && IsStorageTag(item.id))) continue;
            if (item.id == kTagIptc) {
                ImportIptc(dib, StreamBytes(item, bigEndian));
                continue;
            }
            if (item.id == kTagPhotoshop) {
                ImportPhotoshopResources(dib, StreamBytes(item, bigEndian));
                continue;
            }
            if (item.id == kTagXmp) {
                ImportXmp(dib, StreamBytes(item, bigEndian));
                continue;
            }
        }
        const auto id = static_cast<uint16_t>(item.id);
        StoreTag(dib, ModelOf(directory), ExifTagKey(directory, id), id, static_cast<FREE_IMAGE_MDTYPE>(item.type),
                 std::span(item.value.data(), item.length));
    }
    return true;
}

void ImportIptc(FIBITMAP* dib, std::span<const uint8_t> iim) {
    // Data sets in the order they first appear; a repeated one is joined to the first.
    std::vector<std::pair<uint16_t, std::string>> sets;
    size_t at = 0;
    while (at + 5 <= iim.size() && iim[at] == 0x1C) {
        const uint8_t record = iim[at + 1];
        const auto id = static_cast<uint16_t>((record << 8) | iim[at + 2]);
        uint32_t length = BigEndian(iim.subspan(at + 3, 2));
        size_t header = 5;
        if ((length & 0x8000) != 0) {
            // An extended data set: the low bits count the bytes of its length.
            const uint32_t lengthBytes = length & 0x7FFF;
            if (lengthBytes == 0 || lengthBytes > 4 || at + 5 + lengthBytes > iim.size()) break;
            length = BigEndian(iim.subspan(at + 5, lengthBytes));
            header += lengthBytes;
        }
        if (length > iim.size() - at - header) break;
        const auto value = iim.subspan(at + header, length);
        at += header + length;
        if (record != kIptcApplicationRecord || value.empty()) continue;
        const auto same = std::find_if(sets.begin(), sets.end(), [&](const auto& s) { return s.first == id; });
        if (same == sets.end()) {
            sets.emplace_back(id, std::string(value.begin(), value.end()));
        } else if (id != kIptcRecordVersion) {
            same->second += ';';
            same->second.append(value.begin(), value.end());
        }
    }
    for (const auto& [id, text] : sets) {
        if (id == kIptcRecordVersion) {
            // A two-byte number, big-endian in the file.
            if (text.size() != 2) continue;
            const auto version = static_cast<uint16_t>((static_cast<uint8_t>(text[0]) << 8) | static_cast<uint8_t>(text[1]));
            const uint8_t little[2] = {static_cast<uint8_t>(version), static_cast<uint8_t>(version >> 8)};
            StoreTag(dib, FIMD_IPTC, IptcTagKey(id), id, FIDT_SSHORT, little);
            continue;
        }
        StoreTag(dib, FIMD_IPTC, IptcTagKey(id), id, FIDT_ASCII,
                 std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }
}

void ImportPhotoshopResources(FIBITMAP* dib, std::span<const uint8_t> resources) {
    constexpr uint16_t kIptcResource = 0x0404;
    size_t at = 0;
    // "8BIM", a 16-bit id, a Pascal name padded to an even size, a 32-bit
    // size and the data, padded to an even size.
    while (at + 12 <= resources.size() && std::equal(resources.begin() + at, resources.begin() + at + 4, "8BIM")) {
        const auto id = static_cast<uint16_t>(BigEndian(resources.subspan(at + 4, 2)));
        const size_t nameBytes = (size_t{resources[at + 6]} + 2) & ~size_t{1};
        const size_t sizeAt = at + 6 + nameBytes;
        if (sizeAt + 4 > resources.size()) return;
        const uint32_t size = BigEndian(resources.subspan(sizeAt, 4));
        if (size > resources.size() - sizeAt - 4) return;
        if (id == kIptcResource) ImportIptc(dib, resources.subspan(sizeAt + 4, size));
        at = sizeAt + 4 + size + (size & 1);
    }
}

void ImportXmp(FIBITMAP* dib, std::span<const uint8_t> packet) {
    StoreTag(dib, FIMD_XMP, "XMLPacket", kTagXmp, FIDT_ASCII, packet);
}

}  // namespace mvimgplug
