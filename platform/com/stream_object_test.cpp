// Reading a host's stream: the bytes arrive, a failing or oversized stream
// gives nothing, and in every case the host gets its reference back.
#include "platform/com/stream_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com/testing/host_stream.h"

namespace com {
namespace {

using com::testing::HostStream;

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
        HostStream host(c.bytes, c.failAt, 3);  // a host that serves 3 bytes at a time
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
