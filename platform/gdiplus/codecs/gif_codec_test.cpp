#include "platform/gdiplus/codecs/gif_codec.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class GifCodecTest : public CodecTest {
protected:
    ScratchFolder folder_;
};

std::vector<std::uint32_t> LongsOf(const PropertyItem& item) {
    std::vector<std::uint32_t> values(item.length / 4);
    std::memcpy(values.data(), item.value.data(), values.size() * 4);
    return values;
}

std::unique_ptr<Bitmap> Flat(ARGB colour, const std::vector<std::uint32_t>& delays) {
    auto bitmap = MakeBitmap(4, 3, PixelFormat24bppRGB);
    SetPixels(*bitmap, std::vector<ARGB>(12, colour));
    PropertyItem item{PropertyTagFrameDelay, static_cast<std::uint32_t>(4 * delays.size()), PropertyTagTypeLong, {}};
    item.value.resize(item.length);
    std::memcpy(item.value.data(), delays.data(), item.length);
    EXPECT_EQ(bitmap->SetPropertyItem(item), Ok);
    return bitmap;
}

// What giflib's own reader finds in a file: per frame the delay, and the loop count.
struct GiflibFacts {
    int frames = 0;
    std::vector<int> delays;
    int loopCount = -1;
    std::string comment;
};

GiflibFacts ReadWithGiflib(const std::filesystem::path& path) {
    GiflibFacts facts;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) return facts;
    if (DGifSlurp(gif) == GIF_OK) {
        facts.frames = gif->ImageCount;
        for (int i = 0; i < gif->ImageCount; ++i) {
            GraphicsControlBlock gcb{};
            DGifSavedExtensionToGCB(gif, i, &gcb);
            facts.delays.push_back(gcb.DelayTime);
            const SavedImage& image = gif->SavedImages[i];
            for (int e = 0; e < image.ExtensionBlockCount; ++e) {
                const ExtensionBlock& b = image.ExtensionBlocks[e];
                if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
                    std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0 && e + 1 < image.ExtensionBlockCount) {
                    const ExtensionBlock& data = image.ExtensionBlocks[e + 1];
                    facts.loopCount = data.Bytes[1] | data.Bytes[2] << 8;
                }
                if (b.Function == COMMENT_EXT_FUNC_CODE) facts.comment.assign(b.Bytes, b.Bytes + b.ByteCount);
            }
        }
    }
    DGifCloseFile(gif, &error);
    return facts;
}

TEST_F(GifCodecTest, ThreeFramesKeepDelaysLoopCountAndComment) {
    // The first frame carries the list of delays, as a page of the engine does.
    auto first = Flat(0xFFFF0000, {10, 20, 30});
    PropertyItem loop{PropertyTagLoopCount, 2, PropertyTagTypeShort, {0x40, 0x9C}};  // 40000
    ASSERT_EQ(first->SetPropertyItem(loop), Ok);
    const std::string text = "ASCII   three frames";
    ASSERT_EQ(first->SetPropertyItem(Item(PropertyTagExifUserComment, PropertyTagTypeASCII, Ascii(text))), Ok);

    const auto path = folder_ / "three.gif";
    const EncoderParameters multi = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueMultiFrame)};
    const EncoderParameters time = {EncoderParameter::Long(EncoderSaveFlag, EncoderValueFrameDimensionTime)};
    ASSERT_EQ(first->Save(path, kGifCodec.clsid, &multi), Ok);
    ASSERT_EQ(first->SaveAdd(*Flat(0xFF00FF00, {10, 20, 30}), time), Ok);
    ASSERT_EQ(first->SaveAdd(*Flat(0xFF0000FF, {10, 20, 30}), time), Ok);
    ASSERT_EQ(first->SaveAdd({EncoderParameter::Long(EncoderSaveFlag, EncoderValueFlush)}), Ok);

    const GiflibFacts facts = ReadWithGiflib(path);
    EXPECT_EQ(facts.frames, 3);
    EXPECT_EQ(facts.delays, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(facts.loopCount, 40000);
    EXPECT_EQ(facts.comment, "three frames");

    std::unique_ptr<Image> decoded;
    ASSERT_EQ(Image::FromFile(path, false, decoded), Ok);
    ASSERT_EQ(decoded->GetFrameCount(FrameDimensionTime), 3u);
    PropertyItem item;
    ASSERT_EQ(decoded->GetPropertyItem(PropertyTagFrameDelay, item), Ok);
    EXPECT_EQ(LongsOf(item), (std::vector<std::uint32_t>{10, 20, 30}));
    ASSERT_EQ(decoded->GetPropertyItem(PropertyTagLoopCount, item), Ok);
    EXPECT_EQ(item, loop);
    ASSERT_EQ(decoded->GetPropertyItem(PropertyTagExifUserComment, item), Ok);
    EXPECT_EQ(CommentTextOf(item), "three frames");
    const ARGB colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (std::uint32_t i : {2u, 0u, 1u}) {
        ASSERT_EQ(decoded->SelectActiveFrame(FrameDimensionTime, i), Ok);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), std::vector<ARGB>(12, colours[i])) << i;
    }
}

TEST_F(GifCodecTest, SingleFrameStaysIndexedWithItsTransparency) {
    auto bitmap = MakeBitmap(3, 1, PixelFormat8bppIndexed);
    ColorPalette palette;
    palette.Count = 3;
    palette.Entries[0] = 0xFFFF0000;
    palette.Entries[1] = 0x00000000;
    palette.Entries[2] = 0xFF00FF00;
    ASSERT_EQ(bitmap->SetPalette(palette), Ok);
    SetPixels(*bitmap, {0xFF00FF00, 0x00000000, 0xFFFF0000});
    auto decoded = MustDecode(Encode(*bitmap, kGifCodec.clsid));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->GetRawFormat(), ImageFormatGIF);
    EXPECT_EQ(decoded->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(decoded->GetFrameCount(FrameDimensionTime), 0u);
    EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), PixelsOf(*bitmap));
}

TEST_F(GifCodecTest, ColourImagesKeepExactColoursUpTo256) {
    struct Case {
        std::int32_t width;
        bool exact;
    };
    for (const Case& c : {Case{16, true}, Case{40, false}}) {
        // 16 x 16 distinct colours fit a palette; 40 x 16 do not.
        auto bitmap = MakeBitmap(c.width, 16, PixelFormat32bppARGB);
        std::vector<ARGB> pixels;
        for (std::int32_t i = 0; i < c.width * 16; ++i) pixels.push_back(0xFF000000 | static_cast<ARGB>(i * 97));
        pixels[5] = 0;  // transparent
        SetPixels(*bitmap, pixels);
        auto decoded = MustDecode(Encode(*bitmap, kGifCodec.clsid));
        ASSERT_TRUE(decoded);
        const auto read = PixelsOf(AsBitmap(*decoded));
        EXPECT_EQ(AlphaOf(read[5]), 0);
        EXPECT_EQ(read == pixels, c.exact) << c.width;
        if (!c.exact) {
            // Mapped onto the halftone palette: each channel within one step of its cube.
            for (std::size_t i = 0; i < read.size(); ++i) {
                if (i == 5) continue;
                EXPECT_NEAR(RedOf(read[i]), RedOf(pixels[i]), 0x33);
                EXPECT_NEAR(BlueOf(read[i]), BlueOf(pixels[i]), 0x33);
            }
        }
    }
}

// A GIF of giflib's making whose second frame is small, offset and partly
// transparent, whose third is one pixel, and whose first frame asks for the
// disposal method given.
std::vector<std::uint8_t> AnimationWithDisposal(int firstDisposal) {
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, [](GifFileType* g, const GifByteType* d, int n) {
        auto* o = static_cast<std::vector<std::uint8_t>*>(g->UserData);
        o->insert(o->end(), d, d + n);
        return n;
    }, &error);
    GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, 3, 2, 8, 0, map);
    auto frame = [&](int left, int top, int w, int h, std::vector<GifPixelType> pixels, int disposal) {
        GraphicsControlBlock gcb{disposal, false, 5, 0};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
        EGifPutImageDesc(gif, left, top, w, h, false, nullptr);
        for (int y = 0; y < h; ++y) EGifPutLine(gif, pixels.data() + y * w, w);
    };
    frame(0, 0, 3, 2, {1, 1, 1, 1, 1, 1}, firstDisposal);  // all red
    frame(1, 1, 2, 1, {2, 0}, DISPOSE_DO_NOT);             // green, then a transparent pixel
    frame(0, 0, 1, 1, {3}, DISPOSE_DO_NOT);                // one blue pixel
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

TEST_F(GifCodecTest, FramesAreComposedAsTheirDisposalSays) {
    constexpr ARGB R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, T = 0;
    struct Case {
        int disposal;
        std::vector<ARGB> second;
    };
    for (const Case& c : {Case{DISPOSE_DO_NOT, {R, R, R, R, G, R}}, Case{DISPOSE_BACKGROUND, {T, T, T, T, G, T}},
                          Case{DISPOSE_PREVIOUS, {T, T, T, T, G, T}}}) {
        SCOPED_TRACE(c.disposal);
        auto decoded = MustDecode(AnimationWithDisposal(c.disposal));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->GetPixelFormat(), PixelFormat32bppARGB);
        ASSERT_EQ(decoded->SelectActiveFrame(FrameDimensionTime, 1), Ok);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), c.second);
        ASSERT_EQ(decoded->SelectActiveFrame(FrameDimensionTime, 0), Ok);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), std::vector<ARGB>(6, R));
        // Skipping ahead and stepping back compose the frames passed over
        // without showing them, to the same screens.
        std::vector<ARGB> third = c.second;
        third[0] = B;
        ASSERT_EQ(decoded->SelectActiveFrame(FrameDimensionTime, 2), Ok);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), third);
        ASSERT_EQ(decoded->SelectActiveFrame(FrameDimensionTime, 1), Ok);
        EXPECT_EQ(PixelsOf(AsBitmap(*decoded)), c.second);
    }
}

}  // namespace
}  // namespace gdiplus::codecs
