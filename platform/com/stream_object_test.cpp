// Reading a host's stream: the bytes arrive, a failing or oversized stream
// gives nothing, and in every case the host gets its reference back.
#include "platform/com/stream_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace com {
namespace {

// A host's own stream (no object of ours): it counts its references, serves
// its bytes in small chunks and can fail the read that starts at a given offset.
class HostStream final : public IStream {
public:
    HostStream(std::string bytes, size_t failAt) : bytes_(std::move(bytes)), failAt_(failAt) {}

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
        const size_t n = std::min<size_t>({count, bytes_.size() - position_, 3});
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
    size_t position_ = 0;
    uint32_t references_ = 1;
};

std::string contentOf(win::Stream& stream) {
    std::string text;
    char buffer[16];
    uint32_t got = 0;
    while (SUCCEEDED(stream.Read(buffer, sizeof buffer, &got)) && got > 0) text.append(buffer, got);
    return text;
}

TEST(ReadStreamObject, ReadsAHostsStreamAndAlwaysGivesItsReferenceBack) {
    const struct {
        const char* what;
        std::string bytes;
        size_t failAt;
        uint64_t limit;
        bool read;
        size_t consumed;  // bytes taken from the host: reading stops at the chunk that fails or crosses the limit
    } cases[] = {
        {"a normal read", "the host's bytes", SIZE_MAX, 1024, true, 16},
        {"an empty stream", "", SIZE_MAX, 1024, true, 0},
        {"exactly at the limit", "0123456789", SIZE_MAX, 10, true, 10},
        {"a read failing at the start", "abcdef", 0, 1024, false, 0},
        {"a read failing half-way", "abcdefghij", 6, 1024, false, 6},
        {"over the size limit", "0123456789A", SIZE_MAX, 10, false, 11},
        {"far over the size limit", std::string(30, 'x'), SIZE_MAX, 10, false, 12},
    };
    for (const auto& c : cases) {
        HostStream host(c.bytes, c.failAt);
        auto stream = ReadStreamObject(&host, c.limit);
        EXPECT_EQ(host.references(), 1u) << c.what;
        EXPECT_EQ(host.position(), c.consumed) << c.what;
        if (!c.read) {
            EXPECT_EQ(stream, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(stream, nullptr) << c.what;
        EXPECT_EQ(contentOf(*stream), c.bytes) << c.what;
    }
}

TEST(ReadStreamObject, OurOwnStreamIsTakenAsItIsAndKeepsItsOneReference) {
    std::shared_ptr<win::Stream> own;
    ASSERT_TRUE(SUCCEEDED(win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, own)));
    IStream* object = MakeStreamObject(own);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(ReadStreamObject(object, 0), own);  // no copy, so no limit applies
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
}

TEST(ReadStreamObject, AnObjectWithoutAStreamGivesNothing) {
    EXPECT_EQ(ReadStreamObject(nullptr, 10), nullptr);
}

}  // namespace
}  // namespace com
