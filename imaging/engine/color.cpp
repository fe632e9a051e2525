#include "imaging/engine/color.h"

#include <bit>

#include "platform/gdiplus/argb.h"

namespace scanvelt {
namespace {

// The value's bits as the GDI+ layer's unsigned ARGB, so that packing and
// unpacking never see a sign.
gdiplus::ARGB bitsOf(int32_t value) { return std::bit_cast<gdiplus::ARGB>(value); }

}  // namespace

int32_t cColor::MakeARGB(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) const {
    return std::bit_cast<int32_t>(gdiplus::MakeARGB(alpha, red, green, blue));
}

void cColor::FromARGB(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
    value_ = MakeARGB(alpha, red, green, blue);
}

void cColor::FromARGBColor(int32_t argb) { value_ = argb; }

void cColor::FromRGB(uint8_t red, uint8_t green, uint8_t blue) { value_ = MakeARGB(255, red, green, blue); }

void cColor::FromRGBColor(int32_t colorref) { SetFromCOLORREF(colorref); }

uint8_t cColor::GetAlpha() const { return gdiplus::AlphaOf(bitsOf(value_)); }
uint8_t cColor::GetRed() const { return gdiplus::RedOf(bitsOf(value_)); }
uint8_t cColor::GetGreen() const { return gdiplus::GreenOf(bitsOf(value_)); }
uint8_t cColor::GetBlue() const { return gdiplus::BlueOf(bitsOf(value_)); }
int32_t cColor::GetValue() const { return value_; }

void cColor::SetFromCOLORREF(int32_t colorref) {
    // A COLORREF holds red in its lowest byte, where an ARGB value holds blue.
    const gdiplus::ARGB bits = bitsOf(colorref);
    value_ = MakeARGB(255, gdiplus::BlueOf(bits), gdiplus::GreenOf(bits), gdiplus::RedOf(bits));
}

void cColor::SetValue(int32_t argb) { value_ = argb; }

}  // namespace scanvelt
