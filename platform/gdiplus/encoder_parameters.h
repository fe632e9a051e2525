#pragma once
// Encoder parameters: the settings a save hands to an encoder (quality,
// compression, colour depth, the multi-frame save flag), each named by its
// GDI+ parameter GUID and carrying typed values.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdiplus/guid.h"

namespace gdiplus {

inline constexpr Guid EncoderCompression{0xe09d739d, 0xccd4, 0x44ee, {0x8e, 0xba, 0x3f, 0xbf, 0x8b, 0xe4, 0xfc, 0x58}};
inline constexpr Guid EncoderColorDepth{0x66087055, 0xad66, 0x4c7c, {0x9a, 0x18, 0x38, 0xa2, 0x31, 0x0b, 0x83, 0x37}};
inline constexpr Guid EncoderQuality{0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
inline constexpr Guid EncoderSaveFlag{0x292266fc, 0xac40, 0x47bf, {0x8c, 0xfc, 0xa8, 0x5b, 0x89, 0xa6, 0x55, 0xde}};

enum EncoderParameterValueType : std::uint32_t {
    EncoderParameterValueTypeByte = 1,
    EncoderParameterValueTypeASCII = 2,
    EncoderParameterValueTypeShort = 3,
    EncoderParameterValueTypeLong = 4,
    EncoderParameterValueTypeRational = 5,
    EncoderParameterValueTypeLongRange = 6,
    EncoderParameterValueTypeUndefined = 7,
    EncoderParameterValueTypeRationalRange = 8,
};

// The values of the compression and save-flag parameters.
enum EncoderValue : std::uint32_t {
    EncoderValueColorTypeCMYK = 0,
    EncoderValueColorTypeYCCK = 1,
    EncoderValueCompressionLZW = 2,
    EncoderValueCompressionCCITT3 = 3,
    EncoderValueCompressionCCITT4 = 4,
    EncoderValueCompressionRle = 5,
    EncoderValueCompressionNone = 6,
    EncoderValueScanMethodInterlaced = 7,
    EncoderValueScanMethodNonInterlaced = 8,
    EncoderValueVersionGif87 = 9,
    EncoderValueVersionGif89 = 10,
    EncoderValueRenderProgressive = 11,
    EncoderValueRenderNonProgressive = 12,
    EncoderValueTransformRotate90 = 13,
    EncoderValueTransformRotate180 = 14,
    EncoderValueTransformRotate270 = 15,
    EncoderValueTransformFlipHorizontal = 16,
    EncoderValueTransformFlipVertical = 17,
    EncoderValueMultiFrame = 18,
    EncoderValueLastFrame = 19,
    EncoderValueFlush = 20,
    EncoderValueFrameDimensionTime = 21,
    EncoderValueFrameDimensionResolution = 22,
    EncoderValueFrameDimensionPage = 23,
};

struct EncoderParameter {
    gdiplus::Guid Guid;
    std::uint32_t NumberOfValues = 0;
    EncoderParameterValueType Type = EncoderParameterValueTypeLong;
    // The values' bytes, little-endian, as GDI+ lays them out.
    std::vector<std::uint8_t> Value;

    // One 32-bit value of type Long, the only kind the savers write.
    static EncoderParameter Long(const gdiplus::Guid& guid, std::uint32_t value);
    // The first value of a Long parameter; nullopt for another type or when
    // the parameter holds no whole value.
    std::optional<std::uint32_t> LongValue() const;

    friend bool operator==(const EncoderParameter&, const EncoderParameter&) = default;
};

using EncoderParameters = std::vector<EncoderParameter>;

// The first parameter with that GUID, or nullptr.
const EncoderParameter* FindEncoderParameter(const EncoderParameters& parameters, const Guid& guid);

// The Long value of the first parameter with that GUID, if any.
std::optional<std::uint32_t> FindEncoderLong(const EncoderParameters& parameters, const Guid& guid);

}  // namespace gdiplus
