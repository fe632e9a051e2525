#include "platform/forms/font.h"

#include <utility>

#include "platform/forms/error.h"

namespace forms {

namespace {

constexpr double kLargestSize = 2160;  // points; a larger size is refused as an invalid property value

template <class T>
Font with(Font font, T Font::*part, T value) {
    font.*part = std::move(value);
    return font;
}

}  // namespace

void FontProperties::setFont(Font font) {
    if (!(font.size > 0 && font.size <= kLargestSize)) throw errors::invalidPropertyValue();
    if (font == font_) return;
    font_ = std::move(font);
    fontChanged();
}

void FontProperties::setFontName(std::string name) { setFont(with(font_, &Font::name, std::move(name))); }
void FontProperties::setFontSize(double points) { setFont(with(font_, &Font::size, points)); }
void FontProperties::setFontBold(bool on) { setFont(with(font_, &Font::bold, on)); }
void FontProperties::setFontItalic(bool on) { setFont(with(font_, &Font::italic, on)); }
void FontProperties::setFontUnderline(bool on) { setFont(with(font_, &Font::underline, on)); }

}  // namespace forms
