#include "plugins/mvimgplug/pixel_budget.h"

#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace mvimgplug {

namespace {

std::atomic<uint64_t> gMaxPixelBytes{kMaxPixelBytes};

constexpr uint64_t kTargaHeaderBytes = 18;

// Decoders that read no header without pixels are budgeted as if every
// pixel took 8 bytes (16-bit RGBA, the widest they make).
constexpr uint64_t kWidestPixelBytes = 8;

bool Fits(uint64_t width, uint64_t height, uint64_t bitsPerPixel) {
    if (width == 0 || height == 0) return true;
    // A header that claims no bits at all is left to the decoder to refuse.
    if (bitsPerPixel == 0) return true;
    const uint64_t ceiling = MaxPixelBytes();
    if (width > ceiling * 8 / bitsPerPixel + 1) return false;
    const uint64_t rowBytes = (width * bitsPerPixel + 7) / 8;
    return rowBytes <= ceiling && height <= ceiling / rowBytes;
}

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool ReadAt(std::FILE* stream, long offset, uint8_t* buffer, size_t size) {
    return std::fseek(stream, offset, SEEK_SET) == 0 && std::fread(buffer, 1, size, stream) == size;
}

// A WBMP header: type 0, a fixed header byte, then width and height as
// numbers of 7 bits a byte, high bit set on every byte but the last.
bool WbmpFits(std::FILE* stream, uint64_t fileBytes) {
    std::rewind(stream);
    if (std::fgetc(stream) == EOF || std::fgetc(stream) == EOF) return true;
    uint64_t size[2] = {0, 0};
    for (uint64_t& value : size) {
        for (int bytes = 0;; ++bytes) {
            const int c = std::fgetc(stream);
            if (c == EOF || bytes > 8) return true;
            value = (value << 7) | static_cast<uint64_t>(c & 0x7F);
            if ((c & 0x80) == 0) break;
        }
    }
    return DecodedSizeFits(size[0], size[1], 1, fileBytes);
}

// A JPEG 2000 code stream starts with SOC and SIZ: the reference grid's size
// and the image offset on it.
bool CodestreamFits(std::FILE* stream, long start, uint64_t fileBytes) {
    std::array<uint8_t, 24> head{};
    if (!ReadAt(stream, start, head.data(), head.size())) return true;
    if (head[0] != 0xFF || head[1] != 0x4F || head[2] != 0xFF || head[3] != 0x51) return true;
    const uint64_t width = BigEndian32(&head[8]) - static_cast<uint64_t>(BigEndian32(&head[16]));
    const uint64_t height = BigEndian32(&head[12]) - static_cast<uint64_t>(BigEndian32(&head[20]));
    return DecodedSizeFits(width, height, 8 * kWidestPixelBytes, fileBytes);
}

// A JP2 file is a list of boxes; the image header box (ihdr) inside the
// header box (jp2h) gives height and width.
bool Jp2Fits(std::FILE* stream, uint64_t fileBytes) {
    long offset = 0;
    long end = -1;
    for (int boxes = 0; boxes < 64; ++boxes) {
        std::array<uint8_t, 16> box{};
        if ((end >= 0 && offset + 8 > end) || !ReadAt(stream, offset, box.data(), 8)) return true;
        const uint32_t length = BigEndian32(box.data());
        if (std::memcmp(&box[4], "jp2h", 4) == 0) {
            end = length >= 8 ? offset + length : -1;
            offset += 8;
            continue;
        }
        if (std::memcmp(&box[4], "ihdr", 4) == 0) {
            if (!ReadAt(stream, offset + 8, box.data(), 8)) return true;
            return DecodedSizeFits(BigEndian32(&box[4]), BigEndian32(box.data()), 8 * kWidestPixelBytes, fileBytes);
        }
        if (length < 8) return true;
        offset += length;
    }
    return true;
}

bool HeaderFits(int32_t format, InputFile& file) {
    FIBITMAP* header = FreeImage_LoadFromHandle(static_cast<FREE_IMAGE_FORMAT>(format), StreamIo(), file.Rewound(),
                                                FIF_LOAD_NOPIXELS);
    // The decoder reads the same header before its pixels, and a header it
    // cannot read here it would fail on there too, but only after allocating
    // and clearing the bitmap the header's first fields claim (a 16-byte
    // Targa file had it clear 386 MB).
    if (header == nullptr) return false;
    const bool fits = DecodedSizeFits(FreeImage_GetWidth(header), FreeImage_GetHeight(header),
                                      FreeImage_GetBPP(header), file.Size());
    FreeImage_Unload(header);
    return fits;
}

}  // namespace

uint64_t MaxPixelBytes() { return gMaxPixelBytes.load(); }

void SetMaxPixelBytes(uint64_t bytes) {
    gMaxPixelBytes.store(bytes == 0 || bytes > kMaxPixelBytes ? kMaxPixelBytes : bytes);
}

bool DecodedSizeFits(uint64_t width, uint64_t height, uint64_t bitsPerPixel, uint64_t fileBytes) {
    if (!Fits(width, height, bitsPerPixel)) return false;
    if (fileBytes == 0 || width == 0 || height == 0) return true;
    const uint64_t bytes = (width * bitsPerPixel + 7) / 8 * height;  // no overflow: Fits bounds it
    uint64_t plausible = 0;
    if (__builtin_mul_overflow(fileBytes, kMaxDecodedBytesPerFileByte, &plausible)) return true;
    return bytes <= std::max(plausible, kAlwaysAllowedBytes);
}

bool FitsPixelBudget(int32_t format, InputFile& file) {
    switch (format) {
        case FIF_WBMP: return WbmpFits(file.Stream(), file.Size());
        // JPEG 2000 packs a plain page far tighter than its header's depth
        // suggests: it is held to the ceiling alone.
        case FIF_J2K: return CodestreamFits(file.Stream(), 0, 0);
        case FIF_JP2: return Jp2Fits(file.Stream(), 0);
        // JPEG and TIFF are judged by their readers (jpeg_reader.h, tiff_page_reader.h).
        case FIF_JPEG:
        case FIF_TIFF: return true;
        // The library reads a Targa header whole into a structure without
        // checking that the read was whole: from a shorter file it would take
        // whatever lay there before for the missing fields.
        case FIF_TARGA: return file.Size() >= kTargaHeaderBytes && HeaderFits(format, file);
        default: return HeaderFits(format, file);
    }
}

}  // namespace mvimgplug
