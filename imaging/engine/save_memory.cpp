#include "imaging/engine/save_memory.h"

#include <optional>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/temp_files.h"
#include "platform/gdiplus/file_io.h"
#include "platform/gdiplus/image.h"
#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

namespace scanvelt {

namespace {

using gdiplus::EncoderParameter;

constexpr int32_t kDefaultStreamJpegQuality = 75;

std::string TrimmedLower(const std::string& text) { return LowerCaseAscii(TrimSpaces(text)); }

gdiplus::EncoderParameters ParametersFor(int32_t imageId, const std::string& format, int32_t parameter) {
    if (parameter == 0) return {};
    if (format == "jpg" || format == "jpeg") {
        const int32_t quality = parameter > 0 ? ClampJpegQuality(parameter) : kDefaultStreamJpegQuality;
        return {EncoderParameter::Long(gdiplus::EncoderQuality, static_cast<uint32_t>(quality))};
    }
    if (format == "tif" || format == "tiff") {
        const int32_t compression =
            IsBilevelCompression(parameter) && BitDepthOf(imageId) >= 2 ? CompressionLZW : parameter;
        return {EncoderParameter::Long(gdiplus::EncoderCompression, static_cast<uint32_t>(compression))};
    }
    return {};
}

// The encoded bytes of the image in a format given by its extension.
MorvalenStatus EncodeToMemory(int32_t imageId, const std::string& format, int32_t parameter,
                              std::vector<uint8_t>& bytes) {
    std::string extension = TrimmedLower(format);
    std::optional<gdiplus::Guid> clsid = EncoderFor("*." + extension);
    if (!clsid) {
        extension = "bmp";
        clsid = EncoderFor("*.bmp");
        if (!clsid) return UnknownImageFormat;
    }
    const gdiplus::EncoderParameters parameters = ParametersFor(imageId, extension, parameter);
    SyncResolutionTags(imageId);
    gdiplus::Image* image = NativeImageOf(imageId);
    if (image == nullptr) return InvalidParameter;
    return StatusOf(image->Save(bytes, *clsid, parameters.empty() ? nullptr : &parameters));
}

bool IsJpegName(const std::string& format) {
    const std::string name = TrimmedLower(format);
    return name == "jpg" || name == "jpeg";
}

// The greyscale JPEG goes through the JPEG saver, whose plug-in route writes
// only files.
bool SaveGreyJpegThroughFile(int32_t imageId, int32_t quality, std::vector<uint8_t>& bytes) {
    const std::string file = NewTempFileName();
    if (file.empty()) return false;
    std::vector<uint8_t> written;
    const bool saved = SaveImageAsJpeg(imageId, file, quality, false) == OK &&
                       gdiplus::ReadWholeFile(win::ResolveWindowsPath(file), written) == gdiplus::Ok &&
                       !written.empty();
    DeleteFileQuietly(file);
    if (saved) bytes = std::move(written);
    return saved;
}

}  // namespace

MorvalenStatus SaveImageToStream(int32_t imageId, std::shared_ptr<win::Stream>& stream, const std::string& format,
                                 int32_t parameter) {
    stream.reset();
    if (win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, stream) != win::S_OK || !stream) return GenericError;
    std::vector<uint8_t> bytes;
    const MorvalenStatus status = EncodeToMemory(imageId, format, parameter, bytes);
    if (status != OK) return status;
    uint32_t written = 0;
    if (bytes.size() > UINT32_MAX ||
        stream->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) != win::S_OK ||
        written != bytes.size() || stream->Seek(0, win::SeekOrigin::Begin, nullptr) != win::S_OK) {
        return GenericError;
    }
    return OK;
}

MorvalenStatus SaveImageToBytes(int32_t imageId, int32_t& count, std::vector<uint8_t>& bytes,
                                const std::string& format, int32_t parameter) {
    std::vector<uint8_t> encoded;
    const bool greyJpeg = IsJpegName(format) && BitDepthOf(imageId) == 8 && IsGreyscalePalette(imageId);
    if (!(greyJpeg && SaveGreyJpegThroughFile(imageId, parameter, encoded))) {
        const MorvalenStatus status = EncodeToMemory(imageId, format, parameter, encoded);
        if (status != OK) return status;
    }
    if (encoded.empty() || encoded.size() > INT32_MAX) return GenericError;
    count = static_cast<int32_t>(encoded.size());
    bytes = std::move(encoded);
    return OK;
}

MorvalenStatus SaveImageToString(int32_t imageId, std::string& text, const std::string& format, int32_t parameter) {
    int32_t count = 0;
    std::vector<uint8_t> bytes;
    const MorvalenStatus status = SaveImageToBytes(imageId, count, bytes, format, parameter);
    if (status == OK) text = win::AnsiToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return status;
}

}  // namespace scanvelt
