// Metadata searches over a JPEG whose EXIF block the test writes byte by
// byte, and tags made and stored through the plug-in.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

namespace mvimgplug::testing {
namespace {

constexpr int32_t kExifMain = 1;
constexpr int32_t kExifSub = 2;
constexpr int32_t kGps = 3;

// Little-endian TIFF structure of an EXIF block.
class ExifBuilder {
public:
    struct Entry {
        uint16_t tag;
        uint16_t type;
        uint32_t count;
        std::string value;  // the value's bytes
    };

    // An APP1 segment: IFD0 with `main`, and an EXIF sub-IFD with `sub`.
    static std::string App1(const std::vector<Entry>& main, const std::vector<Entry>& sub) {
        std::string tiff("II*\0\x08\0\0\0", 8);
        std::vector<Entry> ifd0 = main;
        ifd0.push_back({0x8769, 4, 1, Long(0)});  // offset of the sub-IFD, set below
        const size_t ifd0Size = 2 + 12 * ifd0.size() + 4;
        const size_t subStart = 8 + ifd0Size + DataSize(ifd0);
        ifd0.back().value = Long(static_cast<uint32_t>(subStart));
        tiff += Ifd(ifd0, 8);
        tiff += Ifd(sub, subStart);
        std::string body = std::string("Exif\0\0", 6) + tiff;
        const size_t length = body.size() + 2;
        return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + body;
    }

    static std::string Long(uint32_t v) {
        return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    }
    static std::string Short(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8), '\0', '\0'}; }
    static std::string Rational(uint32_t n, uint32_t d) { return Long(n) + Long(d); }

private:
    static size_t DataSize(const std::vector<Entry>& entries) {
        size_t size = 0;
        for (const Entry& e : entries) size += e.value.size() > 4 ? e.value.size() : 0;
        return size;
    }

    // The IFD at `start` (from the TIFF header), its long values right after it.
    static std::string Ifd(const std::vector<Entry>& entries, size_t start) {
        std::string out = Short(static_cast<uint16_t>(entries.size())).substr(0, 2);
        std::string data;
        size_t dataStart = start + 2 + 12 * entries.size() + 4;
        for (const Entry& e : entries) {
            out += Short(e.tag).substr(0, 2) + Short(e.type).substr(0, 2) + Long(e.count);
            if (e.value.size() <= 4) {
                out += e.value + std::string(4 - e.value.size(), '\0');
            } else {
                out += Long(static_cast<uint32_t>(dataStart + data.size()));
                data += e.value;
            }
        }
        return out + Long(0) + data;
    }
};

// A JPEG of the test picture carrying Make "Ostrelle", resolution 300 x 200
// dpi and, in the EXIF sub-IFD, the date the picture was taken.
std::string WriteJpegWithExif(const ScratchFolder& scratch) {
    const std::string plain = scratch.file("plain.jpg");
    Bitmap picture(NewTestBitmap24(16, 16));
    EXPECT_EQ(MVIMGPLUG_SaveU(kJpeg, picture.get(), U16(plain).c_str(), 90), 1);
    const std::string jpeg = FileBytes(plain);
    const std::string app1 = ExifBuilder::App1(
        {
            {0x010F, 2, 9, std::string("Ostrelle\0", 9)},
            {0x011A, 5, 1, ExifBuilder::Rational(300, 1)},
            {0x011B, 5, 1, ExifBuilder::Rational(200, 1)},
            {0x0128, 3, 1, ExifBuilder::Short(2).substr(0, 2)},
        },
        {{0x9003, 2, 20, std::string("2024:01:02 03:04:05\0", 20)}});
    return scratch.write("exif.jpg", jpeg.substr(0, 2) + app1 + jpeg.substr(2));
}

TEST(Metadata, ASearchFindsTheExifTagsOfAJpeg) {
    ScratchFolder scratch;
    Bitmap jpeg(MVIMGPLUG_LoadU(kJpeg, U16(WriteJpegWithExif(scratch)).c_str(), 0));
    ASSERT_TRUE(jpeg);

    const auto main = SearchAll(kExifMain, jpeg.get());
    EXPECT_EQ(MVIMGPLUG_GetMetadataCount(kExifMain, jpeg.get()), main.size());
    ASSERT_TRUE(main.contains(0x010F));
    EXPECT_EQ(main.at(0x010F).key, "Make");
    EXPECT_EQ(main.at(0x010F).value, std::string("Ostrelle\0", 9));
    ASSERT_TRUE(main.contains(0x011A));
    EXPECT_EQ(main.at(0x011A).type, 5);
    EXPECT_EQ(main.at(0x011A).count, 1u);
    EXPECT_EQ(main.at(0x011A).value, ExifBuilder::Rational(300, 1));
    EXPECT_EQ(main.at(0x011B).value, ExifBuilder::Rational(200, 1));

    const auto sub = SearchAll(kExifSub, jpeg.get());
    ASSERT_TRUE(sub.contains(0x9003));
    EXPECT_EQ(sub.at(0x9003).value, std::string("2024:01:02 03:04:05\0", 20));

    EXPECT_EQ(MVIMGPLUG_GetMetadataCount(kGps, jpeg.get()), 0u);
    MvimgplugHandle tag = 7;
    EXPECT_EQ(MVIMGPLUG_FindFirstMetadata(kGps, jpeg.get(), &tag), 0u);
    EXPECT_EQ(tag, 0u);
}

TEST(Metadata, FoundTagsEndWithTheirSearchAndSearchesWithTheirBitmap) {
    ScratchFolder scratch;
    MvimgplugHandle jpeg = MVIMGPLUG_LoadU(kJpeg, U16(WriteJpegWithExif(scratch)).c_str(), 0);
    MvimgplugHandle tag = 0;
    const MvimgplugHandle search = MVIMGPLUG_FindFirstMetadata(kExifMain, jpeg, &tag);
    ASSERT_NE(search, 0u);
    ASSERT_NE(tag, 0u);
    // A found tag is part of the bitmap's metadata and is not changed or deleted through its handle.
    EXPECT_EQ(MVIMGPLUG_SetTagID(tag, 1), 0);
    MVIMGPLUG_DeleteTag(tag);
    MvimgplugTagRecord record;
    EXPECT_EQ(MVIMGPLUG_GetTagRecord(tag, &record), 1);

    MVIMGPLUG_Unload(jpeg);
    EXPECT_EQ(MVIMGPLUG_GetTagRecord(tag, &record), 0);
    EXPECT_EQ(MVIMGPLUG_FindNextMetadata(search, &tag), 0);
    EXPECT_EQ(tag, 0u);
    MVIMGPLUG_FindCloseMetadata(search);
}

TEST(Metadata, AMadeTagIsStoredAsACopy) {
    Bitmap picture(NewTestBitmap24(4, 4));
    const MvimgplugHandle tag = MVIMGPLUG_CreateTag();
    ASSERT_NE(tag, 0u);
    const char artist[] = "Maker";
    EXPECT_EQ(MVIMGPLUG_SetTagKey(tag, "Artist"), 1);
    EXPECT_EQ(MVIMGPLUG_SetTagLength(tag, sizeof artist), 1);
    EXPECT_EQ(MVIMGPLUG_SetTagCount(tag, sizeof artist), 1);
    EXPECT_EQ(MVIMGPLUG_SetTagType(tag, 2), 1);
    EXPECT_EQ(MVIMGPLUG_SetTagID(tag, 0x013B), 1);
    EXPECT_EQ(MVIMGPLUG_SetTagValue(tag, artist), 1);
    // The value was checked against length, count and type, which stay.
    EXPECT_EQ(MVIMGPLUG_SetTagLength(tag, 100), 0);
    EXPECT_EQ(MVIMGPLUG_SetTagLength(tag, sizeof artist), 1);
    EXPECT_EQ(MVIMGPLUG_SetMetadata(kExifSub, picture.get(), "Artist", tag), 1);
    MVIMGPLUG_DeleteTag(tag);
    EXPECT_EQ(MVIMGPLUG_GetTagKey(tag), nullptr);

    const auto stored = SearchAll(kExifSub, picture.get());
    ASSERT_TRUE(stored.contains(0x013B));
    EXPECT_EQ(stored.at(0x013B).key, "Artist");
    EXPECT_EQ(stored.at(0x013B).value, std::string(artist, sizeof artist));
}

TEST(Metadata, ATagWhoseValueDisagreesWithItsShapeIsRefused) {
    Bitmap picture(NewTestBitmap24(4, 4));
    const MvimgplugHandle tag = MVIMGPLUG_CreateTag();
    MVIMGPLUG_SetTagKey(tag, "XResolution");
    MVIMGPLUG_SetTagType(tag, 5);  // RATIONAL: 8 bytes each
    MVIMGPLUG_SetTagCount(tag, 1);
    MVIMGPLUG_SetTagLength(tag, 4);
    const std::string value = ExifBuilder::Rational(300, 1);
    EXPECT_EQ(MVIMGPLUG_SetTagValue(tag, value.data()), 0);
    EXPECT_EQ(MVIMGPLUG_SetTagValue(tag, nullptr), 0);
    // Reused with the right length, the same tag is taken.
    EXPECT_EQ(MVIMGPLUG_SetTagLength(tag, 8), 1);
    EXPECT_EQ(MVIMGPLUG_SetTagValue(tag, value.data()), 1);
    EXPECT_EQ(MVIMGPLUG_SetMetadata(kExifMain, picture.get(), nullptr, tag), 0);
    EXPECT_EQ(MVIMGPLUG_SetMetadata(kExifMain, picture.get(), "XResolution", 0), 0);
    MVIMGPLUG_DeleteTag(tag);
}

TEST(Metadata, StoringOverAFoundTagKeepsEverythingSound) {
    ScratchFolder scratch;
    Bitmap jpeg(MVIMGPLUG_LoadU(kJpeg, U16(WriteJpegWithExif(scratch)).c_str(), 0));
    MvimgplugHandle tag = 0;
    const MvimgplugHandle search = MVIMGPLUG_FindFirstMetadata(kExifMain, jpeg.get(), &tag);
    ASSERT_NE(tag, 0u);
    MvimgplugTagRecord record;
    ASSERT_EQ(MVIMGPLUG_GetTagRecord(tag, &record), 1);
    const std::string key = record.key;
    // Storing a found tag under its own key replaces the very tag it was found as.
    EXPECT_EQ(MVIMGPLUG_SetMetadata(kExifMain, jpeg.get(), key.c_str(), tag), 1);
    EXPECT_EQ(MVIMGPLUG_GetTagRecord(tag, &record), 0);
    MVIMGPLUG_FindCloseMetadata(search);
    EXPECT_TRUE(SearchAll(kExifMain, jpeg.get()).size() >= 4);
}

// A two-page big-endian TIFF: the first page with its maker, an IPTC block
// and an XMP packet, the second with a maker of its own.
std::string WriteTaggedTiff(const ScratchFolder& scratch, const std::string& iim, const std::string& packet) {
    const std::string path = scratch.file("tagged.tif");
    TIFF* tiff = TIFFOpen(path.c_str(), "wb");
    EXPECT_NE(tiff, nullptr);
    for (const char* make : {"First", "Second"}) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 4);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 2);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tiff, TIFFTAG_MAKE, make);
        if (std::string(make) == "First") {
            TIFFSetField(tiff, TIFFTAG_RICHTIFFIPTC, static_cast<uint32_t>(iim.size()), iim.data());
            TIFFSetField(tiff, TIFFTAG_XMLPACKET, static_cast<uint32_t>(packet.size()), packet.data());
        }
        const uint8_t row[4] = {0, 80, 160, 240};
        for (uint32_t y = 0; y < 2; ++y) TIFFWriteScanline(tiff, const_cast<uint8_t*>(row), y, 0);
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    return path;
}

TEST(Metadata, TiffPagesGiveTheirOwnTagsIptcAndXmp) {
    ScratchFolder scratch;
    const std::string caption = "Receipt 17";
    const std::string iim = std::string("\x1C\x02\x78\0", 4) + static_cast<char>(caption.size()) + caption;
    const std::string packet = "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>";
    const std::string path = WriteTaggedTiff(scratch, iim, packet);

    Bitmap first(MVIMGPLUG_LoadU(kTiff, U16(path).c_str(), 0));
    ASSERT_TRUE(first);
    const auto main = SearchAll(kExifMain, first.get());
    ASSERT_TRUE(main.contains(0x010F));
    EXPECT_EQ(main.at(0x010F).key, "Make");
    EXPECT_EQ(main.at(0x010F).value, std::string("First\0", 6));
    // How the file stores its pixels is not the picture's metadata.
    for (uint16_t structure : {0x0100, 0x0111, 0x0117, 0x83BB, 0x02BC}) EXPECT_FALSE(main.contains(structure));
    const auto iptc = SearchAll(6, first.get());
    ASSERT_TRUE(iptc.contains(0x0278));
    EXPECT_EQ(iptc.at(0x0278).key, "Caption-Abstract");
    EXPECT_EQ(iptc.at(0x0278).value, caption);
    const auto xmp = SearchAll(7, first.get());
    ASSERT_TRUE(xmp.contains(700));
    EXPECT_EQ(xmp.at(700).value, packet);

    const MvimgplugHandle file = MVIMGPLUG_OpenFileU(U16(path).c_str());
    const MvimgplugHandle multi = MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, file);
    const MvimgplugHandle second = MVIMGPLUG_LockPage(multi, 1);
    ASSERT_NE(second, 0u);
    const auto secondMain = SearchAll(kExifMain, second);
    ASSERT_TRUE(secondMain.contains(0x010F));
    EXPECT_EQ(secondMain.at(0x010F).value, std::string("Second\0", 7));
    EXPECT_EQ(MVIMGPLUG_GetMetadataCount(6, second), 0u);
    MVIMGPLUG_UnlockPage(multi, second, 0);
    MVIMGPLUG_CloseMultiBitmap(multi, 0);
    MVIMGPLUG_CloseFileHandle(file);
}

}  // namespace
}  // namespace mvimgplug::testing
