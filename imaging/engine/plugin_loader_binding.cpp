#include "imaging/engine/plugin_loader_binding.h"

#include <dlfcn.h>

#include <cstring>

#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

namespace scanvelt {

template <class Function>
Function* LazyExport<Function>::Bound() {
    void* address = address_.load(std::memory_order_acquire);
    if (address == nullptr) {
        address = ::dlsym(library_, name_);
        if (address == nullptr) {
            throw PluginEntryMissing("Can't find DLL entry point " + std::string(name_) + " in " + dllName_);
        }
        address_.store(address, std::memory_order_release);
    }
    return reinterpret_cast<Function*>(address);
}

namespace {

// The plug-in takes Linux paths as UTF-16.
std::u16string PluginPath(const std::string& path) { return win::Utf8ToUtf16(win::ResolveWindowsPath(path)); }

uint8_t* GrowVector(void* context, int32_t length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    bytes->resize(static_cast<size_t>(length));
    return bytes->data();
}

}  // namespace

BoundCodecPlugin::BoundCodecPlugin(void* library, std::string dllName)
    : dllName_(std::move(dllName)), library_(library) {}

PluginHandle BoundCodecPlugin::OpenFileU(const std::string& path) { return OpenFileU_(PluginPath(path).c_str()); }
void BoundCodecPlugin::CloseFileHandle(PluginHandle file) { CloseFileHandle_(file); }
int32_t BoundCodecPlugin::GetFileTypeU(const std::string& path, int32_t size) {
    return GetFileTypeU_(PluginPath(path).c_str(), size);
}
int32_t BoundCodecPlugin::GetFIFFromFilenameU(const std::string& path) {
    return GetFIFFromFilenameU_(PluginPath(path).c_str());
}
PluginHandle BoundCodecPlugin::LoadU(int32_t format, const std::string& path, int32_t flags) {
    return LoadU_(format, PluginPath(path).c_str(), flags);
}
int32_t BoundCodecPlugin::SaveU(int32_t format, PluginHandle bitmap, const std::string& path, int32_t flags) {
    return SaveU_(format, bitmap, PluginPath(path).c_str(), flags);
}
void BoundCodecPlugin::Unload(PluginHandle bitmap) { Unload_(bitmap); }
PluginHandle BoundCodecPlugin::OpenMultiBitmapU(int32_t format, int32_t flags, PluginHandle file) {
    return OpenMultiBitmapU_(format, flags, file);
}
int32_t BoundCodecPlugin::GetPageCount(PluginHandle multiBitmap) { return GetPageCount_(multiBitmap); }
PluginHandle BoundCodecPlugin::LockPage(PluginHandle multiBitmap, int32_t index) {
    return LockPage_(multiBitmap, index);
}
void BoundCodecPlugin::UnlockPage(PluginHandle multiBitmap, PluginHandle page, bool changed) {
    UnlockPage_(multiBitmap, page, changed ? 1 : 0);
}
void BoundCodecPlugin::CloseMultiBitmap(PluginHandle multiBitmap, int32_t flags) {
    CloseMultiBitmap_(multiBitmap, flags);
}
uint32_t BoundCodecPlugin::GetWidth(PluginHandle bitmap) { return GetWidth_(bitmap); }
uint32_t BoundCodecPlugin::GetHeight(PluginHandle bitmap) { return GetHeight_(bitmap); }
uint32_t BoundCodecPlugin::GetPitch(PluginHandle bitmap) { return GetPitch_(bitmap); }
uint32_t BoundCodecPlugin::GetBPP(PluginHandle bitmap) { return GetBPP_(bitmap); }
uint8_t* BoundCodecPlugin::GetBits(PluginHandle bitmap) { return GetBits_(bitmap); }
const uint8_t* BoundCodecPlugin::GetInfo(PluginHandle bitmap) {
    return static_cast<const uint8_t*>(GetInfo_(bitmap));
}
int32_t BoundCodecPlugin::GetImageType(PluginHandle bitmap) { return GetImageType_(bitmap); }
int32_t BoundCodecPlugin::GetColorType(PluginHandle bitmap) { return GetColorType_(bitmap); }
int32_t BoundCodecPlugin::GetPhotoMetric(PluginHandle bitmap) { return GetPhotoMetric_(bitmap); }
uint32_t BoundCodecPlugin::GetColorsUsed(PluginHandle bitmap) { return GetColorsUsed_(bitmap); }
uint8_t* BoundCodecPlugin::GetPalette(PluginHandle bitmap) { return GetPalette_(bitmap); }
uint32_t BoundCodecPlugin::GetTransparencyCount(PluginHandle bitmap) { return GetTransparencyCount_(bitmap); }
bool BoundCodecPlugin::IsTransparent(PluginHandle bitmap) { return IsTransparent_(bitmap) != 0; }
uint32_t BoundCodecPlugin::GetDotsPerMeterX(PluginHandle bitmap) { return GetDotsPerMeterX_(bitmap); }
uint32_t BoundCodecPlugin::GetDotsPerMeterY(PluginHandle bitmap) { return GetDotsPerMeterY_(bitmap); }
void BoundCodecPlugin::SetDotsPerMeterX(PluginHandle bitmap, uint32_t value) { SetDotsPerMeterX_(bitmap, value); }
void BoundCodecPlugin::SetDotsPerMeterY(PluginHandle bitmap, uint32_t value) { SetDotsPerMeterY_(bitmap, value); }
void BoundCodecPlugin::SetTransparentIndex(PluginHandle bitmap, int32_t index) { SetTransparentIndex_(bitmap, index); }
PluginHandle BoundCodecPlugin::ConvertToType(PluginHandle bitmap, int32_t type, bool scaleLinear) {
    return ConvertToType_(bitmap, type, scaleLinear ? 1 : 0);
}
PluginHandle BoundCodecPlugin::ConvertToGreyscale(PluginHandle bitmap) { return ConvertToGreyscale_(bitmap); }
PluginHandle BoundCodecPlugin::ConvertTo24Bits(PluginHandle bitmap) { return ConvertTo24Bits_(bitmap); }
PluginHandle BoundCodecPlugin::ConvertTo32Bits(PluginHandle bitmap) { return ConvertTo32Bits_(bitmap); }
PluginHandle BoundCodecPlugin::ConvertToRGBF(PluginHandle bitmap) { return ConvertToRGBF_(bitmap); }
PluginHandle BoundCodecPlugin::TmoReinhard05(PluginHandle bitmap, double intensity, double contrast) {
    return TmoReinhard05_(bitmap, intensity, contrast);
}
PluginHandle BoundCodecPlugin::ConvertFromRawBits(const uint8_t* bits, int32_t width, int32_t height, int32_t pitch,
                                                  uint32_t bitsPerPixel, uint32_t redMask, uint32_t greenMask,
                                                  uint32_t blueMask, bool topDown) {
    return ConvertFromRawBits_(bits, width, height, pitch, bitsPerPixel, redMask, greenMask, blueMask,
                               topDown ? 1 : 0);
}
bool BoundCodecPlugin::FlipVertical(PluginHandle bitmap) { return FlipVertical_(bitmap) != 0; }
bool BoundCodecPlugin::Invert(PluginHandle bitmap) { return Invert_(bitmap) != 0; }
uint32_t BoundCodecPlugin::GetMetadataCount(int32_t model, PluginHandle bitmap) {
    return GetMetadataCount_(model, bitmap);
}
PluginHandle BoundCodecPlugin::FindFirstMetadata(int32_t model, PluginHandle bitmap, PluginHandle& tag) {
    return FindFirstMetadata_(model, bitmap, &tag);
}
bool BoundCodecPlugin::FindNextMetadata(PluginHandle search, PluginHandle& tag) {
    return FindNextMetadata_(search, &tag) != 0;
}
void BoundCodecPlugin::FindCloseMetadata(PluginHandle search) { FindCloseMetadata_(search); }
PluginTag BoundCodecPlugin::TagRecord(PluginHandle tag) {
    MvimgplugTagRecord record{};
    PluginTag result;
    if (tag == 0 || GetTagRecord_(tag, &record) == 0) return result;
    if (record.key != nullptr) result.key = record.key;
    if (record.description != nullptr) result.description = record.description;
    result.id = record.id;
    result.type = record.type;
    result.count = record.count;
    result.length = record.length;
    if (record.value != nullptr && record.length > 0) {
        const auto* value = static_cast<const uint8_t*>(record.value);
        result.value.assign(value, value + record.length);
    }
    return result;
}
PluginHandle BoundCodecPlugin::CreateTag() { return CreateTag_(); }
bool BoundCodecPlugin::SetTagKey(PluginHandle tag, const std::string& key) {
    return SetTagKey_(tag, key.c_str()) != 0;
}
bool BoundCodecPlugin::SetTagID(PluginHandle tag, uint16_t id) { return SetTagID_(tag, id) != 0; }
bool BoundCodecPlugin::SetTagType(PluginHandle tag, uint16_t type) { return SetTagType_(tag, type) != 0; }
bool BoundCodecPlugin::SetTagCount(PluginHandle tag, uint32_t count) { return SetTagCount_(tag, count) != 0; }
bool BoundCodecPlugin::SetTagLength(PluginHandle tag, uint32_t length) { return SetTagLength_(tag, length) != 0; }
bool BoundCodecPlugin::SetTagValue(PluginHandle tag, const uint8_t* value) { return SetTagValue_(tag, value) != 0; }
std::string BoundCodecPlugin::GetTagKey(PluginHandle tag) {
    const char* key = GetTagKey_(tag);
    return key == nullptr ? std::string() : std::string(key);
}
bool BoundCodecPlugin::SetMetadata(int32_t model, PluginHandle bitmap, const std::string& key, PluginHandle tag) {
    return SetMetadata_(model, bitmap, key.c_str(), tag) != 0;
}
void BoundCodecPlugin::DeleteTag(PluginHandle tag) { DeleteTag_(tag); }
void BoundCodecPlugin::SetTiffJpegCompression(int32_t quality) { SetTiffJpegCompression_(quality); }
int32_t BoundCodecPlugin::VB_CompressCCITT4(std::vector<uint8_t>& out, const std::vector<uint8_t>& rows,
                                            int32_t width, int32_t height, int32_t stride, int32_t flags) {
    if (rows.size() > static_cast<size_t>(INT32_MAX)) return 1;
    MvimgplugByteSink sink{&out, GrowVector};
    const MvimgplugBytes source{rows.data(), static_cast<int32_t>(rows.size())};
    return VB_CompressCCITT4_(&sink, &source, width, height, stride, flags);
}
int32_t BoundCodecPlugin::ZLibCompress2(uint8_t* dest, int32_t destCapacity, const uint8_t* source,
                                        int32_t sourceLength) {
    return ZLibCompress2_(dest, destCapacity, source, sourceLength);
}

}  // namespace scanvelt
