// Files that are broken, truncated or lie about their size are refused
// without a crash (this binary also runs under ASan and UBSan).
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "plugins/mvimgplug/mvimgplug.h"
#include "plugins/mvimgplug/testing/plugin_test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/allocator_interface.h>
#endif

namespace mvimgplug::testing {
namespace {

std::string Le16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(static_cast<uint16_t>(v)) + Le16(static_cast<uint16_t>(v >> 16)); }
std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A JPEG of the test picture with an APP1 EXIF segment of the given TIFF bytes.
std::string JpegWithExif(const ScratchFolder& scratch, const std::string& tiff) {
    const std::string plain = scratch.file("plain.jpg");
    Bitmap picture(NewTestBitmap24(8, 8));
    MVIMGPLUG_SaveU(kJpeg, picture.get(), U16(plain).c_str(), 90);
    const std::string jpeg = FileBytes(plain);
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    const size_t length = body.size() + 2;
    const std::string app1 =
        std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + body;
    return jpeg.substr(0, 2) + app1 + jpeg.substr(2);
}

// An IFD of one entry at offset 8 of the TIFF bytes.
std::string OneEntryTiff(uint16_t tag, uint16_t type, uint32_t count, uint32_t value, uint32_t next = 0) {
    return std::string("II*\0", 4) + Le32(8) + Le16(1) + Le16(tag) + Le16(type) + Le32(count) + Le32(value) +
           Le32(next);
}

// The JPEG with its frame header claiming no components.
std::string WithoutComponents(std::string jpeg) {
    const size_t frame = jpeg.find("\xFF\xC0");
    if (frame != std::string::npos && frame + 9 < jpeg.size()) jpeg[frame + 9] = 0;
    return jpeg;
}

struct Broken {
    const char* name;
    int32_t format;
    std::string bytes;
};

std::vector<Broken> BrokenFiles(const ScratchFolder& scratch, const std::string& goodTga, const std::string& goodTif,
                                const std::string& goodJ2k) {
    return {
        {"exif-first-ifd-at-zero.jpg", kJpeg, JpegWithExif(scratch, std::string("II*\0\0\0\0\0", 8))},
        {"exif-value-outside.jpg", kJpeg, JpegWithExif(scratch, OneEntryTiff(0x010F, 2, 4000, 0x7FFF0000))},
        {"exif-ifd-loop.jpg", kJpeg, JpegWithExif(scratch, OneEntryTiff(0x0128, 3, 1, 2, 8))},
        {"exif-sub-ifd-outside.jpg", kJpeg, JpegWithExif(scratch, OneEntryTiff(0x8769, 4, 1, 0xFFFFFF00))},
        {"exif-unknown-type.jpg", kJpeg, JpegWithExif(scratch, OneEntryTiff(0x010F, 99, 1, 0))},
        // Bytes between the start of the image and the next marker, which the
        // decoder skips: the EXIF behind them is checked all the same.
        {"exif-after-stray-bytes.jpg", kJpeg,
         [&] {
             const std::string jpeg = JpegWithExif(scratch, OneEntryTiff(0x010F, 2, 4000, 0x7FFF0000));
             return jpeg.substr(0, 2) + "&'()*56789" + jpeg.substr(2);
         }()},
        {"exif-too-many-entries.jpg", kJpeg,
         JpegWithExif(scratch, std::string("II*\0", 4) + Le32(8) + Le16(0xFFFF) + std::string(20, '\0'))},
        {"targa-huge.tga", kTarga,
         std::string("\0\0\x02\0\0\0\0\0\0\0\0\0", 12) + Le16(65535) + Le16(65535) + std::string("\x18\0", 2) +
             std::string(30, '\0')},
        {"targa-truncated.tga", kTarga, goodTga.substr(0, goodTga.size() / 3)},
        {"targa-header-only.tga", kTarga, goodTga.substr(0, 10)},
        {"ppm-huge.ppm", kPpmRaw, "P6\n60000 60000\n255\n" + std::string(30, '\0')},
        {"ppm-negative.ppm", kPpmRaw, "P6\n-5 -5\n255\n" + std::string(30, '\0')},
        {"pgm-text-garbage.pgm", kPgm, "P2\n4 4\n255\n1 2 x y z\n"},
        {"wbmp-huge.wbmp", kWbmp, std::string("\0\0\x8F\xFF\xFF\x7F\x8F\xFF\xFF\x7F", 10) + std::string(8, '\0')},
        {"tiff-truncated.tif", kTiff, goodTif.substr(0, goodTif.size() / 2)},
        {"tiff-huge.tif", kTiff,
         std::string("II*\0", 4) + Le32(8) + Le16(4) + Le16(256) + Le16(4) + Le32(1) + Le32(0x7FFFFFFF) + Le16(257) +
             Le16(4) + Le32(1) + Le32(0x7FFFFFFF) + Le16(258) + Le16(3) + Le32(1) + Le32(8) + Le16(273) + Le16(4) +
             Le32(1) + Le32(8) + Le32(0)},
        {"j2k-truncated.j2k", kJ2k, goodJ2k.substr(0, goodJ2k.size() / 2)},
        {"j2k-huge.j2k", kJ2k,
         std::string("\xFF\x4F\xFF\x51\0\x29\0\0", 8) + Be32(0x7FFFFFFF) + Be32(0x7FFFFFFF) + Be32(0) + Be32(0) +
             std::string(30, '\0')},
        {"jp2-huge.jp2", kJp2,
         Be32(12) + "jP  " + Be32(0x0D0A870A) + Be32(45) + "jp2h" + Be32(22) + "ihdr" + Be32(0x7FFFFFFF) +
             Be32(0x7FFFFFFF) + std::string("\0\x03\x07\x07\0\0", 6)},
        {"ico-garbage.ico", kIco, std::string("\0\0\x01\0\x01\0", 6) + std::string("\xFF\xFF\0\0\x01\0\x20\0", 8) +
                                      Le32(0x7FFFFFFF) + Le32(22)},
        {"xpm-garbage.xpm", kXpm, "/* XPM */\nstatic char *x[] = {\n\"99999 99999 2 1\",\n\"a c #000\",\n"},
        {"exr-garbage.exr", kExr, std::string("\x76\x2f\x31\x01\x02\0\0\0", 8) + "channels\0chlist\0" + Le32(9999)},
        {"empty.tga", kTarga, ""},
        {"jpeg-no-components.jpg", kJpeg, WithoutComponents(JpegWithExif(scratch, OneEntryTiff(0x0128, 3, 1, 2)))},
    };
}

TEST(MalformedFiles, AreRefusedWithoutACrash) {
    ScratchFolder scratch;
    Bitmap picture(NewTestBitmap24(64, 48));
    for (const auto& [format, name] : {std::pair{kTarga, "good.tga"}, {kTiff, "good.tif"}, {kJ2k, "good.j2k"}}) {
        ASSERT_EQ(MVIMGPLUG_SaveU(format, picture.get(), U16(scratch.file(name)).c_str(), 0), 1);
    }
    for (const Broken& file : BrokenFiles(scratch, FileBytes(scratch.file("good.tga")),
                                          FileBytes(scratch.file("good.tif")), FileBytes(scratch.file("good.j2k")))) {
        SCOPED_TRACE(file.name);
        const std::string path = scratch.write(file.name, file.bytes);
        MVIMGPLUG_GetFileTypeU(U16(path).c_str(), 0);
        Bitmap loaded(MVIMGPLUG_LoadU(file.format, U16(path).c_str(), 0));
        // A truncated file may still give the rows that were there; a picture
        // that lies about its size never does.
        if (loaded) {
            EXPECT_LE(uint64_t{MVIMGPLUG_GetWidth(loaded.get())} * MVIMGPLUG_GetHeight(loaded.get()), 64u * 48u);
            EXPECT_NE(MVIMGPLUG_GetBits(loaded.get()), nullptr);
        }
        const MvimgplugHandle opened = MVIMGPLUG_OpenFileU(U16(path).c_str());
        const MvimgplugHandle multi = MVIMGPLUG_OpenMultiBitmapU(kTiff, 0, opened);
        const MvimgplugHandle page = MVIMGPLUG_LockPage(multi, 0);
        MVIMGPLUG_UnlockPage(multi, page, 0);
        MVIMGPLUG_CloseMultiBitmap(multi, 0);
        MVIMGPLUG_CloseFileHandle(opened);
    }
}

#if defined(__SANITIZE_ADDRESS__)
// The largest block allocated while `gCounting` is on, seen through the
// sanitizer's allocator, which serves every library in the process.
std::atomic<bool> gCounting{false};
std::atomic<size_t> gLargest{0};
void NoteAllocation(const volatile void*, size_t size) {
    if (!gCounting) return;
    size_t seen = gLargest.load();
    while (size > seen && !gLargest.compare_exchange_weak(seen, size)) {
    }
}
void NoteRelease(const volatile void*) {}
#endif

// A Targa header cut off before its depth, whose size fields claim 6168 x
// 15640 pixels: the library read the missing fields from whatever lay in its
// memory and could allocate hundreds of megabytes for the bitmap claimed
// before failing.
TEST(MalformedFiles, AHeaderCutShortIsRefusedBeforeTheLibraryAllocatesWhatItClaims) {
#if !defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "allocations are counted through the address sanitizer's allocator";
#else
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteRelease) != 0;
    ASSERT_TRUE(installed);
    ScratchFolder scratch;
    const std::string path = scratch.write(
        "cut-header.tga", std::string("\x08\x00\x18\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x1D\x18\x18\x18\x18\x3D", 16));
    gLargest = 0;
    gCounting = true;
    const MvimgplugHandle loaded = MVIMGPLUG_LoadU(kTarga, U16(path).c_str(), 0);
    gCounting = false;
    EXPECT_EQ(loaded, 0);
    EXPECT_LT(gLargest.load(), size_t{1} << 20) << "largest block allocated for a 16-byte file";
#endif
}

// A field whose value lies outside the EXIF block is left out; the pixels and
// the sound fields beside it are read, wherever the block lies (also behind
// stray bytes, which the decoder skips).
TEST(MalformedFiles, AnExifFieldOutsideItsBlockIsLeftOutAndTheRestKept) {
    ScratchFolder scratch;
    const std::string tiff = std::string("II*\0", 4) + Le32(8) + Le16(2) + Le16(0x010F) + Le16(2) + Le32(4000) +
                             Le32(0x7FFF0000) + Le16(0x0128) + Le16(3) + Le32(1) + Le32(2) + Le32(0);
    const std::string jpeg = JpegWithExif(scratch, tiff);
    for (const std::string& bytes : {jpeg, jpeg.substr(0, 2) + "&'()*56789" + jpeg.substr(2),
                                     jpeg.substr(0, 2) + std::string("\xFF\xFF\xFF", 3) + jpeg.substr(2)}) {
        const std::string path = scratch.write("bad-exif.jpg", bytes);
        Bitmap loaded(MVIMGPLUG_LoadU(kJpeg, U16(path).c_str(), 0));
        ASSERT_TRUE(loaded);
        EXPECT_EQ(MVIMGPLUG_GetWidth(loaded.get()), 8u);
        MvimgplugHandle tag = 0;
        const MvimgplugHandle search = MVIMGPLUG_FindFirstMetadata(1, loaded.get(), &tag);
        MvimgplugTagRecord record;
        ASSERT_EQ(MVIMGPLUG_GetTagRecord(tag, &record), 1);
        EXPECT_EQ(record.id, 0x0128);
        EXPECT_EQ(MVIMGPLUG_FindNextMetadata(search, &tag), 0);
        MVIMGPLUG_FindCloseMetadata(search);
    }
}

TEST(MalformedFiles, ASoundExifBlockStillLoads) {
    ScratchFolder scratch;
    const std::string path = scratch.write("sound.jpg", JpegWithExif(scratch, OneEntryTiff(0x0128, 3, 1, 2)));
    Bitmap loaded(MVIMGPLUG_LoadU(kJpeg, U16(path).c_str(), 0));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(MVIMGPLUG_GetMetadataCount(1, loaded.get()), 1u);
}

}  // namespace
}  // namespace mvimgplug::testing
