#include "platform/com/stream_object.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace com {
namespace {

// Answered only by our own stream objects, so that one is recognised among
// streams a host hands in (which may be no C++ objects at all).
constexpr IID kIidStreamObject = {0x5E1C0B7A, 0x3F51, 0x4C52, {0x9E, 0x6B, 0x21, 0xB3, 0x40, 0x8D, 0x1A, 0x77}};

class StreamObject final : public IStream {
public:
    explicit StreamObject(std::shared_ptr<win::Stream> stream) : stream_(std::move(stream)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == kIidStreamObject) {
            *object = this;
            AddRef();
            return S_OK;
        }
        if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        const uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT Read(void* buffer, uint32_t count, uint32_t* read) override { return stream_->Read(buffer, count, read); }
    HRESULT Write(const void* buffer, uint32_t count, uint32_t* written) override {
        return stream_->Write(buffer, count, written);
    }
    HRESULT Seek(int64_t move, uint32_t origin, uint64_t* position) override {
        if (origin > 2) return win::STG_E_INVALIDFUNCTION;
        return stream_->Seek(move, static_cast<win::SeekOrigin>(origin), position);
    }
    HRESULT SetSize(uint64_t size) override { return stream_->SetSize(size); }
    HRESULT CopyTo(IStream* target, uint64_t count, uint64_t* read, uint64_t* written) override {
        if (!target) return win::STG_E_INVALIDPOINTER;
        uint64_t totalRead = 0, totalWritten = 0;
        std::vector<uint8_t> buffer(64 * 1024);
        HRESULT hr = S_OK;
        while (totalRead < count) {
            const auto chunk = static_cast<uint32_t>(std::min<uint64_t>(buffer.size(), count - totalRead));
            uint32_t got = 0, put = 0;
            if (FAILED(hr = stream_->Read(buffer.data(), chunk, &got)) || got == 0) break;
            totalRead += got;
            if (FAILED(hr = target->Write(buffer.data(), got, &put))) break;
            totalWritten += put;
        }
        if (read) *read = totalRead;
        if (written) *written = totalWritten;
        return hr;
    }
    HRESULT Commit(uint32_t) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT LockRegion(uint64_t, uint64_t, uint32_t) override { return win::STG_E_INVALIDFUNCTION; }
    HRESULT UnlockRegion(uint64_t, uint64_t, uint32_t) override { return win::STG_E_INVALIDFUNCTION; }
    HRESULT Stat(STATSTG* stat, uint32_t) override {
        if (!stat) return win::STG_E_INVALIDPOINTER;
        win::StreamStat own;
        HRESULT hr = stream_->Stat(&own);
        if (FAILED(hr)) return hr;
        *stat = STATSTG{};
        stat->type = own.type;
        stat->cbSize = own.size;
        return S_OK;
    }
    // A second cursor over the same bytes is not offered.
    HRESULT Clone(IStream** clone) override {
        if (clone) *clone = nullptr;
        return E_NOTIMPL;
    }

    const std::shared_ptr<win::Stream>& stream() const { return stream_; }

private:
    ~StreamObject() = default;

    std::shared_ptr<win::Stream> stream_;
    std::atomic<uint32_t> references_{1};
};

}  // namespace

IStream* MakeStreamObject(std::shared_ptr<win::Stream> stream) {
    return stream ? new StreamObject(std::move(stream)) : nullptr;
}

std::shared_ptr<win::Stream> StreamOfObject(IUnknown* object) {
    void* own = nullptr;
    if (!object || object->QueryInterface(kIidStreamObject, &own) != S_OK || !own) return nullptr;
    auto* stream = static_cast<StreamObject*>(own);
    std::shared_ptr<win::Stream> result = stream->stream();
    stream->Release();
    return result;
}

std::shared_ptr<win::Stream> ReadStreamObject(IUnknown* object, uint64_t limit) {
    if (auto own = StreamOfObject(object)) return own;
    IStream* host = nullptr;
    if (!object || object->QueryInterface(IID_IStream, reinterpret_cast<void**>(&host)) != S_OK || !host)
        return nullptr;
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> chunk(1 << 20);
    bool sound = true;
    for (;;) {
        uint32_t read = 0;
        if (FAILED(host->Read(chunk.data(), static_cast<uint32_t>(chunk.size()), &read)) || read > chunk.size() ||
            bytes.size() + read > limit) {
            sound = false;
            break;
        }
        if (read == 0) break;
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + read);
    }
    host->Release();
    if (!sound) return nullptr;
    win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE, bytes.size());
    if (block == win::HGLOBAL{}) return nullptr;
    if (!bytes.empty()) {
        void* at = win::GlobalLock(block);
        if (!at) {
            win::GlobalFree(block);
            return nullptr;
        }
        std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(at));
        win::GlobalUnlock(block);
    }
    std::shared_ptr<win::Stream> stream;
    if (FAILED(win::CreateStreamOnHGlobal(block, true, stream))) {
        win::GlobalFree(block);
        return nullptr;
    }
    return stream;
}

}  // namespace com
