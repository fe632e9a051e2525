#pragma once
// A host's own stream object for tests (no stream of ours): it counts its
// references, serves its bytes at most `chunk` at a time, and fails the read
// that starts at `failAt` or later.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "platform/com/stream_object.h"

namespace com::testing {

class HostStream final : public IStream {
public:
    static constexpr size_t kNever = std::numeric_limits<size_t>::max();

    explicit HostStream(std::string bytes, size_t failAt = kNever, size_t chunk = kNever)
        : bytes_(std::move(bytes)), failAt_(failAt), chunk_(chunk) {}

    uint32_t references() const { return references_; }
    size_t position() const { return position_; }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references_; }
    // The test owns the object; a count below 1 is a fault the test sees.
    uint32_t Release() override { return --references_; }

    HRESULT Read(void* buffer, uint32_t count, uint32_t* read) override {
        if (position_ >= failAt_) return E_FAIL;
        const size_t n = std::min<size_t>({count, bytes_.size() - position_, chunk_});
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        if (read) *read = static_cast<uint32_t>(n);
        return S_OK;
    }
    HRESULT Write(const void*, uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT Seek(int64_t, uint32_t, uint64_t*) override { return E_NOTIMPL; }
    HRESULT SetSize(uint64_t) override { return E_NOTIMPL; }
    HRESULT CopyTo(IStream*, uint64_t, uint64_t*, uint64_t*) override { return E_NOTIMPL; }
    HRESULT Commit(uint32_t) override { return E_NOTIMPL; }
    HRESULT Revert() override { return E_NOTIMPL; }
    HRESULT LockRegion(uint64_t, uint64_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT UnlockRegion(uint64_t, uint64_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT Stat(STATSTG*, uint32_t) override { return E_NOTIMPL; }
    HRESULT Clone(IStream**) override { return E_NOTIMPL; }

private:
    std::string bytes_;
    size_t failAt_;
    size_t chunk_;
    size_t position_ = 0;
    uint32_t references_ = 1;
};

}  // namespace com::testing
