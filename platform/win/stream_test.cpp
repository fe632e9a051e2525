#include "platform/win/stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace win {
namespace {

std::shared_ptr<Stream> newStream(HGLOBAL block = HGLOBAL{}, bool deleteOnRelease = true) {
    std::shared_ptr<Stream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(block, deleteOnRelease, stream), S_OK);
    return stream;
}

uint64_t seek(Stream& stream, int64_t move, SeekOrigin origin) {
    uint64_t position = 0;
    EXPECT_EQ(stream.Seek(move, origin, &position), S_OK);
    return position;
}

std::string readAll(Stream& stream, uint32_t count) {
    std::string out(count, '\0');
    uint32_t done = 0;
    EXPECT_EQ(stream.Read(out.data(), count, &done), S_OK);
    out.resize(done);
    return out;
}

TEST(Stream, WriteThenReadBackAndTheBlockHoldsExactlyTheBytes) {
    auto stream = newStream();
    uint32_t written = 0;
    ASSERT_EQ(stream->Write("GIF89a", 6, &written), S_OK);
    EXPECT_EQ(written, 6u);
    EXPECT_EQ(seek(*stream, 0, SeekOrigin::Begin), 0u);
    EXPECT_EQ(readAll(*stream, 100), "GIF89a") << "a read past the end returns what there is";
    EXPECT_EQ(readAll(*stream, 10), "") << "at the end a read returns nothing, successfully";

    HGLOBAL block{};
    ASSERT_EQ(GetHGlobalFromStream(stream.get(), block), S_OK);
    EXPECT_EQ(GlobalSize(block), 6u) << "the block's size is what was written, no slack";
    EXPECT_EQ(std::memcmp(GlobalLock(block), "GIF89a", 6), 0);
    GlobalUnlock(block);

    StreamStat stat;
    ASSERT_EQ(stream->Stat(&stat), S_OK);
    EXPECT_EQ(stat.size, 6u);
    EXPECT_EQ(stat.type, STGTY_STREAM);
}

TEST(Stream, SeekTable) {
    auto stream = newStream();
    ASSERT_EQ(stream->Write("0123456789", 10, nullptr), S_OK);
    struct Case {
        int64_t move;
        SeekOrigin origin;
        HRESULT result;
        uint64_t position;  // after the call
    } cases[] = {
        {3, SeekOrigin::Begin, S_OK, 3},
        {2, SeekOrigin::Current, S_OK, 5},
        {-5, SeekOrigin::Current, S_OK, 0},
        {-1, SeekOrigin::Current, STG_E_INVALIDFUNCTION, 0},  // before the start: refused, position kept
        {-4, SeekOrigin::End, S_OK, 6},
        {5, SeekOrigin::End, S_OK, 15},  // past the end is allowed
        {INT64_MIN, SeekOrigin::End, STG_E_INVALIDFUNCTION, 15},
        {INT64_MAX, SeekOrigin::Current, STG_E_INVALIDFUNCTION, 15},
        {static_cast<int64_t>(kMaxGlobalBlockSize) + 1, SeekOrigin::Begin, STG_E_INVALIDFUNCTION, 15},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stream->Seek(c.move, c.origin, nullptr), c.result) << c.move;
        EXPECT_EQ(seek(*stream, 0, SeekOrigin::Current), c.position) << c.move;
    }
    EXPECT_EQ(stream->Seek(0, static_cast<SeekOrigin>(7), nullptr), STG_E_INVALIDFUNCTION);
}

TEST(Stream, WritingPastTheEndFillsTheGapWithZeros) {
    auto stream = newStream();
    seek(*stream, 4, SeekOrigin::Begin);
    ASSERT_EQ(stream->Write("xy", 2, nullptr), S_OK);
    seek(*stream, 0, SeekOrigin::Begin);
    EXPECT_EQ(readAll(*stream, 6), std::string("\0\0\0\0xy", 6));
}

TEST(Stream, SetSizeShrinksAndGrowsAndReadsPastTheNewEndGiveNothing) {
    auto stream = newStream();
    stream->Write("abcdef", 6, nullptr);
    ASSERT_EQ(stream->SetSize(2), S_OK);
    EXPECT_EQ(readAll(*stream, 4), "") << "the position (6) now lies past the end";
    seek(*stream, 0, SeekOrigin::Begin);
    EXPECT_EQ(readAll(*stream, 10), "ab");
    ASSERT_EQ(stream->SetSize(4), S_OK);
    seek(*stream, 0, SeekOrigin::Begin);
    EXPECT_EQ(readAll(*stream, 10), std::string("ab\0\0", 4));
    EXPECT_EQ(stream->SetSize(kMaxGlobalBlockSize + 1), STG_E_MEDIUMFULL);
}

TEST(Stream, OverAnExistingBlockStartsAtItsBeginningAndSpansItsSize) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 5);
    std::memcpy(GlobalLock(block), "hello", 5);
    GlobalUnlock(block);
    {
        auto stream = newStream(block, false);
        EXPECT_EQ(readAll(*stream, 10), "hello");
    }
    EXPECT_EQ(GlobalSize(block), 5u) << "without deleteOnRelease the block stays the caller's";
    EXPECT_EQ(GlobalFree(block), HGLOBAL{});
}

TEST(Stream, DeleteOnReleaseFreesTheBlockWithTheLastReference) {
    HGLOBAL block{};
    {
        auto stream = newStream();
        GetHGlobalFromStream(stream.get(), block);
        auto secondReference = stream;
        stream.reset();
        EXPECT_NE(GlobalLock(block), nullptr) << "still alive through the second reference";
        GlobalUnlock(block);
    }
    EXPECT_EQ(GlobalLock(block), nullptr) << "freed with the stream";
}

TEST(Stream, AStreamWhoseBlockWasFreedFailsCleanly) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
    auto stream = newStream(block, false);
    GlobalFree(block);
    char buffer[3];
    uint32_t done = 99;
    EXPECT_EQ(stream->Read(buffer, 3, &done), STG_E_INVALIDHANDLE);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(stream->Write("abc", 3, &done), STG_E_INVALIDHANDLE);
    StreamStat stat;
    EXPECT_EQ(stream->Stat(&stat), STG_E_INVALIDHANDLE);
}

TEST(Stream, RefusesBadArguments) {
    std::shared_ptr<Stream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(HGLOBAL{0x1234u}, false, stream), E_INVALIDARG);
    EXPECT_EQ(stream, nullptr);
    stream = newStream();
    EXPECT_EQ(stream->Read(nullptr, 1, nullptr), STG_E_INVALIDPOINTER);
    EXPECT_EQ(stream->Write(nullptr, 1, nullptr), STG_E_INVALIDPOINTER);
    EXPECT_EQ(stream->Stat(nullptr), STG_E_INVALIDPOINTER);
    HGLOBAL block{0x42u};
    EXPECT_EQ(GetHGlobalFromStream(nullptr, block), E_INVALIDARG);
    EXPECT_EQ(block, HGLOBAL{});
}

TEST(Stream, AFixedBlockStreamCannotGrowPastItsRoom) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 2);
    auto stream = newStream(block, true);
    EXPECT_EQ(stream->Write("ab", 2, nullptr), S_OK);
    uint32_t done = 7;
    EXPECT_EQ(stream->Write("c", 1, &done), STG_E_MEDIUMFULL);
    EXPECT_EQ(done, 0u);
    EXPECT_EQ(GlobalSize(block), 2u);
}

}  // namespace
}  // namespace win
