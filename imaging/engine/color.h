#pragma once
// One colour as a packed 32-bit ARGB value (0xAARRGGBB, the layout of GDI+
// colours and of 32-bit ARGB pixels), with its byte components and the
// Windows COLORREF form (0x00BBGGRR).
#include <cstdint>

namespace scanvelt {

class cColor {
public:
    void FromARGB(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue);
    void FromARGBColor(int32_t argb);
    // Opaque.
    void FromRGB(uint8_t red, uint8_t green, uint8_t blue);
    // Opaque; red from bits 0-7, green 8-15, blue 16-23, bits 24-31 ignored.
    void FromRGBColor(int32_t colorref);

    uint8_t GetAlpha() const;
    uint8_t GetBlue() const;
    uint8_t GetGreen() const;
    uint8_t GetRed() const;
    int32_t GetValue() const;

    // Packs the bytes without touching the object; an alpha of 128 or more
    // gives a negative value, never an overflow.
    int32_t MakeARGB(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) const;

    void SetFromCOLORREF(int32_t colorref);
    void SetValue(int32_t argb);

private:
    int32_t value_ = 0;  // transparent black
};

}  // namespace scanvelt
