#include "platform/gdiplus/codecs/tiff_memory_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <memory>

namespace gdiplus::codecs {
namespace {

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct OptionsDeleter {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

TIFF* Open(const char* mode, TiffMemoryFile* file, TIFFReadWriteProc read, TIFFReadWriteProc write,
           TIFFSeekProc seek, TIFFCloseProc close, TIFFSizeProc size, TIFFMapFileProc map,
           TIFFUnmapFileProc unmap, std::uint64_t maxAllocation) {
    std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(TIFFOpenOptionsAlloc());
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Quiet, nullptr);
    if (maxAllocation > 0) TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(maxAllocation));
    return TIFFClientOpenExt("memory", mode, file, read, write, seek, close, size, map, unmap, options.get());
}

}  // namespace

TiffMemoryFile::TiffMemoryFile(std::span<const std::uint8_t> bytes, std::uint64_t maxAllocation) : in_(bytes) {
    tiff_ = Open("r", this, Read, Write, Seek, CloseProc, Size, Map, Unmap, maxAllocation);
}

TiffMemoryFile::TiffMemoryFile(std::vector<std::uint8_t>& out) : out_(&out) {
    tiff_ = Open("w", this, Read, Write, Seek, CloseProc, Size, Map, Unmap, 0);
}

TiffMemoryFile::~TiffMemoryFile() { Close(); }

bool TiffMemoryFile::Close() {
    if (tiff_) {
        if (out_ && TIFFFlush(tiff_) != 1) failed_ = true;
        TIFFClose(tiff_);
        tiff_ = nullptr;
    }
    return !failed_;
}

tmsize_t TiffMemoryFile::Read(thandle_t handle, void* buffer, tmsize_t size) {
    auto* self = static_cast<TiffMemoryFile*>(handle);
    const std::span<const std::uint8_t> data =
        self->out_ ? std::span<const std::uint8_t>(*self->out_) : self->in_;
    if (size < 0 || self->at_ >= data.size()) return 0;
    const std::uint64_t n = std::min<std::uint64_t>(static_cast<std::uint64_t>(size), data.size() - self->at_);
    std::memcpy(buffer, data.data() + self->at_, n);
    self->at_ += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t TiffMemoryFile::Write(thandle_t handle, void* buffer, tmsize_t size) {
    auto* self = static_cast<TiffMemoryFile*>(handle);
    if (!self->out_ || size < 0) return -1;
    try {
        const std::uint64_t end = self->at_ + static_cast<std::uint64_t>(size);
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        if (self->at_ == self->out_->size()) {
            // Appending, as libtiff mostly does: no zero-filling of what is written next.
            self->out_->insert(self->out_->end(), bytes, bytes + size);
        } else {
            if (end > self->out_->size()) self->out_->resize(end);
            std::memcpy(self->out_->data() + self->at_, bytes, static_cast<std::size_t>(size));
        }
        self->at_ = end;
        return size;
    } catch (const std::bad_alloc&) {
        self->failed_ = true;
        return -1;
    }
}

toff_t TiffMemoryFile::Seek(thandle_t handle, toff_t offset, int whence) {
    auto* self = static_cast<TiffMemoryFile*>(handle);
    const std::uint64_t size = self->out_ ? self->out_->size() : self->in_.size();
    std::uint64_t base = whence == SEEK_CUR ? self->at_ : whence == SEEK_END ? size : 0;
    self->at_ = base + offset;
    return self->at_;
}

int TiffMemoryFile::CloseProc(thandle_t) { return 0; }

toff_t TiffMemoryFile::Size(thandle_t handle) {
    auto* self = static_cast<TiffMemoryFile*>(handle);
    return self->out_ ? self->out_->size() : self->in_.size();
}

int TiffMemoryFile::Map(thandle_t handle, void** base, toff_t* size) {
    auto* self = static_cast<TiffMemoryFile*>(handle);
    if (self->out_) return 0;
    *base = const_cast<std::uint8_t*>(self->in_.data());
    *size = self->in_.size();
    return 1;
}

void TiffMemoryFile::Unmap(thandle_t, void*, toff_t) {}

}  // namespace gdiplus::codecs
