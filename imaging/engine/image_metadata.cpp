#include "imaging/engine/image_metadata.h"

#include <limits>
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/leading_number.h"
#include "imaging/engine/property_value_text.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {

namespace {

constexpr int32_t kTypeAscii = 2;
constexpr int32_t kTypeShort = 3;
constexpr int32_t kTypeLong = 4;
constexpr int32_t kTypeSLong = 9;

// The parts of a list of numbers: blanks removed, split at ",".
std::vector<std::string> ListParts(std::string_view text) {
    std::string compact;
    for (char c : text) {
        if (c != ' ') compact += c;
    }
    std::vector<std::string> parts;
    if (compact.empty()) return parts;
    size_t start = 0;
    for (size_t comma = compact.find(','); comma != std::string::npos; comma = compact.find(',', start)) {
        parts.push_back(compact.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(compact.substr(start));
    return parts;
}

template <class Integer>
void AppendLittleEndian(std::vector<uint8_t>& bytes, Integer value) {
    auto bits = static_cast<std::make_unsigned_t<Integer>>(value);
    for (size_t i = 0; i < sizeof(Integer); ++i) {
        bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
        bits = static_cast<decltype(bits)>(bits >> 8);
    }
}

}  // namespace

MorvalenStatus GetImagePropertyCount(int32_t imageId, int32_t& count) {
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    count = static_cast<int32_t>(image->GetPropertyCount());
    return OK;
}

MorvalenStatus GetPropertyCountOrZero(int32_t imageId, int32_t& count) {
    count = 0;
    if (FindImageIndex(imageId) < 0) return OK;
    return GetImagePropertyCount(imageId, count);
}

MorvalenStatus GetPropertyItemSize(int32_t imageId, int32_t tagId, int32_t& size) {
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    uint32_t itemSize = 0;
    const gdiplus::Status status = image->GetPropertyItemSize(static_cast<gdiplus::PROPID>(tagId), itemSize);
    if (status == gdiplus::Ok) size = static_cast<int32_t>(itemSize);
    return StatusOf(status);
}

std::optional<cGDIPPropertyItem> PropertyItemById(int32_t imageId, int32_t tagId) {
    int32_t size = 0;
    if (GetPropertyItemSize(imageId, tagId, size) != OK) return std::nullopt;
    cGDIPPropertyItem result;
    gdiplus::PropertyItem item;
    if (NativeImageOf(imageId)->GetPropertyItem(static_cast<gdiplus::PROPID>(tagId), item) == gdiplus::Ok) {
        result.Init(static_cast<int32_t>(item.id), static_cast<int32_t>(item.length), item.type, item.value.data(),
                    size);
    }
    return result;
}

std::optional<cGDIPPropertyItem> PropertyItemAt(int32_t imageId, int32_t n, int32_t count) {
    if (n < 1 || n > count) return std::nullopt;
    const gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return std::nullopt;
    const std::vector<gdiplus::PROPID> ids = image->GetPropertyIdList();
    if (static_cast<size_t>(n) > ids.size()) return std::nullopt;
    return PropertyItemById(imageId, static_cast<int32_t>(ids[static_cast<size_t>(n) - 1]));
}

MorvalenStatus ExifTagValueText(int32_t imageId, int32_t n, std::string& text) {
    text.clear();
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    int32_t count = 0;
    GetPropertyCountOrZero(imageId, count);
    const std::optional<cGDIPPropertyItem> item = PropertyItemAt(imageId, n, count);
    if (!item) return InvalidParameter;
    std::vector<uint8_t> bytes;
    item->GetDataB(bytes);
    std::optional<std::string> value =
        PropertyValueText(item->ID(), item->ItemType(), item->Length(), item->ValueCount(), bytes);
    if (!value) return GenericError;
    text = std::move(*value);
    return OK;
}

MorvalenStatus RemoveImagePropertyItem(int32_t imageId, int32_t tagId) {
    gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    return StatusOf(image->RemovePropertyItem(static_cast<gdiplus::PROPID>(tagId)));
}

MorvalenStatus SetImagePropertyItem(int32_t imageId, const gdiplus::PropertyItem& item, bool markModified) {
    gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    const gdiplus::Status status = image->SetPropertyItem(item);
    if (status == gdiplus::Ok && markModified) MarkImageModified(imageId);
    return StatusOf(status);
}

MorvalenStatus SetPropertyItemRaw(int32_t imageId, int32_t tagId, int32_t type, int32_t length, const uint8_t* value,
                                  bool markModified) {
    return StatusOfRun([&] {
        if (length < 0 || type < 0 || type > std::numeric_limits<uint16_t>::max()) return InvalidParameter;
        if (length > 0 && value == nullptr) return InvalidParameter;
        gdiplus::PropertyItem item;
        item.id = static_cast<gdiplus::PROPID>(tagId);
        item.type = static_cast<uint16_t>(type);
        item.length = static_cast<uint32_t>(length);
        if (length > 0) item.value.assign(value, value + length);
        return SetImagePropertyItem(imageId, item, markModified);
    });
}

MorvalenStatus SetPropertyItemValues(int32_t imageId, int32_t tagId, int32_t type, std::span<const uint8_t> values,
                                     bool markModified) {
    if (values.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return GenericError;
    return SetPropertyItemRaw(imageId, tagId, type, static_cast<int32_t>(values.size()), values.data(), markModified);
}

MorvalenStatus SetPropertyItemAscii(int32_t imageId, int32_t tagId, std::string_view text, bool markModified) {
    return StatusOfRun([&] {
        if (text.empty() || FindImageIndex(imageId) < 0) return InvalidParameter;
        std::string value = win::Utf8ToAnsi(text);
        if (tagId == kTagExifUserComment) {
            if (value.rfind("ASCII", 0) != 0) value.insert(0, 8, ' ');
            value.replace(0, 5, "ASCII");
        }
        const auto length = static_cast<int32_t>(value.size());
        value.push_back('\0');  // the closing 0 follows the value but is not counted
        return SetPropertyItemRaw(imageId, tagId, kTypeAscii, length, reinterpret_cast<const uint8_t*>(value.data()),
                                  markModified);
    });
}

MorvalenStatus SetPropertyItemLongs(int32_t imageId, int32_t tagId, std::string_view text, bool markModified,
                                    bool isSigned) {
    return StatusOfRun([&] {
        const std::vector<std::string> parts = ListParts(text);
        if (parts.empty()) return InvalidParameter;
        std::vector<uint8_t> bytes;
        for (const std::string& part : parts) AppendLittleEndian(bytes, RoundToInt32(LeadingNumberOf(part)));
        return SetPropertyItemValues(imageId, tagId, isSigned ? kTypeSLong : kTypeLong, bytes, markModified);
    });
}

MorvalenStatus SetPropertyItemShorts(int32_t imageId, int32_t tagId, std::string_view text, bool markModified) {
    return StatusOfRun([&] {
        const std::vector<std::string> parts = ListParts(text);
        if (parts.empty()) return InvalidParameter;
        std::vector<uint8_t> bytes;
        for (const std::string& part : parts) AppendLittleEndian(bytes, RoundToInt16(LeadingNumberOf(part)));
        return SetPropertyItemValues(imageId, tagId, kTypeShort, bytes, markModified);
    });
}

}  // namespace scanvelt
