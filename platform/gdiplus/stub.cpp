// Placeholder bodies so that the headers link while the implementations are written.
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_convert.h"

namespace gdiplus {

struct Image::PendingSave {};
Image::~Image() = default;
Status Image::FromFile(const std::filesystem::path&, bool, std::unique_ptr<Image>&) { return NotImplemented; }
Status Image::FromBytes(const EncodedBytes&, bool, std::unique_ptr<Image>&) { return NotImplemented; }
std::vector<Guid> Image::GetFrameDimensionsList() const { return {FrameDimensionPage}; }
std::uint32_t Image::GetFrameDimensionsCount() const { return 1; }
std::uint32_t Image::GetFrameCount(const Guid&) const { return 1; }
Status Image::SelectActiveFrame(const Guid&, std::uint32_t) { return NotImplemented; }
void Image::SetFrameSource(std::shared_ptr<const FrameSource>) {}
Status Image::Save(const std::filesystem::path&, const Guid&, const EncoderParameters*) { return NotImplemented; }
Status Image::Save(std::vector<std::uint8_t>&, const Guid&, const EncoderParameters*) { return NotImplemented; }
Status Image::SaveAdd(const EncoderParameters&) { return NotImplemented; }
Status Image::SaveAdd(const Image&, const EncoderParameters&) { return NotImplemented; }
void Image::CopyImageStateTo(Image&) const {}
Status Image::FinishPendingSave() { return NotImplemented; }

struct Bitmap::LockState {};
Bitmap::Bitmap(std::int32_t width, std::int32_t height, PixelFormat format, std::uint8_t* scan0,
               std::int32_t stride, OwnedBuffer owned)
    : width_(width), height_(height), format_(format), scan0_(scan0), stride_(stride), owned_(std::move(owned)) {}
Bitmap::~Bitmap() = default;
Status Bitmap::Create(std::int32_t, std::int32_t, PixelFormat, std::unique_ptr<Bitmap>&) { return NotImplemented; }
Status Bitmap::FromScan0(std::int32_t, std::int32_t, std::int32_t, PixelFormat, std::uint8_t*,
                         std::unique_ptr<Bitmap>&) { return NotImplemented; }
Status Bitmap::FromOwnedScan0(std::int32_t, std::int32_t, std::int32_t, PixelFormat, OwnedBuffer,
                              std::unique_ptr<Bitmap>&) { return NotImplemented; }
Status Bitmap::SetResolution(float, float) { return NotImplemented; }
std::uint32_t Bitmap::GetPaletteSize() const { return 8; }
Status Bitmap::GetPalette(ColorPalette&) const { return NotImplemented; }
Status Bitmap::SetPalette(const ColorPalette&) { return NotImplemented; }
Status Bitmap::GetPixel(std::int32_t, std::int32_t, ARGB&) const { return NotImplemented; }
Status Bitmap::SetPixel(std::int32_t, std::int32_t, ARGB) { return NotImplemented; }
Status Bitmap::LockBits(const Rect&, std::uint32_t, PixelFormat, BitmapData&) { return NotImplemented; }
Status Bitmap::UnlockBits(BitmapData&) { return NotImplemented; }
Status Bitmap::CopyPixels(const Rect&, PixelFormat, std::int32_t, void*) const { return NotImplemented; }
Status Bitmap::WritePixels(const Rect&, PixelFormat, std::int32_t, const void*) { return NotImplemented; }
Status Bitmap::Clone(std::unique_ptr<Image>&) const { return NotImplemented; }
Status Bitmap::CloneArea(const Rect&, PixelFormat, std::unique_ptr<Bitmap>&) const { return NotImplemented; }
Status Bitmap::GetThumbnailImage(std::uint32_t, std::uint32_t, std::unique_ptr<Image>&) const { return NotImplemented; }
Status Bitmap::RotateFlip(RotateFlipType) { return NotImplemented; }
void Bitmap::AdoptFrame(std::unique_ptr<Bitmap>) {}

}  // namespace gdiplus
