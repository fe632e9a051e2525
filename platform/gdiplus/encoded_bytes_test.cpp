#include "platform/gdiplus/encoded_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

using testing_support::ScratchFolder;

std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + i / 4096);
    return bytes;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> Copy(const EncodedBytes& bytes) { return {bytes->begin(), bytes->end()}; }

// A page's file is mapped, a small one read; the bytes are the file's either way.
TEST(EncodedBytesTest, MapsLargeFilesAndReadsSmallOnesWithTheSameBytes) {
    const struct {
        std::size_t size;
        bool mapped;
    } cases[] = {{0, false}, {1, false}, {4096, false}, {(1u << 20) - 1, false}, {1u << 20, true}, {3u << 20 | 123, true}};
    ScratchFolder folder;
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> expected = Pattern(c.size);
        WriteFile(folder / "file", expected);
        EncodedBytes bytes;
        ASSERT_EQ(EncodedBytes::MapFile(folder / "file", bytes), Ok) << c.size;
        EXPECT_TRUE(bytes) << c.size;
        EXPECT_EQ(bytes.Mapped(), c.mapped) << c.size;
        EXPECT_EQ(Copy(bytes), expected) << c.size;
    }
}

TEST(EncodedBytesTest, NamesWhyAFileCannotBeHad) {
    ScratchFolder folder;
    WriteFile(folder / "file", Pattern(10));
    const struct {
        std::filesystem::path path;
        Status status;
    } cases[] = {{folder / "missing", FileNotFound}, {folder / "file" / "below", FileNotFound}, {folder.path(), Win32Error}};
    for (const auto& c : cases) {
        EncodedBytes bytes;
        EXPECT_EQ(EncodedBytes::MapFile(c.path, bytes), c.status) << c.path;
        EXPECT_FALSE(bytes) << c.path;
    }
}

// Kept in memory, the bytes stay what they were for every holder even when
// the file is cut short and rewritten afterwards.
TEST(EncodedBytesTest, BytesKeptInMemoryOutliveChangesToTheFile) {
    ScratchFolder folder;
    const std::vector<std::uint8_t> expected = Pattern(2u << 20);
    WriteFile(folder / "file", expected);
    EncodedBytes bytes;
    ASSERT_EQ(EncodedBytes::MapFile(folder / "file", bytes), Ok);
    ASSERT_TRUE(bytes.Mapped());
    const EncodedBytes kept = bytes;  // a decoder's copy, for later frames
    EXPECT_EQ(bytes.HolderCount(), 2);
    ASSERT_EQ(bytes.KeepInMemory(), Ok);
    EXPECT_FALSE(kept.Mapped());
    std::filesystem::resize_file(folder / "file", 0);
    WriteFile(folder / "file", Pattern(100));
    EXPECT_EQ(Copy(kept), expected);
    EXPECT_EQ(Copy(bytes), expected);
}

TEST(EncodedBytesTest, BytesInMemoryAreSharedAsTheyAre) {
    auto vector = std::make_shared<std::vector<std::uint8_t>>(Pattern(300));
    const EncodedBytes bytes(vector);
    EXPECT_FALSE(bytes.Mapped());
    EXPECT_EQ(bytes->data(), vector->data());
    EXPECT_EQ(bytes.KeepInMemory(), Ok);
    EXPECT_EQ(bytes->data(), vector->data());
    EXPECT_FALSE(EncodedBytes(nullptr));
    EXPECT_FALSE(EncodedBytes());
}

}  // namespace
}  // namespace gdiplus
