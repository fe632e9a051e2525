#include "imaging/engine/color.h"

#include <bit>

namespace scanvelt {
namespace {

uint8_t byteOf(int32_t value, int index) {
    return static_cast<uint8_t>(std::bit_cast<uint32_t>(value) >> (8 * index));
}

}  // namespace

int32_t cColor::MakeARGB(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) const {
    uint32_t packed = (uint32_t{alpha} << 24) | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
    return std::bit_cast<int32_t>(packed);
}

void cColor::FromARGB(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue) {
    value_ = MakeARGB(alpha, red, green, blue);
}

void cColor::FromARGBColor(int32_t argb) { value_ = argb; }

void cColor::FromRGB(uint8_t red, uint8_t green, uint8_t blue) { value_ = MakeARGB(255, red, green, blue); }

void cColor::FromRGBColor(int32_t colorref) { SetFromCOLORREF(colorref); }

uint8_t cColor::GetAlpha() const { return byteOf(value_, 3); }
uint8_t cColor::GetRed() const { return byteOf(value_, 2); }
uint8_t cColor::GetGreen() const { return byteOf(value_, 1); }
uint8_t cColor::GetBlue() const { return byteOf(value_, 0); }
int32_t cColor::GetValue() const { return value_; }

void cColor::SetFromCOLORREF(int32_t colorref) {
    value_ = MakeARGB(255, byteOf(colorref, 0), byteOf(colorref, 1), byteOf(colorref, 2));
}

void cColor::SetValue(int32_t argb) { value_ = argb; }

}  // namespace scanvelt
