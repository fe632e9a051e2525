#include "platform/win/stream.h"

#include <algorithm>
#include <cstring>

namespace win {
namespace {

class GlobalMemoryStream final : public Stream {
public:
    GlobalMemoryStream(HGLOBAL block, bool deleteOnRelease) : block_(block), deleteOnRelease_(deleteOnRelease) {}
    ~GlobalMemoryStream() override {
        if (deleteOnRelease_) GlobalFree(block_);
    }

    HGLOBAL block() const { return block_; }

    HRESULT Read(void* buffer, uint32_t count, uint32_t* bytesRead) override {
        if (bytesRead) *bytesRead = 0;
        if (!buffer && count > 0) return STG_E_INVALIDPOINTER;
        auto* bytes = static_cast<uint8_t*>(GlobalLock(block_));
        if (!bytes) return STG_E_INVALIDHANDLE;
        uint64_t size = GlobalSize(block_);
        uint64_t available = position_ < size ? size - position_ : 0;
        uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(count, available));
        if (n > 0) std::memcpy(buffer, bytes + position_, n);
        GlobalUnlock(block_);
        position_ += n;
        if (bytesRead) *bytesRead = n;
        return S_OK;
    }

    HRESULT Write(const void* buffer, uint32_t count, uint32_t* bytesWritten) override {
        if (bytesWritten) *bytesWritten = 0;
        if (!buffer && count > 0) return STG_E_INVALIDPOINTER;
        if (count == 0) return S_OK;
        uint64_t end = position_ + count;
        if (end > kMaxGlobalBlockSize) return STG_E_MEDIUMFULL;
        if (end > GlobalSize(block_)) {
            HRESULT grown = SetSize(end);
            if (FAILED(grown)) return grown;
        }
        auto* bytes = static_cast<uint8_t*>(GlobalLock(block_));
        if (!bytes) return STG_E_INVALIDHANDLE;
        std::memcpy(bytes + position_, buffer, count);
        GlobalUnlock(block_);
        position_ = end;
        if (bytesWritten) *bytesWritten = count;
        return S_OK;
    }

    HRESULT Seek(int64_t move, SeekOrigin origin, uint64_t* newPosition) override {
        int64_t base = 0;
        switch (origin) {
            case SeekOrigin::Begin: base = 0; break;
            case SeekOrigin::Current: base = static_cast<int64_t>(position_); break;
            case SeekOrigin::End: base = static_cast<int64_t>(GlobalSize(block_)); break;
            default: return STG_E_INVALIDFUNCTION;
        }
        int64_t target = 0;
        if (__builtin_add_overflow(base, move, &target) || target < 0 ||
            static_cast<uint64_t>(target) > kMaxGlobalBlockSize) {
            return STG_E_INVALIDFUNCTION;
        }
        position_ = static_cast<uint64_t>(target);
        if (newPosition) *newPosition = position_;
        return S_OK;
    }

    HRESULT SetSize(uint64_t size) override {
        if (size > kMaxGlobalBlockSize) return STG_E_MEDIUMFULL;
        if (!GlobalLock(block_)) return STG_E_INVALIDHANDLE;
        GlobalUnlock(block_);
        if (GlobalReAlloc(block_, static_cast<size_t>(size), GMEM_MOVEABLE) == HGLOBAL{}) return STG_E_MEDIUMFULL;
        return S_OK;
    }

    HRESULT Stat(StreamStat* stat) override {
        if (!stat) return STG_E_INVALIDPOINTER;
        if (!GlobalLock(block_)) return STG_E_INVALIDHANDLE;
        GlobalUnlock(block_);
        stat->type = STGTY_STREAM;
        stat->size = GlobalSize(block_);
        return S_OK;
    }

private:
    const HGLOBAL block_;
    const bool deleteOnRelease_;
    uint64_t position_ = 0;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL block, bool deleteOnRelease, std::shared_ptr<Stream>& stream) {
    stream.reset();
    if (block == HGLOBAL{}) {
        block = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (block == HGLOBAL{}) return E_OUTOFMEMORY;
    } else if (!GlobalLock(block)) {
        return E_INVALIDARG;
    } else {
        GlobalUnlock(block);
    }
    stream = std::make_shared<GlobalMemoryStream>(block, deleteOnRelease);
    return S_OK;
}

HRESULT GetHGlobalFromStream(const Stream* stream, HGLOBAL& block) {
    block = HGLOBAL{};
    auto* memoryStream = dynamic_cast<const GlobalMemoryStream*>(stream);
    if (!memoryStream) return E_INVALIDARG;
    block = memoryStream->block();
    return S_OK;
}

}  // namespace win
