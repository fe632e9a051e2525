#pragma once
// Property items: the tagged metadata values (EXIF, GPS, TIFF tags and the
// layer's own) that an image carries, each a tag ID, a value type and the
// value's bytes.
#include <cstdint>
#include <vector>

#include "platform/gdiplus/status.h"

namespace gdiplus {

using PROPID = std::uint32_t;

// Value types: the TIFF field types that GDI+ hands through.
enum PropertyTagType : std::uint16_t {
    PropertyTagTypeByte = 1,
    PropertyTagTypeASCII = 2,
    PropertyTagTypeShort = 3,
    PropertyTagTypeLong = 4,
    PropertyTagTypeRational = 5,
    PropertyTagTypeSByte = 6,
    PropertyTagTypeUndefined = 7,
    PropertyTagTypeSShort = 8,
    PropertyTagTypeSLONG = 9,
    PropertyTagTypeSRational = 10,
    PropertyTagTypeFloat = 11,
    PropertyTagTypeDouble = 12,
};

// Tags the layer itself reads or writes.
constexpr PROPID PropertyTagXResolution = 0x011A;
constexpr PROPID PropertyTagYResolution = 0x011B;
constexpr PROPID PropertyTagResolutionUnit = 0x0128;
constexpr PROPID PropertyTagFrameDelay = 0x5100;
constexpr PROPID PropertyTagLoopCount = 0x5101;
constexpr PROPID PropertyTagExifUserComment = 0x9286;

// Size of GDI+'s item header in front of the value (ID, length, type, padding
// and the value address of a 32-bit process); the item sizes the layer
// reports count it, so callers that size buffers the GDI+ way stay right.
constexpr std::uint32_t kPropertyItemHeaderSize = 16;

struct PropertyItem {
    PROPID id = 0;
    // Bytes of the value; the value holds exactly this many bytes once stored.
    std::uint32_t length = 0;
    std::uint16_t type = 0;
    std::vector<std::uint8_t> value;

    friend bool operator==(const PropertyItem&, const PropertyItem&) = default;
};

// The items of one image, in the order they were first set. Setting an item
// whose ID is present replaces it in place.
class PropertyStore {
public:
    std::uint32_t Count() const { return static_cast<std::uint32_t>(items_.size()); }
    std::vector<PROPID> IdList() const;
    // kPropertyItemHeaderSize + length; PropertyNotFound when absent.
    Status ItemSize(PROPID id, std::uint32_t& size) const;
    Status Get(PROPID id, PropertyItem& item) const;
    // Sum of ItemSize over all items, and their count.
    void TotalSize(std::uint32_t& totalBufferSize, std::uint32_t& numProperties) const;
    const std::vector<PropertyItem>& All() const { return items_; }
    // InvalidParameter when the value holds fewer than `length` bytes; only
    // the first `length` bytes are kept.
    Status Set(const PropertyItem& item);
    Status Remove(PROPID id);
    void Clear() { items_.clear(); }

    friend bool operator==(const PropertyStore&, const PropertyStore&) = default;

private:
    std::vector<PropertyItem> items_;
};

}  // namespace gdiplus
