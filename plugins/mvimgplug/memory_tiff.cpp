#include "plugins/mvimgplug/memory_tiff.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace mvimgplug {

namespace {

int Silently(TIFF*, void*, const char*, const char*, va_list) { return 1; }

constexpr uint64_t kMaxSize = static_cast<uint64_t>(std::numeric_limits<tmsize_t>::max());

}  // namespace

MemoryTiff::~MemoryTiff() { Close(); }

TIFF* MemoryTiff::Open(const char* mode) {
    if (tiff_ != nullptr) return nullptr;
    if (mode[0] == 'w') bytes_.clear();
    position_ = 0;
    std::unique_ptr<TIFFOpenOptions, decltype(&TIFFOpenOptionsFree)> options(TIFFOpenOptionsAlloc(),
                                                                           TIFFOpenOptionsFree);
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Silently, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Silently, nullptr);
    tiff_ = TIFFClientOpenExt("memory", mode, this, Read, Write, Seek, CloseProc, Size, nullptr, nullptr,
                              options.get());
    return tiff_;
}

void MemoryTiff::Close() {
    if (tiff_ == nullptr) return;
    TIFFClose(tiff_);
    tiff_ = nullptr;
}

tmsize_t MemoryTiff::Read(thandle_t self, void* buffer, tmsize_t size) {
    auto* tiff = static_cast<MemoryTiff*>(self);
    if (size <= 0 || tiff->position_ >= tiff->bytes_.size()) return 0;
    const uint64_t available = tiff->bytes_.size() - tiff->position_;
    const auto count = static_cast<size_t>(std::min<uint64_t>(available, static_cast<uint64_t>(size)));
    std::memcpy(buffer, tiff->bytes_.data() + tiff->position_, count);
    tiff->position_ += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t MemoryTiff::Write(thandle_t self, void* buffer, tmsize_t size) {
    auto* tiff = static_cast<MemoryTiff*>(self);
    if (size < 0) return -1;
    const uint64_t end = tiff->position_ + static_cast<uint64_t>(size);
    if (end > kMaxSize) return -1;
    try {
        if (end > tiff->bytes_.size()) tiff->bytes_.resize(static_cast<size_t>(end));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    std::memcpy(tiff->bytes_.data() + tiff->position_, buffer, static_cast<size_t>(size));
    tiff->position_ = end;
    return size;
}

toff_t MemoryTiff::Seek(thandle_t self, toff_t offset, int whence) {
    auto* tiff = static_cast<MemoryTiff*>(self);
    uint64_t target = offset;
    if (whence == SEEK_CUR || whence == SEEK_END) {
        // Relative offsets may be negative.
        const uint64_t base = whence == SEEK_CUR ? tiff->position_ : tiff->bytes_.size();
        const auto delta = static_cast<int64_t>(offset);
        if (delta < 0 && static_cast<uint64_t>(-(delta + 1)) + 1 > base) return static_cast<toff_t>(-1);
        target = base + static_cast<uint64_t>(delta);
    }
    if (target > kMaxSize) return static_cast<toff_t>(-1);
    tiff->position_ = target;
    return target;
}

int MemoryTiff::CloseProc(thandle_t) { return 0; }

toff_t MemoryTiff::Size(thandle_t self) { return static_cast<MemoryTiff*>(self)->bytes_.size(); }

}  // namespace mvimgplug
