// JPEG files written here with libjpeg, read through the plug-in and compared
// with what libjpeg itself decodes with the accurate transform and smooth
// upsampling; their metadata segments are laid out byte by byte.
#include <gtest/gtest.h>

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

constexpr uint32_t kWidth = 64, kHeight = 48;

struct Segment {
    int marker;
    std::string data;
};

struct Encoding {
    J_COLOR_SPACE space = JCS_RGB;
    int components = 3;
    bool adobeMarker = true;
    UINT8 densityUnit = 0;
    UINT16 density = 1;
    std::vector<Segment> segments;
};

// A JPEG of `pixels` (components bytes a pixel, rows top first).
std::string Encode(const std::vector<uint8_t>& pixels, const Encoding& e) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = e.components;
    info.in_color_space = e.space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    info.write_Adobe_marker = e.adobeMarker ? TRUE : FALSE;
    info.density_unit = e.densityUnit;
    info.X_density = info.Y_density = e.density;
    jpeg_start_compress(&info, TRUE);
    for (const Segment& s : e.segments) {
        jpeg_write_marker(&info, s.marker, reinterpret_cast<const JOCTET*>(s.data.data()),
                          static_cast<unsigned>(s.data.size()));
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(pixels.data()) + size_t{info.next_scanline} * kWidth * e.components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

// Busy enough that the transforms and the upsamplers disagree somewhere.
std::vector<uint8_t> Busy(int components) {
    std::vector<uint8_t> pixels(size_t{kWidth} * kHeight * components);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 37 + (i / 193) * 11) ^ (i >> 3));
    return pixels;
}

// What libjpeg decodes: B, G, R rows (or grey rows), top first.
std::vector<uint8_t> Reference(const std::string& bytes, J_DCT_METHOD method, bool fancy, bool grey) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    info.dct_method = method;
    info.do_fancy_upsampling = fancy ? TRUE : FALSE;
    jpeg_start_decompress(&info);
    const size_t rowBytes = size_t{info.output_width} * info.output_components;
    std::vector<uint8_t> pixels(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}

std::vector<uint8_t> AllRows(MvimgplugHandle bitmap) {
    std::vector<uint8_t> pixels;
    for (uint32_t y = 0; y < MVIMGPLUG_GetHeight(bitmap); ++y) {
        const std::vector<uint8_t> row = RowOf(bitmap, y);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    return pixels;
}

Bitmap Load(const ScratchFolder& scratch, const std::string& bytes) {
    return Bitmap(MVIMGPLUG_LoadU(kJpeg, U16(scratch.write("picture.jpg", bytes)).c_str(), 0));
}

TEST(JpegReader, ColourIsDecodedWithTheAccurateTransformAndSmoothUpsampling) {
    ScratchFolder scratch;
    const std::string jpeg = Encode(Busy(3), {});
    Bitmap loaded = Load(scratch, jpeg);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(MVIMGPLUG_GetBPP(loaded.get()), 24u);
    const std::vector<uint8_t> accurate = Reference(jpeg, JDCT_ISLOW, true, false);
    EXPECT_EQ(AllRows(loaded.get()), accurate);
    // The comparison tells the decoders apart.
    EXPECT_NE(Reference(jpeg, JDCT_IFAST, false, false), accurate);
}

TEST(JpegReader, GreyIsEightBitsWithAGreyPalette) {
    ScratchFolder scratch;
    const std::string jpeg = Encode(Busy(1), {.space = JCS_GRAYSCALE, .components = 1});
    Bitmap loaded = Load(scratch, jpeg);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(MVIMGPLUG_GetBPP(loaded.get()), 8u);
    const uint8_t* palette = MVIMGPLUG_GetPalette(loaded.get());
    ASSERT_NE(palette, nullptr);
    for (int i = 0; i < 256; i += 51) {
        EXPECT_EQ(palette[4 * i], i);
        EXPECT_EQ(palette[4 * i + 2], i);
    }
    EXPECT_EQ(AllRows(loaded.get()), Reference(jpeg, JDCT_ISLOW, true, true));
}

// Orange ink (no cyan, half magenta, full yellow, no black): stored inverted
// behind an Adobe marker, as amounts of ink without one.
TEST(JpegReader, CmykBecomesRgbWithOrWithoutTheAdobeInversion) {
    ScratchFolder scratch;
    for (const bool adobe : {true, false}) {
        SCOPED_TRACE(adobe ? "Adobe" : "plain");
        const uint8_t ink[4] = {0, 128, 255, 0};
        std::vector<uint8_t> pixels(size_t{kWidth} * kHeight * 4);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = adobe ? static_cast<uint8_t>(255 - ink[i % 4]) : ink[i % 4];
        Bitmap loaded = Load(scratch, Encode(pixels, {.space = JCS_CMYK, .components = 4, .adobeMarker = adobe}));
        ASSERT_TRUE(loaded);
        ASSERT_EQ(MVIMGPLUG_GetBPP(loaded.get()), 24u);
        const std::vector<uint8_t> row = RowOf(loaded.get(), kHeight / 2);
        EXPECT_NEAR(row[3 * 10 + 2], 255, 2);  // red
        EXPECT_NEAR(row[3 * 10 + 1], 127, 2);  // green
        EXPECT_NEAR(row[3 * 10 + 0], 0, 2);    // blue
    }
}

TEST(JpegReader, ResolutionComesFromTheJfifDensity) {
    ScratchFolder scratch;
    struct Case {
        UINT8 unit;
        UINT16 density;
        uint32_t dotsPerMetre;
    };
    for (const Case& c : {Case{1, 300, 11811}, Case{2, 100, 10000}}) {
        Bitmap loaded = Load(scratch, Encode(Busy(3), {.densityUnit = c.unit, .density = c.density}));
        ASSERT_TRUE(loaded);
        EXPECT_EQ(MVIMGPLUG_GetDotsPerMeterX(loaded.get()), c.dotsPerMetre);
        EXPECT_EQ(MVIMGPLUG_GetDotsPerMeterY(loaded.get()), c.dotsPerMetre);
    }
}

std::string Be16(uint16_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }
std::string Be32(uint32_t v) { return Be16(static_cast<uint16_t>(v >> 16)) + Be16(static_cast<uint16_t>(v)); }
std::string Dataset(uint8_t record, uint8_t set, const std::string& value) {
    return std::string("\x1C", 1) + static_cast<char>(record) + static_cast<char>(set) +
           Be16(static_cast<uint16_t>(value.size())) + value;
}
std::string Resource(uint16_t id, const std::string& data) {
    std::string r = "8BIM" + Be16(id) + std::string("\0\0", 2) + Be32(static_cast<uint32_t>(data.size())) + data;
    return data.size() % 2 ? r + '\0' : r;
}

TEST(JpegReader, IptcOfPhotoshopResourcesAndXmpAreRead) {
    ScratchFolder scratch;
    const std::string iptc = Dataset(1, 90, "\x1B%G") + Dataset(2, 0, std::string("\0\x04", 2)) +
                             Dataset(2, 25, "alpha") + Dataset(2, 120, "A caption") + Dataset(2, 25, "beta");
    // A resource of odd size with a name before the IPTC block: both padded.
    const std::string odd = "8BIM" + Be16(0x0425) + std::string("\x03" "abc", 4) + Be32(3) + "xyz" + '\0';
    const std::string app13 = std::string("Photoshop 3.0\0", 14) + odd + Resource(0x0404, iptc);
    const std::string packet = "<x:xmpmeta xmlns:x='adobe:ns:meta/'></x:xmpmeta>";
    const std::string app1 = std::string("http://ns.adobe.com/xap/1.0/\0", 29) + packet;
    Bitmap loaded = Load(scratch, Encode(Busy(3), {.segments = {{JPEG_APP0 + 13, app13}, {JPEG_APP0 + 1, app1}}}));
    ASSERT_TRUE(loaded);

    const auto found = SearchAll(6, loaded.get());
    EXPECT_EQ(found.size(), 3u);  // the envelope record's data set is not among them
    ASSERT_TRUE(found.contains(0x0200));
    EXPECT_EQ(found.at(0x0200).type, 8);
    EXPECT_EQ(found.at(0x0200).value, std::string("\x04\0", 2));
    ASSERT_TRUE(found.contains(0x0219));
    EXPECT_EQ(found.at(0x0219).key, "Keywords");
    EXPECT_EQ(found.at(0x0219).type, 2);
    EXPECT_EQ(found.at(0x0219).value, "alpha;beta");
    EXPECT_EQ(found.at(0x0219).count, 10u);
    ASSERT_TRUE(found.contains(0x0278));
    EXPECT_EQ(found.at(0x0278).key, "Caption-Abstract");
    EXPECT_EQ(found.at(0x0278).value, "A caption");

    const auto xmp = SearchAll(7, loaded.get());
    ASSERT_EQ(xmp.size(), 1u);
    EXPECT_EQ(xmp.begin()->second.key, "XMLPacket");
    EXPECT_EQ(xmp.begin()->second.value, packet);
}

// A big-endian EXIF block with a GPS sub-IFD: values come out little-endian,
// each directory in its own model.
TEST(JpegReader, BigEndianExifAndGpsComeOutLittleEndianInTheirModels) {
    ScratchFolder scratch;
    // IFD0 at 8: XResolution (rational at 38) and the GPS pointer (to 46).
    std::string tiff = "MM" + Be16(42) + Be32(8) + Be16(2) + Be16(0x011A) + Be16(5) + Be32(1) + Be32(38) +
                       Be16(0x8825) + Be16(4) + Be32(1) + Be32(46) + Be32(0) + Be32(300) + Be32(1);
    // The GPS IFD: GPSLatitudeRef "N".
    tiff += Be16(1) + Be16(0x0001) + Be16(2) + Be32(2) + std::string("N\0\0\0", 4) + Be32(0);
    const std::string app1 = std::string("Exif\0\0", 6) + tiff;
    Bitmap loaded = Load(scratch, Encode(Busy(3), {.segments = {{JPEG_APP0 + 1, app1}}}));
    ASSERT_TRUE(loaded);
    const auto main = SearchAll(1, loaded.get());
    ASSERT_TRUE(main.contains(0x011A));
    EXPECT_EQ(main.at(0x011A).key, "XResolution");
    EXPECT_EQ(main.at(0x011A).value, std::string("\x2C\x01\0\0\x01\0\0\0", 8));
    EXPECT_FALSE(main.contains(0x8825));
    const auto gps = SearchAll(3, loaded.get());
    ASSERT_TRUE(gps.contains(0x0001));
    EXPECT_EQ(gps.at(0x0001).key, "GPSLatitudeRef");
    EXPECT_EQ(gps.at(0x0001).value, std::string("N\0", 2));
}

// Lengths that run past their block end the reading there; what came before stays.
TEST(JpegReader, IptcThatRunsPastItsBlockKeepsWhatCameBefore) {
    ScratchFolder scratch;
    for (const std::string& tail : {std::string("\x1C\x02\x78\xFF\xF0", 5) + "short",
                                    std::string("\x1C\x02\x78\x80\x04\xFF\xFF\xFF\xFF", 9),
                                    std::string("\x1C\x02\x78\x80\x09", 5) + std::string(9, '\xFF')}) {
        const std::string iptc = Dataset(2, 5, "Name") + tail;
        const std::string resources = Resource(0x0404, iptc) + "8BIM" + Be16(0x0404) + std::string("\0\0", 2) +
                                      Be32(0xFFFFFFF0) + "x";
        const std::string app13 = std::string("Photoshop 3.0\0", 14) + resources;
        Bitmap loaded = Load(scratch, Encode(Busy(3), {.segments = {{JPEG_APP0 + 13, app13}}}));
        ASSERT_TRUE(loaded);
        const auto found = SearchAll(6, loaded.get());
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found.at(0x0205).value, "Name");
    }
}

TEST(JpegReader, TruncatedOrOversizedFilesAndFilesAboveTheCeilingAreRefused) {
    ScratchFolder scratch;
    const std::string jpeg = Encode(Busy(3), {});
    EXPECT_FALSE(Load(scratch, jpeg.substr(0, jpeg.size() / 2)));
    // The frame header claims 65535 x 65535 pixels in a file of a few kilobytes.
    std::string huge = jpeg;
    const size_t frame = huge.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    huge.replace(frame + 5, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_FALSE(Load(scratch, huge));

    MVIMGPLUG_SetMaxDecodedImageBytes(uint64_t{kWidth} * kHeight * 3 - 1);
    EXPECT_FALSE(Load(scratch, jpeg));
    MVIMGPLUG_SetMaxDecodedImageBytes(uint64_t{kWidth} * kHeight * 3);
    EXPECT_TRUE(Load(scratch, jpeg));
    MVIMGPLUG_SetMaxDecodedImageBytes(0);
    EXPECT_TRUE(Load(scratch, jpeg));
}

}  // namespace
}  // namespace mvimgplug::testing
