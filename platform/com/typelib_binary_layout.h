#pragma once
// The fixed parts of the binary type-library layout, shared by the writer and
// the reader: sizes, the segment order, and how a type is encoded in a
// 32-bit "data type" word.
#include <cstdint>

namespace com::msft {

constexpr uint32_t kMagic = 0x5446534D;  // "MSFT"
constexpr uint32_t kFormatVersion = 0x00010002;
constexpr uint32_t kHeaderSize = 0x54;
constexpr uint32_t kTypeInfoSize = 0x64;
constexpr uint32_t kSegmentCount = 15;
constexpr uint32_t kSegmentEntrySize = 16;
constexpr uint32_t kGuidEntrySize = 24;
constexpr uint32_t kRefRecordSize = 16;
constexpr uint32_t kImpInfoSize = 12;
constexpr uint32_t kGuidHashSize = 0x80;
constexpr uint32_t kNameHashSize = 0x200;
constexpr uint8_t kPadding = 0x57;

enum Segment : uint32_t {
    TypeInfoTab = 0, ImpInfo, ImpFiles, RefTab, GuidHashTab, GuidTab, NameHashTab, NameTab, StringTab,
    TypeDescTab, ArrayDescriptions, CustData, CDGuids, Reserved0E, Reserved0F,
};

// A basic type is stored in the word itself; otherwise the word is the
// offset of a type descriptor (VT_PTR or VT_USERDEFINED) in TypeDescTab.
constexpr uint32_t BasicType(uint16_t vt) { return 0x80000000u | (uint32_t{vt} << 16) | vt; }
constexpr bool IsBasicType(uint32_t word) { return (word & 0x80000000u) != 0; }
constexpr uint16_t BasicVt(uint32_t word) { return static_cast<uint16_t>(word & 0xFFFF); }

// Function record flags word: kind | invoke kind << 3 | calling convention << 8.
constexpr uint32_t kHasDefaults = 0x1000;

// A reference to an imported type has its low bit set (the rest is the
// offset of its ImpInfo entry).
constexpr uint32_t kImportedReference = 1;

}  // namespace com::msft
