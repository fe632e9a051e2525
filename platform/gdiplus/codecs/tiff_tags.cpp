#include "platform/gdiplus/codecs/tiff_tags.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/gdiplus/codecs/codec_support.h"

namespace gdiplus::codecs {
namespace {

constexpr std::uint32_t kEntrySize = 12;

enum class Ifd { Main, Exif, Gps, None };

Ifd IfdOf(PROPID tag) {
    if (tag == kTagExifIfd || tag == kTagGpsIfd || tag == kTagInteropIfd) return Ifd::None;
    if (tag >= 0x5000 && tag <= 0x5FFF) return Ifd::None;  // the layer's own items
    if (tag <= 0x1F) return Ifd::Gps;
    if (tag == 0x829A || tag == 0x829D || (tag >= 0x8822 && tag <= 0x88FF) || (tag >= 0x9000 && tag <= 0xA4FF))
        return Ifd::Exif;
    return Ifd::Main;
}

// Little-endian copy of `count` values of `type` read in the block's order.
std::vector<std::uint8_t> ValueBytes(const ByteView& block, std::uint64_t at, std::uint16_t type,
                                     std::uint32_t length) {
    std::vector<std::uint8_t> value(block.data() + at, block.data() + at + length);
    if (!block.bigEndian()) return value;
    std::uint32_t unit = TagTypeSize(type);
    if (type == PropertyTagTypeRational || type == PropertyTagTypeSRational) unit = 4;
    if (unit > 1) {
        for (std::size_t i = 0; i + unit <= value.size(); i += unit) std::reverse(value.begin() + i, value.begin() + i + unit);
    }
    return value;
}

class TagReader {
public:
    TagReader(const ByteView& block, std::vector<PropertyItem>& items, std::vector<TagDirectory>& directories)
        : block_(block), items_(items), directories_(directories) {}

    // Reads the entries of the IFD at `offset`; sub-IFD pointers are
    // followed when `followPointers` is set. False when the IFD does not fit.
    bool ReadIfd(std::uint32_t offset, bool followPointers, TagDirectory directory = TagDirectory::Main) {
        std::uint16_t count = 0;
        if (!block_.U16(offset, count) || !block_.Has(offset + 2ull, std::uint64_t{count} * kEntrySize)) return false;
        std::vector<std::pair<std::uint32_t, TagDirectory>> subIfds;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t entry = offset + 2ull + std::uint64_t{i} * kEntrySize;
            PropertyItem item;
            if (!ReadEntry(entry, item)) continue;
            if (followPointers && (item.id == kTagExifIfd || item.id == kTagGpsIfd) && item.length >= 4) {
                std::uint32_t target = 0;
                block_.U32(entry + 8, target);
                subIfds.emplace_back(target, item.id == kTagExifIfd ? TagDirectory::Exif : TagDirectory::Gps);
            }
            Keep(std::move(item), directory);
        }
        for (const auto& [target, sub] : subIfds) {
            if (target != offset) ReadIfd(target, false, sub);
        }
        return true;
    }

private:
    bool ReadEntry(std::uint64_t entry, PropertyItem& item) {
        std::uint16_t tag = 0, type = 0;
        std::uint32_t count = 0;
        block_.U16(entry, tag);
        block_.U16(entry + 2, type);
        block_.U32(entry + 4, count);
        if (type == 13) type = PropertyTagTypeLong;  // an IFD offset, as some writers type pointers
        const std::uint32_t size = TagTypeSize(type);
        const std::uint64_t length = std::uint64_t{size} * count;
        if (size == 0 || length > 0xFFFFFFFFull) return false;
        std::uint64_t at = entry + 8;
        if (length > 4) {
            std::uint32_t offset = 0;
            block_.U32(entry + 8, offset);
            at = offset;
        }
        if (!block_.Has(at, length)) return false;
        item.id = tag;
        item.type = type;
        item.length = static_cast<std::uint32_t>(length);
        item.value = ValueBytes(block_, at, type, item.length);
        return true;
    }

    void Keep(PropertyItem item, TagDirectory directory) {
        if (!seen_.insert(item.id).second) return;  // the first of a repeated tag counts
        items_.push_back(std::move(item));
        directories_.push_back(directory);
    }

    const ByteView& block_;
    std::vector<PropertyItem>& items_;
    std::vector<TagDirectory>& directories_;
    std::set<PROPID> seen_;
};

bool ReadHeader(std::span<const std::uint8_t> bytes, ByteView& block, std::uint32_t& firstIfd) {
    if (bytes.size() < 8) return false;
    if (bytes[0] == 'I' && bytes[1] == 'I') {
        block = ByteView(bytes, false);
    } else if (bytes[0] == 'M' && bytes[1] == 'M') {
        block = ByteView(bytes, true);
    } else {
        return false;
    }
    std::uint16_t magic = 0;
    return block.U16(2, magic) && magic == 42 && block.U32(4, firstIfd);
}

// Bytes one IFD takes together with its out-of-line values.
std::uint32_t IfdSize(const std::vector<const PropertyItem*>& entries) {
    std::uint32_t size = 2 + kEntrySize * static_cast<std::uint32_t>(entries.size()) + 4;
    for (const PropertyItem* item : entries)
        if (item->length > 4) size += item->length + (item->length % 2);
    return size;
}

// Appends one IFD with its out-of-line values right behind it.
void PutIfd(std::vector<std::uint8_t>& out, const std::vector<const PropertyItem*>& entries) {
    const auto start = static_cast<std::uint32_t>(out.size());
    std::uint32_t extra = start + 2 + kEntrySize * static_cast<std::uint32_t>(entries.size()) + 4;
    PutU16(out, static_cast<std::uint16_t>(entries.size()));
    std::vector<const PropertyItem*> outOfLine;
    for (const PropertyItem* item : entries) {
        PutU16(out, static_cast<std::uint16_t>(item->id));
        PutU16(out, item->type);
        PutU32(out, item->length / TagTypeSize(item->type));
        if (item->length > 4) {
            PutU32(out, extra);
            extra += item->length + (item->length % 2);
            outOfLine.push_back(item);
        } else {
            const std::size_t at = out.size();
            out.insert(out.end(), item->value.begin(), item->value.begin() + item->length);
            out.resize(at + 4, 0);
        }
    }
    PutU32(out, 0);  // no next IFD
    for (const PropertyItem* item : outOfLine) {
        out.insert(out.end(), item->value.begin(), item->value.begin() + item->length);
        if (item->length % 2) out.push_back(0);
    }
}

PropertyItem PointerItem(PROPID tag, std::uint32_t offset) {
    PropertyItem item{tag, 4, PropertyTagTypeLong, {}};
    PutU32(item.value, offset);
    return item;
}

}  // namespace

std::uint32_t TagTypeSize(std::uint16_t type) {
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
    }
}

Status ReadTiffTags(std::span<const std::uint8_t> bytes, std::uint32_t ifdIndex, std::vector<PropertyItem>& items) {
    std::vector<TagDirectory> directories;
    return ReadTiffTags(bytes, ifdIndex, items, directories);
}

Status ReadTiffTags(std::span<const std::uint8_t> bytes, std::uint32_t ifdIndex, std::vector<PropertyItem>& items,
                    std::vector<TagDirectory>& directories) {
    return AnswerOutOfMemory([&] {
        ByteView block;
        std::uint32_t offset = 0;
        if (!ReadHeader(bytes, block, offset)) return InvalidParameter;
        std::set<std::uint32_t> visited;
        for (std::uint32_t i = 0; i < ifdIndex; ++i) {
            std::uint16_t count = 0;
            if (!visited.insert(offset).second || !block.U16(offset, count)) return InvalidParameter;
            if (!block.U32(offset + 2ull + std::uint64_t{count} * kEntrySize, offset) || offset == 0)
                return InvalidParameter;
        }
        std::vector<PropertyItem> read;
        std::vector<TagDirectory> readFrom;
        TagReader reader(block, read, readFrom);
        if (!reader.ReadIfd(offset, true)) return InvalidParameter;
        items = std::move(read);
        directories = std::move(readFrom);
        return Ok;
    });
}

std::vector<std::uint8_t> WriteTiffTags(const std::vector<PropertyItem>& items) {
    std::vector<const PropertyItem*> ifd[3];
    for (const PropertyItem& item : items) {
        const std::uint32_t size = TagTypeSize(item.type);
        if (size == 0 || item.length == 0 || item.length % size != 0 || item.value.size() < item.length) continue;
        const Ifd where = IfdOf(item.id);
        if (where != Ifd::None) ifd[static_cast<int>(where)].push_back(&item);
    }
    for (auto& entries : ifd)
        std::stable_sort(entries.begin(), entries.end(), [](auto* a, auto* b) { return a->id < b->id; });

    // The pointers go into IFD0 first, since they decide its size.
    const bool hasExif = !ifd[1].empty(), hasGps = !ifd[2].empty();
    PropertyItem exifPointer = PointerItem(kTagExifIfd, 0), gpsPointer = PointerItem(kTagGpsIfd, 0);
    std::vector<const PropertyItem*> main = ifd[0];
    if (hasExif) main.push_back(&exifPointer);
    if (hasGps) main.push_back(&gpsPointer);
    std::stable_sort(main.begin(), main.end(), [](auto* a, auto* b) { return a->id < b->id; });

    const std::uint32_t exifAt = 8 + IfdSize(main);
    const std::uint32_t gpsAt = exifAt + (hasExif ? IfdSize(ifd[1]) : 0);
    exifPointer = PointerItem(kTagExifIfd, exifAt);
    gpsPointer = PointerItem(kTagGpsIfd, gpsAt);

    std::vector<std::uint8_t> out = {'I', 'I', 42, 0};
    PutU32(out, 8);
    PutIfd(out, main);
    if (hasExif) PutIfd(out, ifd[1]);
    if (hasGps) PutIfd(out, ifd[2]);
    return out;
}

}  // namespace gdiplus::codecs

namespace gdiplus::codecs {

bool IsImageStructureTag(PROPID tag) {
    switch (tag) {
    case 254: case 255: case 256: case 257: case 258: case 259: case 262: case 263: case 266:
    case 273: case 277: case 278: case 279: case 280: case 281: case 284: case 292: case 293:
    case 317: case 320: case 322: case 323: case 324: case 325: case 338: case 339:
    case 513: case 514: case 530:
        return true;
    default:
        return false;
    }
}

}  // namespace gdiplus::codecs
