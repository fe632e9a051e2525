#include "platform/gdiplus/codec_registry.h"

#include <algorithm>

namespace gdiplus {
namespace {

bool SignaturesAreWellFormed(const ImageCodecInfo& info) {
    if (info.SigPatterns.size() != info.SigMasks.size()) return false;
    for (std::size_t i = 0; i < info.SigPatterns.size(); ++i) {
        if (info.SigPatterns[i].empty() || info.SigPatterns[i].size() != info.SigMasks[i].size()) return false;
    }
    return true;
}

bool MatchesSignature(const ImageCodecInfo& info, std::span<const std::uint8_t> head) {
    for (std::size_t i = 0; i < info.SigPatterns.size(); ++i) {
        const auto& pattern = info.SigPatterns[i];
        const auto& mask = info.SigMasks[i];
        if (head.size() < pattern.size()) continue;
        bool match = true;
        for (std::size_t j = 0; j < pattern.size() && match; ++j) match = (head[j] & mask[j]) == pattern[j];
        if (match) return true;
    }
    return false;
}

template <class Entries>
auto FindByClsid(Entries& entries, const Guid& clsid) {
    return std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.info.Clsid == clsid; });
}

template <class Entries, class Codec>
Status AddEntry(Entries& entries, ImageCodecInfo info, std::shared_ptr<const Codec> codec, std::uint32_t flag) {
    if (!codec || info.Clsid.IsNull() || !SignaturesAreWellFormed(info)) return InvalidParameter;
    if (FindByClsid(entries, info.Clsid) != entries.end()) return InvalidParameter;
    info.Flags |= flag;
    entries.push_back({std::move(info), std::move(codec)});
    return Ok;
}

template <class Entries>
std::vector<ImageCodecInfo> InfosOf(const Entries& entries) {
    std::vector<ImageCodecInfo> infos;
    infos.reserve(entries.size());
    for (const auto& e : entries) infos.push_back(e.info);
    return infos;
}

}  // namespace

ImageCodecInfo CodecInfoFor(const KnownCodec& codec, std::uint32_t flags) {
    ImageCodecInfo info;
    info.Clsid = codec.clsid;
    info.FormatID = codec.formatId;
    info.CodecName = codec.codecName;
    info.FormatDescription = codec.formatDescription;
    info.FilenameExtension = codec.filenameExtension;
    info.MimeType = codec.mimeType;
    info.Flags = flags;
    return info;
}

CodecRegistry& CodecRegistry::Global() {
    static CodecRegistry registry;
    return registry;
}

Status CodecRegistry::AddEncoder(ImageCodecInfo info, std::shared_ptr<const ImageEncoder> encoder) {
    std::lock_guard lock(mutex_);
    return AddEntry(encoders_, std::move(info), std::move(encoder), ImageCodecFlagsEncoder);
}

Status CodecRegistry::AddDecoder(ImageCodecInfo info, std::shared_ptr<const ImageDecoder> decoder) {
    std::lock_guard lock(mutex_);
    return AddEntry(decoders_, std::move(info), std::move(decoder), ImageCodecFlagsDecoder);
}

bool CodecRegistry::Remove(const Guid& clsid) {
    std::lock_guard lock(mutex_);
    bool removed = false;
    if (auto it = FindByClsid(encoders_, clsid); it != encoders_.end()) {
        encoders_.erase(it);
        removed = true;
    }
    if (auto it = FindByClsid(decoders_, clsid); it != decoders_.end()) {
        decoders_.erase(it);
        removed = true;
    }
    return removed;
}

std::vector<ImageCodecInfo> CodecRegistry::Encoders() const {
    std::lock_guard lock(mutex_);
    return InfosOf(encoders_);
}

std::vector<ImageCodecInfo> CodecRegistry::Decoders() const {
    std::lock_guard lock(mutex_);
    return InfosOf(decoders_);
}

std::shared_ptr<const ImageEncoder> CodecRegistry::FindEncoder(const Guid& clsid) const {
    std::lock_guard lock(mutex_);
    auto it = FindByClsid(encoders_, clsid);
    return it == encoders_.end() ? nullptr : it->codec;
}

std::shared_ptr<const ImageDecoder> CodecRegistry::FindDecoder(std::span<const std::uint8_t> head) const {
    std::lock_guard lock(mutex_);
    for (const auto& e : decoders_) {
        if (MatchesSignature(e.info, head)) return e.codec;
    }
    return nullptr;
}

std::vector<ImageCodecInfo> GetImageEncoders() { return CodecRegistry::Global().Encoders(); }
std::vector<ImageCodecInfo> GetImageDecoders() { return CodecRegistry::Global().Decoders(); }

ScopedCodecRegistration::~ScopedCodecRegistration() {
    for (const auto& clsid : added_) CodecRegistry::Global().Remove(clsid);
}

Status ScopedCodecRegistration::AddEncoder(ImageCodecInfo info, std::shared_ptr<const ImageEncoder> encoder) {
    const Guid clsid = info.Clsid;
    Status s = CodecRegistry::Global().AddEncoder(std::move(info), std::move(encoder));
    if (s == Ok) added_.push_back(clsid);
    return s;
}

Status ScopedCodecRegistration::AddDecoder(ImageCodecInfo info, std::shared_ptr<const ImageDecoder> decoder) {
    const Guid clsid = info.Clsid;
    Status s = CodecRegistry::Global().AddDecoder(std::move(info), std::move(decoder));
    if (s == Ok) added_.push_back(clsid);
    return s;
}

}  // namespace gdiplus
