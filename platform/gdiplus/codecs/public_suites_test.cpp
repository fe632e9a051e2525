// The image suites that image libraries test themselves with, as Debian ships
// them (the PNG suite and the PNG, GIF and JPEG variants of the Go sources in
// golang-1.19-src; BMP and TIFF variants of golang-golang-x-image-dev): every
// file is decoded, and its first frame compared pixel by pixel, as 8-bit
// RGBA, with what ImageMagick makes of it. The damaged files among them are
// refused with a status. This binary also runs under ASan and UBSan.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/codecs/icon_test_files.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;
namespace fs = std::filesystem;

const char* const kSuiteFolders[] = {
    "/usr/share/go-1.19/src/image/png/testdata/pngsuite",
    "/usr/share/go-1.19/src/image/png/testdata",
    "/usr/share/go-1.19/src/image/testdata",
    "/usr/share/gocode/src/golang.org/x/image/testdata",
};

const char* const kReference = "/usr/bin/convert";

// Files whose pixels are known to differ from the reference, and why. Each
// is still decoded (no crash, no refusal).
const std::map<std::string, std::string> kKnownDifferences = {
    // The file is cut inside the scan: the reference greys out what is
    // missing, ours keeps the rows decoded so far and leaves the rest black.
    {"video-001.progressive.truncated.jpeg", "truncated scan filled differently"},
    // The fourth byte of a 32-bit BMP without bit fields is unused by the
    // format (and by the platform's decoder); the reference takes it as alpha.
    {"yellow_rose-small.bmp", "unused fourth byte read as alpha by the reference"},
};

// Damaged files: each must be refused with a status.
bool IsDamaged(const std::string& name) { return name.rfind("invalid-", 0) == 0; }

std::vector<fs::path> SuiteFiles() {
    std::vector<fs::path> files;
    for (const char* folder : kSuiteFolders) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() &&
                (extension == ".png" || extension == ".gif" || extension == ".jpeg" || extension == ".bmp" ||
                 extension == ".tiff")) {
                files.push_back(entry.path());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A PNG without its gAMA chunks. The reference brings a file with a gamma
// other than sRGB's to sRGB on reading; ours, like the platform it stands in
// for and like libvips, hands out the stored samples.
std::vector<std::uint8_t> WithoutGamma(const std::vector<std::uint8_t>& png) {
    const ByteView view(png, true);
    std::vector<std::uint8_t> out(png.begin(), png.begin() + std::min<std::size_t>(8, png.size()));
    std::uint64_t at = 8;
    std::uint32_t length = 0, type = 0;
    while (view.U32(at, length) && view.U32(at + 4, type) && view.Has(at, std::uint64_t{length} + 12)) {
        if (type != 0x67414D41) out.insert(out.end(), png.begin() + at, png.begin() + at + length + 12);  // gAMA
        at += std::uint64_t{length} + 12;
    }
    return out;
}

// The reference's 8-bit RGBA of the first frame; empty when it cannot read the file.
std::vector<std::uint8_t> ReferenceRgba(const fs::path& path, const fs::path& scratch) {
    fs::path input = path;
    if (path.extension() == ".png") {
        const std::vector<std::uint8_t> plain = WithoutGamma(FileBytes(path));
        input = scratch / "reference.png";
        std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(plain.data()),
                                                     static_cast<std::streamsize>(plain.size()));
    }
    return icon_test_files::ImageMagickRgba(input);
}

// Largest difference of any channel; colour under full transparency is not compared.
int WorstDifference(const PixelBuffer& ours, const std::vector<std::uint8_t>& rgba) {
    int worst = 0;
    for (std::uint32_t y = 0; y < ours.height; ++y) {
        const std::uint8_t* row = ours.Row(y);
        for (std::uint32_t x = 0; x < ours.width; ++x) {
            const std::uint8_t* b = row + 4 * x;  // B, G, R, A
            const std::uint8_t* r = &rgba[(std::size_t{y} * ours.width + x) * 4];
            int d = std::abs(b[3] - r[3]);
            if (b[3] != 0 || r[3] != 0) {
                d = std::max({d, std::abs(b[2] - r[0]), std::abs(b[1] - r[1]), std::abs(b[0] - r[2])});
            }
            worst = std::max(worst, d);
        }
    }
    return worst;
}

// What a 16-bit channel loses on its way to 8 bits may round either way.
int Tolerance(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.find("16") != std::string::npos ? 1 : 0;
}

class PublicSuites : public CodecTest {};

TEST_F(PublicSuites, EveryFileDecodesAsTheReferenceReadsItOrIsRefused) {
    const std::vector<fs::path> files = SuiteFiles();
    if (files.empty()) GTEST_SKIP() << "the suites are not installed (scripts/setup installs golang-1.19-src and "
                                       "golang-golang-x-image-dev)";
    if (!fs::exists(kReference)) GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/setup)";
    ScratchFolder scratch;
    int matched = 0, known = 0, refused = 0, damagedButRead = 0;
    for (const fs::path& path : files) {
        const std::string name = path.filename().string();
        SCOPED_TRACE(path.string());
        std::unique_ptr<Image> image;
        const Status status = Decode(FileBytes(path), image);
        if (IsDamaged(name)) {
            // Refused with a status, or read as far as it goes; never a crash.
            if (status != Ok) {
                EXPECT_FALSE(image);
                ++refused;
            } else {
                ++damagedButRead;
            }
            continue;
        }
        ASSERT_EQ(status, Ok);
        PixelBuffer ours;
        ASSERT_EQ(ReadPixels(*image, PixelFormat32bppARGB, ours), Ok);
        const std::vector<std::uint8_t> reference = ReferenceRgba(path, scratch.path());
        ASSERT_EQ(reference.size(), std::size_t{ours.width} * ours.height * 4) << "size differs from the reference";
        const int worst = WorstDifference(ours, reference);
        if (kKnownDifferences.count(name) != 0) {
            ++known;
            continue;
        }
        EXPECT_LE(worst, Tolerance(path));
        if (worst <= Tolerance(path)) ++matched;
    }
    std::printf("public suites: %zu files, %d matched, %d differ as known, %d damaged and refused, %d damaged but "
                "read\n",
                files.size(), matched, known, refused, damagedButRead);
}

}  // namespace
}  // namespace gdiplus::codecs
