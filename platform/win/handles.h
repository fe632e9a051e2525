#pragma once
// The 32-bit handles the library hands to its hosts. A handle is a number the
// library can check, never an address: the kind of object sits in the top
// bits, so a value of one kind is refused by every table of another kind, and
// the serial below it is not reused while the table has fresh values left, so
// a freed handle stays refused.
#include <cstdint>

namespace win {

enum class HandleKind : uint32_t {
    GlobalMemory = 1,
    Bitmap = 2,
    Icon = 3,
    DeviceContext = 4,
    Palette = 5,
    Picture = 6,
    Window = 7,
    // The drawing layer's objects (platform/gdiplus/graphics) live
    // in handle tables of this kind of their own; naming them here keeps every
    // other table off their numbers.
    DrawingGraphics = 8,
    DrawingFontFamily = 9,
    DrawingFont = 10,
    DrawingStringFormat = 11,
    DrawingPen = 12,
    DrawingBrush = 13,
    DrawingImageAttributes = 14,
    Internet = 15,  // sessions, connections and requests of platform/inet
    // Kinds sit in the top four bits: 15 is the last there is.
};

// Distinct types, so that the compiler already refuses an HBITMAP where an
// HICON is wanted; HGLOBAL{} (value 0) is the null handle of its kind.
enum class HGLOBAL : uint32_t {};
enum class HBITMAP : uint32_t {};
enum class HICON : uint32_t {};
enum class HDC : uint32_t {};
enum class HPALETTE : uint32_t {};
enum class HPICTURE : uint32_t {};

template <class Handle>
constexpr uint32_t handleValue(Handle handle) {
    return static_cast<uint32_t>(handle);
}

constexpr int kHandleKindShift = 28;
constexpr uint32_t kHandleSerialMask = (1u << kHandleKindShift) - 1;

// The kind a raw value claims to be (hosts pass handles back as plain numbers).
constexpr HandleKind handleKindOf(uint32_t value) {
    return static_cast<HandleKind>(value >> kHandleKindShift);
}

}  // namespace win
