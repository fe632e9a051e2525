#pragma once
// The engine's CodecPlugin over the exports of a loaded plug-in library. Each
// export is looked up by its name on its first call and kept; an export the
// library lacks raises PluginEntryMissing at that call. Paths are resolved as
// Windows paths and handed on as UTF-16.
#include <atomic>
#include <string>
#include <utility>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/plugin_loader.h"
#include "plugins/mvimgplug/mvimgplug.h"

namespace scanvelt {

// One export of the library, bound on first use.
template <class Function>
class LazyExport {
public:
    LazyExport(void* library, const char* name, const std::string& dllName)
        : library_(library), name_(name), dllName_(dllName) {}

    template <class... Args>
    decltype(auto) operator()(Args&&... args) {
        return Bound()(std::forward<Args>(args)...);
    }

private:
    Function* Bound();

    void* library_;
    const char* name_;
    const std::string& dllName_;
    std::atomic<void*> address_{nullptr};
};

class BoundCodecPlugin final : public CodecPlugin {
public:
    BoundCodecPlugin(void* library, std::string dllName);

    PluginHandle OpenFileU(const std::string& path) override;
    void CloseFileHandle(PluginHandle file) override;
    int32_t GetFileTypeU(const std::string& path, int32_t size) override;
    int32_t GetFIFFromFilenameU(const std::string& path) override;
    PluginHandle LoadU(int32_t format, const std::string& path, int32_t flags) override;
    int32_t SaveU(int32_t format, PluginHandle bitmap, const std::string& path, int32_t flags) override;
    void Unload(PluginHandle bitmap) override;
    PluginHandle OpenMultiBitmapU(int32_t format, int32_t flags, PluginHandle file) override;
    int32_t GetPageCount(PluginHandle multiBitmap) override;
    PluginHandle LockPage(PluginHandle multiBitmap, int32_t index) override;
    void UnlockPage(PluginHandle multiBitmap, PluginHandle page, bool changed) override;
    void CloseMultiBitmap(PluginHandle multiBitmap, int32_t flags) override;
    uint32_t GetWidth(PluginHandle bitmap) override;
    uint32_t GetHeight(PluginHandle bitmap) override;
    uint32_t GetPitch(PluginHandle bitmap) override;
    uint32_t GetBPP(PluginHandle bitmap) override;
    uint8_t* GetBits(PluginHandle bitmap) override;
    const uint8_t* GetInfo(PluginHandle bitmap) override;
    int32_t GetImageType(PluginHandle bitmap) override;
    int32_t GetColorType(PluginHandle bitmap) override;
    int32_t GetPhotoMetric(PluginHandle bitmap) override;
    uint32_t GetColorsUsed(PluginHandle bitmap) override;
    uint8_t* GetPalette(PluginHandle bitmap) override;
    uint32_t GetTransparencyCount(PluginHandle bitmap) override;
    bool IsTransparent(PluginHandle bitmap) override;
    uint32_t GetDotsPerMeterX(PluginHandle bitmap) override;
    uint32_t GetDotsPerMeterY(PluginHandle bitmap) override;
    void SetDotsPerMeterX(PluginHandle bitmap, uint32_t value) override;
    void SetDotsPerMeterY(PluginHandle bitmap, uint32_t value) override;
    void SetTransparentIndex(PluginHandle bitmap, int32_t index) override;
    PluginHandle ConvertToType(PluginHandle bitmap, int32_t type, bool scaleLinear) override;
    PluginHandle ConvertToGreyscale(PluginHandle bitmap) override;
    PluginHandle ConvertTo24Bits(PluginHandle bitmap) override;
    PluginHandle ConvertTo32Bits(PluginHandle bitmap) override;
    PluginHandle ConvertToRGBF(PluginHandle bitmap) override;
    PluginHandle TmoReinhard05(PluginHandle bitmap, double intensity, double contrast) override;
    PluginHandle ConvertFromRawBits(const uint8_t* bits, int32_t width, int32_t height, int32_t pitch,
                                    uint32_t bitsPerPixel, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                                    bool topDown) override;
    bool FlipVertical(PluginHandle bitmap) override;
    bool Invert(PluginHandle bitmap) override;
    uint32_t GetMetadataCount(int32_t model, PluginHandle bitmap) override;
    PluginHandle FindFirstMetadata(int32_t model, PluginHandle bitmap, PluginHandle& tag) override;
    bool FindNextMetadata(PluginHandle search, PluginHandle& tag) override;
    void FindCloseMetadata(PluginHandle search) override;
    PluginTag TagRecord(PluginHandle tag) override;
    PluginHandle CreateTag() override;
    bool SetTagKey(PluginHandle tag, const std::string& key) override;
    bool SetTagID(PluginHandle tag, uint16_t id) override;
    bool SetTagType(PluginHandle tag, uint16_t type) override;
    bool SetTagCount(PluginHandle tag, uint32_t count) override;
    bool SetTagLength(PluginHandle tag, uint32_t length) override;
    bool SetTagValue(PluginHandle tag, const uint8_t* value) override;
    std::string GetTagKey(PluginHandle tag) override;
    bool SetMetadata(int32_t model, PluginHandle bitmap, const std::string& key, PluginHandle tag) override;
    void DeleteTag(PluginHandle tag) override;
    void SetTiffJpegCompression(int32_t quality) override;
    int32_t VB_CompressCCITT4(std::vector<uint8_t>& out, const std::vector<uint8_t>& rows, int32_t width,
                              int32_t height, int32_t stride, int32_t flags) override;
    int32_t ZLibCompress2(uint8_t* dest, int32_t destCapacity, const uint8_t* source, int32_t sourceLength) override;

private:
    std::string dllName_;
    void* library_;

#define SCANVELT_PLUGIN_EXPORT(Name) \
    LazyExport<decltype(::MVIMGPLUG_##Name)> Name##_{library_, "MVIMGPLUG_" #Name, dllName_}
    SCANVELT_PLUGIN_EXPORT(OpenFileU);
    SCANVELT_PLUGIN_EXPORT(CloseFileHandle);
    SCANVELT_PLUGIN_EXPORT(GetFileTypeU);
    SCANVELT_PLUGIN_EXPORT(GetFIFFromFilenameU);
    SCANVELT_PLUGIN_EXPORT(LoadU);
    SCANVELT_PLUGIN_EXPORT(SaveU);
    SCANVELT_PLUGIN_EXPORT(Unload);
    SCANVELT_PLUGIN_EXPORT(OpenMultiBitmapU);
    SCANVELT_PLUGIN_EXPORT(GetPageCount);
    SCANVELT_PLUGIN_EXPORT(LockPage);
    SCANVELT_PLUGIN_EXPORT(UnlockPage);
    SCANVELT_PLUGIN_EXPORT(CloseMultiBitmap);
    SCANVELT_PLUGIN_EXPORT(GetWidth);
    SCANVELT_PLUGIN_EXPORT(GetHeight);
    SCANVELT_PLUGIN_EXPORT(GetPitch);
    SCANVELT_PLUGIN_EXPORT(GetBPP);
    SCANVELT_PLUGIN_EXPORT(GetBits);
    SCANVELT_PLUGIN_EXPORT(GetInfo);
    SCANVELT_PLUGIN_EXPORT(GetImageType);
    SCANVELT_PLUGIN_EXPORT(GetColorType);
    SCANVELT_PLUGIN_EXPORT(GetPhotoMetric);
    SCANVELT_PLUGIN_EXPORT(GetColorsUsed);
    SCANVELT_PLUGIN_EXPORT(GetPalette);
    SCANVELT_PLUGIN_EXPORT(GetTransparencyCount);
    SCANVELT_PLUGIN_EXPORT(IsTransparent);
    SCANVELT_PLUGIN_EXPORT(GetDotsPerMeterX);
    SCANVELT_PLUGIN_EXPORT(GetDotsPerMeterY);
    SCANVELT_PLUGIN_EXPORT(SetDotsPerMeterX);
    SCANVELT_PLUGIN_EXPORT(SetDotsPerMeterY);
    SCANVELT_PLUGIN_EXPORT(SetTransparentIndex);
    SCANVELT_PLUGIN_EXPORT(ConvertToType);
    SCANVELT_PLUGIN_EXPORT(ConvertToGreyscale);
    SCANVELT_PLUGIN_EXPORT(ConvertTo24Bits);
    SCANVELT_PLUGIN_EXPORT(ConvertTo32Bits);
    SCANVELT_PLUGIN_EXPORT(ConvertToRGBF);
    SCANVELT_PLUGIN_EXPORT(TmoReinhard05);
    SCANVELT_PLUGIN_EXPORT(ConvertFromRawBits);
    SCANVELT_PLUGIN_EXPORT(FlipVertical);
    SCANVELT_PLUGIN_EXPORT(Invert);
    SCANVELT_PLUGIN_EXPORT(GetMetadataCount);
    SCANVELT_PLUGIN_EXPORT(FindFirstMetadata);
    SCANVELT_PLUGIN_EXPORT(FindNextMetadata);
    SCANVELT_PLUGIN_EXPORT(FindCloseMetadata);
    SCANVELT_PLUGIN_EXPORT(GetTagRecord);
    SCANVELT_PLUGIN_EXPORT(CreateTag);
    SCANVELT_PLUGIN_EXPORT(SetTagKey);
    SCANVELT_PLUGIN_EXPORT(SetTagID);
    SCANVELT_PLUGIN_EXPORT(SetTagType);
    SCANVELT_PLUGIN_EXPORT(SetTagCount);
    SCANVELT_PLUGIN_EXPORT(SetTagLength);
    SCANVELT_PLUGIN_EXPORT(SetTagValue);
    SCANVELT_PLUGIN_EXPORT(GetTagKey);
    SCANVELT_PLUGIN_EXPORT(SetMetadata);
    SCANVELT_PLUGIN_EXPORT(DeleteTag);
    SCANVELT_PLUGIN_EXPORT(SetTiffJpegCompression);
    SCANVELT_PLUGIN_EXPORT(VB_CompressCCITT4);
    SCANVELT_PLUGIN_EXPORT(ZLibCompress2);
#undef SCANVELT_PLUGIN_EXPORT
};

}  // namespace scanvelt
