#pragma once
// The GDI+ property items of an image (its EXIF, GPS and TIFF tags and GDI+'s
// own items): counting, reading as cGDIPPropertyItem copies, value texts,
// writing and removing. Items are numbered from 1 in the order GDI+ lists them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "imaging/engine/gdip_property_item.h"
#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/property_item.h"

namespace scanvelt {

// Reading.
MorvalenStatus GetImagePropertyCount(int32_t imageId, int32_t& count);
// count := 0 first; OK with 0 for an unregistered ID.
MorvalenStatus GetPropertyCountOrZero(int32_t imageId, int32_t& count);
// Bytes of the whole item: the 16-byte header and the value. PropertyNotFound
// when the image has no such item.
MorvalenStatus GetPropertyItemSize(int32_t imageId, int32_t tagId, int32_t& size);
// The item, nullopt when its size cannot be read; an empty item when its
// value cannot be read.
std::optional<cGDIPPropertyItem> PropertyItemById(int32_t imageId, int32_t tagId);
// Item n (from 1) of the image's `count` items; nullopt when n is outside 1 to count.
std::optional<cGDIPPropertyItem> PropertyItemAt(int32_t imageId, int32_t n, int32_t count);
// The value of item n as text (see PropertyValueText). InvalidParameter (text
// empty) for an unregistered ID or n outside the items; GenericError (text
// empty) when a value cannot be written, such as a rational over 0.
MorvalenStatus ExifTagValueText(int32_t imageId, int32_t n, std::string& text);

// Writing; an item replaces the image's item of the same tag. With
// markModified the image is marked modified when the write succeeds.
MorvalenStatus RemoveImagePropertyItem(int32_t imageId, int32_t tagId);
MorvalenStatus SetImagePropertyItem(int32_t imageId, const gdiplus::PropertyItem& item, bool markModified);
// An item of `length` bytes from `value`. InvalidParameter for a length below
// 0, a type outside 16 bits, or no value for a length above 0.
MorvalenStatus SetPropertyItemRaw(int32_t imageId, int32_t tagId, int32_t type, int32_t length, const uint8_t* value,
                                  bool markModified);
MorvalenStatus SetPropertyItemValues(int32_t imageId, int32_t tagId, int32_t type, std::span<const uint8_t> values,
                                     bool markModified);
// An ASCII item (type 2) of the text's ANSI bytes; its length does not count
// the closing 0. A user comment (37510) gets the 8-byte "ASCII   " header
// unless the text starts with "ASCII". InvalidParameter for an empty text or
// an unregistered ID.
MorvalenStatus SetPropertyItemAscii(int32_t imageId, int32_t tagId, std::string_view text, bool markModified);
// LONG (4), or SLONG (9) when isSigned, items from a text of numbers
// separated by "," (blanks anywhere); each part's leading number rounded half
// to even. InvalidParameter for a text with no values; GenericError for a
// value outside 32 bits.
MorvalenStatus SetPropertyItemLongs(int32_t imageId, int32_t tagId, std::string_view text, bool markModified,
                                    bool isSigned);
// SHORT items (3) the same way; GenericError for a value outside -32768 to 32767.
MorvalenStatus SetPropertyItemShorts(int32_t imageId, int32_t tagId, std::string_view text, bool markModified);

}  // namespace scanvelt
