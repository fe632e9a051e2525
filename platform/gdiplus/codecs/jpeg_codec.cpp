#include "platform/gdiplus/codecs/jpeg_codec.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/jpeg_errors.h"
#include "platform/gdiplus/codecs/tiff_tags.h"

namespace gdiplus::codecs {
namespace {

constexpr char kExifHeader[] = "Exif\0\0";  // six bytes in front of the tag block
constexpr std::size_t kExifHeaderSize = 6;
constexpr std::size_t kMaxMarkerData = 65533;  // a marker's length field counts itself
// The encoder reads the page in bands of about this many bytes.
constexpr std::size_t kBandBytes = std::size_t{256} << 10;

float DpiFromDensity(int unit, unsigned density) {
    if (density == 0) return 0;
    return unit == 1 ? static_cast<float>(density) : unit == 2 ? static_cast<float>(density * 2.54) : 0;
}

// The resolution an EXIF block states: XResolution / YResolution with
// ResolutionUnit (inch unless it says centimetres).
bool ExifResolution(const std::vector<PropertyItem>& items, float& xdpi, float& ydpi) {
    auto rational = [&](PROPID id, double& value) {
        for (const auto& item : items) {
            if (item.id != id || item.type != PropertyTagTypeRational || item.length < 8) continue;
            ByteView v(item.value);
            std::uint32_t num = 0, den = 0;
            v.U32(0, num);
            v.U32(4, den);
            if (den == 0 || num == 0) return false;
            value = static_cast<double>(num) / den;
            return true;
        }
        return false;
    };
    double x = 0, y = 0;
    if (!rational(PropertyTagXResolution, x) || !rational(PropertyTagYResolution, y)) return false;
    double scale = 1;
    for (const auto& item : items) {
        if (item.id == PropertyTagResolutionUnit && item.type == PropertyTagTypeShort && item.length >= 2 &&
            item.value[0] == 3)
            scale = 2.54;
    }
    xdpi = static_cast<float>(x * scale);
    ydpi = static_cast<float>(y * scale);
    return std::isfinite(xdpi) && std::isfinite(ydpi);
}

class JpegReader {
public:
    explicit JpegReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        InstallErrors(errors_);
        info_.err = &errors_.manager;
    }
    ~JpegReader() {
        rows_.reset();
        if (created_) jpeg_destroy_decompress(&info_);
    }
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    Status Run(std::unique_ptr<Image>& image) {
        if (setjmp(errors_.jump)) return status_ != Ok ? status_ : InvalidParameter;
        Body();
        if (status_ != Ok) return status_;
        image = std::move(bitmap_);
        return Ok;
    }

private:
    void Fail(Status status) {
        status_ = status;
        std::longjmp(errors_.jump, 1);
    }

    void Body() {
        jpeg_create_decompress(&info_);
        created_ = true;
        jpeg_mem_src(&info_, bytes_.data(), static_cast<unsigned long>(bytes_.size()));
        jpeg_save_markers(&info_, JPEG_APP0 + 1, 0xFFFF);
        jpeg_read_header(&info_, TRUE);
        const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
        const bool grey = info_.jpeg_color_space == JCS_GRAYSCALE;
        info_.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
        const PixelFormat format = grey ? PixelFormat8bppIndexed : PixelFormat24bppRGB;
        // The accurate transform and smooth chroma upsampling, whatever the library's defaults.
        info_.dct_method = JDCT_ISLOW;
        info_.do_fancy_upsampling = TRUE;
        if (Status s = CheckDecodedSize(info_.image_width, info_.image_height, GetPixelFormatSize(format), bytes_.size());
            s != Ok)
            Fail(s);
        // Every scanline is written (or the image fails): no clearing first.
        if (Status s = NewFilledBitmap(info_.image_width, info_.image_height, format, bitmap_); s != Ok) Fail(s);
        if (grey) bitmap_->SetPalette(GreyPalette(256));
        ReadExif();
        SetResolution();

        jpeg_start_decompress(&info_);
        if (cmyk) cmykRow_.resize(std::size_t{info_.output_width} * 4);
        rows_ = std::make_unique<PixelRows>(*bitmap_);
        if (!rows_->ok()) Fail(GenericError);
        while (info_.output_scanline < info_.output_height) {
            const JDIMENSION y = info_.output_scanline;
            JSAMPROW row = cmyk ? cmykRow_.data() : rows_->Row(y);
            if (jpeg_read_scanlines(&info_, &row, 1) != 1 || errors_.truncated) Fail(InvalidParameter);
            if (cmyk) CmykToBgr(rows_->Row(y));
        }
        jpeg_finish_decompress(&info_);
        if (errors_.truncated) Fail(InvalidParameter);
        rows_.reset();
        bitmap_->SetRawFormat(ImageFormatJPEG);
    }

    void ReadExif() {
        for (jpeg_saved_marker_ptr m = info_.marker_list; m; m = m->next) {
            if (m->marker != JPEG_APP0 + 1 || m->data_length < kExifHeaderSize ||
                std::memcmp(m->data, kExifHeader, kExifHeaderSize) != 0)
                continue;
            items_.clear();
            const std::span<const std::uint8_t> block(m->data + kExifHeaderSize, m->data_length - kExifHeaderSize);
            if (ReadTiffTags(block, 0, items_) != Ok) continue;
            for (const auto& item : items_) bitmap_->SetPropertyItem(item);
            return;
        }
    }

    void SetResolution() {
        float x = 0, y = 0;
        if (info_.saw_JFIF_marker) {
            x = DpiFromDensity(info_.density_unit, info_.X_density);
            y = DpiFromDensity(info_.density_unit, info_.Y_density);
        }
        if ((x <= 0 || y <= 0) && !ExifResolution(items_, x, y)) x = y = 0;
        if (x > 0 && y > 0) bitmap_->SetResolution(x, y);
    }

    // Adobe writes CMYK inverted (0 is full ink), which is what files with
    // its marker hold; others hold plain ink amounts.
    void CmykToBgr(std::uint8_t* out) const {
        const bool inverted = info_.saw_Adobe_marker;
        for (JDIMENSION x = 0; x < info_.output_width; ++x) {
            const std::uint8_t* p = cmykRow_.data() + 4 * x;
            const unsigned c = inverted ? p[0] : 255 - p[0], m = inverted ? p[1] : 255 - p[1];
            const unsigned yv = inverted ? p[2] : 255 - p[2], k = inverted ? p[3] : 255 - p[3];
            out[3 * x + 0] = static_cast<std::uint8_t>((yv * k + 127) / 255);
            out[3 * x + 1] = static_cast<std::uint8_t>((m * k + 127) / 255);
            out[3 * x + 2] = static_cast<std::uint8_t>((c * k + 127) / 255);
        }
    }

    std::span<const std::uint8_t> bytes_;
    JpegErrors errors_;
    jpeg_decompress_struct info_{};
    bool created_ = false;
    Status status_ = Ok;
    std::unique_ptr<Bitmap> bitmap_;
    std::unique_ptr<PixelRows> rows_;
    std::vector<std::uint8_t> cmykRow_;
    std::vector<PropertyItem> items_;
};

// The EXIF block of the items that an image carries over, or nothing. A block
// too large for its marker loses its largest items first.
std::vector<std::uint8_t> ExifMarkerOf(const Image& image) {
    std::vector<PropertyItem> items;
    for (const auto& item : image.GetAllPropertyItems())
        if (!IsImageStructureTag(item.id)) items.push_back(item);
    while (true) {
        std::vector<std::uint8_t> block = WriteTiffTags(items);
        if (block.size() <= 8 + 6) return {};  // an empty IFD0: nothing to carry
        if (block.size() + kExifHeaderSize <= kMaxMarkerData) {
            block.insert(block.begin(), kExifHeader, kExifHeader + kExifHeaderSize);
            return block;
        }
        auto largest = std::max_element(items.begin(), items.end(),
                                        [](const auto& a, const auto& b) { return a.length < b.length; });
        items.erase(largest);
    }
}

// Whether every entry of a palette is an opaque grey (red, green and blue alike).
bool OnlyGreys(const ColorPalette& palette) {
    if (palette.Count == 0) return false;
    for (std::uint32_t i = 0; i < palette.Count; ++i) {
        const ARGB c = palette.Entries[i];
        if (AlphaOf(c) != 0xFF || RedOf(c) != GreenOf(c) || GreenOf(c) != BlueOf(c)) return false;
    }
    return true;
}

class JpegWriter {
public:
    JpegWriter() {
        InstallErrors(errors_);
        info_.err = &errors_.manager;
    }
    ~JpegWriter() {
        if (created_) jpeg_destroy_compress(&info_);
        std::free(buffer_);
    }
    JpegWriter(const JpegWriter&) = delete;
    JpegWriter& operator=(const JpegWriter&) = delete;

    Status Run(const Image& image, const EncoderParameters& parameters, std::vector<std::uint8_t>& bytes) {
        const PixelFormat format = image.GetPixelFormat();
        ColorPalette palette;
        image.GetPalette(palette);
        // Grey and black-and-white sources make a one-component JPEG: a third
        // of the data, and no colour cast where there was none.
        grey_ = format == PixelFormat16bppGrayScale || (IsIndexedPixelFormat(format) && OnlyGreys(palette));
        const bool greyRamp = format == PixelFormat8bppIndexed && IsGreyPalette(palette, 256);
        // Other grey sources are read as RGB and their blue sample taken.
        readAs_ = greyRamp ? format : PixelFormat24bppRGB;
        takeBlue_ = grey_ && readAs_ != format;
        image_ = &image;
        width_ = image.GetWidth();
        height_ = image.GetHeight();
        if (width_ == 0 || height_ == 0) return InvalidParameter;
        quality_ = JpegQualityOf(parameters);
        xdpi_ = image.GetHorizontalResolution();
        ydpi_ = image.GetVerticalResolution();
        exif_ = ExifMarkerOf(image);
        // The page is read a band at a time, not copied whole first.
        stride_ = (static_cast<std::size_t>(RowBytes(static_cast<std::int32_t>(width_), readAs_)) + 3) / 4 * 4;
        bandRows_ = static_cast<std::uint32_t>(std::clamp<std::size_t>(kBandBytes / stride_, 1, height_));
        band_.resize(stride_ * bandRows_);
        rowPointers_.resize(bandRows_);
        for (std::uint32_t i = 0; i < bandRows_; ++i) rowPointers_[i] = band_.data() + i * stride_;

        if (setjmp(errors_.jump)) return status_ != Ok ? status_ : GenericError;
        Body();
        bytes.assign(buffer_, buffer_ + size_);
        return Ok;
    }

private:
    static UINT16 Density(float dpi) { return static_cast<UINT16>(std::clamp(std::lround(dpi), 1L, 65535L)); }

    void Body() {
        jpeg_create_compress(&info_);
        created_ = true;
        jpeg_mem_dest(&info_, &buffer_, &size_);
        info_.image_width = width_;
        info_.image_height = height_;
        info_.input_components = grey_ ? 1 : 3;
        info_.in_color_space = grey_ ? JCS_GRAYSCALE : JCS_EXT_BGR;
        jpeg_set_defaults(&info_);
        jpeg_set_quality(&info_, quality_, TRUE);
        info_.write_JFIF_header = TRUE;
        if (xdpi_ > 0 && ydpi_ > 0) {
            info_.density_unit = 1;
            info_.X_density = Density(xdpi_);
            info_.Y_density = Density(ydpi_);
        }
        jpeg_start_compress(&info_, TRUE);
        if (!exif_.empty())
            jpeg_write_marker(&info_, JPEG_APP0 + 1, exif_.data(), static_cast<unsigned>(exif_.size()));
        while (info_.next_scanline < info_.image_height) {
            const std::uint32_t y = info_.next_scanline;
            const std::uint32_t rows = std::min(bandRows_, height_ - y);
            ReadBand(y, rows);
            for (std::uint32_t done = 0; done < rows;)
                done += jpeg_write_scanlines(&info_, rowPointers_.data() + done, rows - done);
        }
        jpeg_finish_compress(&info_);
    }

    // Rows [y, y + rows) into the band, as the encoder takes them.
    void ReadBand(std::uint32_t y, std::uint32_t rows) {
        const Rect rect{0, static_cast<std::int32_t>(y), static_cast<std::int32_t>(width_), static_cast<std::int32_t>(rows)};
        if (Status s = image_->CopyPixels(rect, readAs_, static_cast<std::int32_t>(stride_), band_.data()); s != Ok) {
            status_ = s;
            std::longjmp(errors_.jump, 1);
        }
        if (!takeBlue_) return;
        for (std::uint32_t i = 0; i < rows; ++i) {
            std::uint8_t* row = rowPointers_[i];
            for (std::uint32_t x = 0; x < width_; ++x) row[x] = row[3 * x];
        }
    }

    JpegErrors errors_;
    jpeg_compress_struct info_{};
    bool created_ = false;
    unsigned char* buffer_ = nullptr;
    unsigned long size_ = 0;
    bool grey_ = false;
    bool takeBlue_ = false;
    int quality_ = 75;
    float xdpi_ = 0, ydpi_ = 0;
    const Image* image_ = nullptr;
    PixelFormat readAs_ = PixelFormat24bppRGB;
    std::uint32_t width_ = 0, height_ = 0, bandRows_ = 1;
    std::size_t stride_ = 0;
    Status status_ = Ok;
    UninitializedBytes band_;
    std::vector<JSAMPROW> rowPointers_;
    std::vector<std::uint8_t> exif_;
};

}  // namespace

Status JpegDecoder::Decode(const EncodedBytes& bytes, bool, std::unique_ptr<Image>& image) const {
    JpegReader reader(*bytes);
    return reader.Run(image);
}

int JpegQualityOf(const EncoderParameters& parameters) {
    const auto quality = FindEncoderLong(parameters, EncoderQuality);
    if (!quality) return 75;
    return std::clamp(static_cast<std::int32_t>(*quality), 1, 100);
}

Status EncodeJpeg(const Image& image, const EncoderParameters& parameters, std::vector<std::uint8_t>& bytes) {
    JpegWriter writer;
    return writer.Run(image, parameters, bytes);
}

}  // namespace gdiplus::codecs
