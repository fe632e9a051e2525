#pragma once
// Shared pieces of the codec tests: a fixture with the layer started and the
// built-in codecs registered, encoding to and decoding from memory, images
// filled with a pattern in any pixel format, and running the command-line
// tools that serve as independent readers.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/builtin_codecs.h"
#include "platform/gdiplus/image.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus::codecs::testing_support {

using namespace gdiplus::testing_support;

class CodecTest : public StartedTest {
protected:
    void SetUp() override { ASSERT_EQ(RegisterBuiltinCodecs(), Ok); }
};

inline std::vector<std::uint8_t> Encode(const Image& image, const Guid& clsid, const EncoderParameters& parameters = {}) {
    std::vector<std::uint8_t> bytes;
    // Save is not const: the layer may keep a multi-frame save open on it.
    EXPECT_EQ(const_cast<Image&>(image).Save(bytes, clsid, &parameters), Ok);
    return bytes;
}

inline Status Decode(const std::vector<std::uint8_t>& bytes, std::unique_ptr<Image>& image) {
    return Image::FromBytes(std::make_shared<const std::vector<std::uint8_t>>(bytes), false, image);
}

inline std::unique_ptr<Image> MustDecode(const std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<Image> image;
    EXPECT_EQ(Decode(bytes, image), Ok);
    return image;
}

inline Bitmap& AsBitmap(Image& image) { return dynamic_cast<Bitmap&>(image); }

// A width x height picture: an indexed format gets a palette of distinct
// colours (1 bit keeps black and white) and every index in turn; the others get opaque colours that vary
// per pixel, and with `clearPixel` (formats with alpha) pixel 0 transparent.
inline std::unique_ptr<Bitmap> Pattern(std::int32_t width, std::int32_t height, PixelFormat format,
                                       bool clearPixel = false) {
    auto bitmap = MakeBitmap(width, height, format);
    if (!bitmap) return bitmap;
    if (IsIndexedPixelFormat(format) && format != PixelFormat1bppIndexed) {
        ColorPalette palette;
        palette.Count = 1u << GetPixelFormatSize(format);
        for (std::uint32_t i = 0; i < palette.Count; ++i)
            palette.Entries[i] = MakeARGB(0xFF, static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i),
                                          static_cast<std::uint8_t>(i * 11 + 3));
        EXPECT_EQ(bitmap->SetPalette(palette), Ok);
    }
    std::vector<ARGB> pixels;
    ColorPalette palette;
    bitmap->GetPalette(palette);
    for (std::int32_t i = 0; i < width * height; ++i) {
        if (IsIndexedPixelFormat(format)) {
            pixels.push_back(palette.Entries[static_cast<std::uint32_t>(i) % palette.Count]);
        } else {
            const auto v = static_cast<std::uint8_t>(i * 29);
            pixels.push_back(MakeARGB(0xFF, v, static_cast<std::uint8_t>(255 - v), static_cast<std::uint8_t>(i * 7)));
        }
    }
    if (clearPixel) pixels[0] = 0;
    SetPixels(*bitmap, pixels);
    return bitmap;
}

// Standard output of a shell command; the exit status goes to `status`.
inline std::string RunCommand(const std::string& command, int* status = nullptr) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int rc = pclose(pipe);
    if (status) *status = rc;
    return output;
}

inline PropertyItem Item(PROPID id, PropertyTagType type, std::vector<std::uint8_t> value) {
    PropertyItem item{id, static_cast<std::uint32_t>(value.size()), type, std::move(value)};
    return item;
}

inline std::vector<std::uint8_t> Ascii(const std::string& text) {
    std::vector<std::uint8_t> v(text.begin(), text.end());
    v.push_back(0);
    return v;
}

inline std::vector<std::uint8_t> Rationals(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> values) {
    std::vector<std::uint8_t> v;
    for (auto [n, d] : values)
        for (std::uint32_t x : {n, d})
            for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
    return v;
}

}  // namespace gdiplus::codecs::testing_support
