#pragma once
// libtiff over bytes in memory: a file being read is mapped straight from its
// bytes, a file being written grows a vector. libtiff's messages are kept
// from stderr, and a reader allocates no more at once than its caller allows.
// A library of its own (platform_gdiplus_tiff_memory), so that the codec
// plug-in reads and writes TIFF in memory through the same adapter.
#include <tiffio.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace gdiplus::codecs {

class TiffMemoryFile {
public:
    static constexpr std::uint64_t kDefaultMaxAllocation = 0x7FFF'FFFF;

    // Reading `bytes`, which must outlive the handle; libtiff allocates at
    // most `maxAllocation` bytes at once.
    explicit TiffMemoryFile(std::span<const std::uint8_t> bytes, std::uint64_t maxAllocation = kDefaultMaxAllocation);
    // Writing into `out`.
    explicit TiffMemoryFile(std::vector<std::uint8_t>& out);
    ~TiffMemoryFile();
    TiffMemoryFile(const TiffMemoryFile&) = delete;
    TiffMemoryFile& operator=(const TiffMemoryFile&) = delete;

    // The open file, or null when libtiff refused the bytes (or memory ran out).
    TIFF* tiff() const { return tiff_; }
    // Closes a file being written, which writes what is pending; false when that failed.
    bool Close();

private:
    static tmsize_t Read(thandle_t handle, void* buffer, tmsize_t size);
    static tmsize_t Write(thandle_t handle, void* buffer, tmsize_t size);
    static toff_t Seek(thandle_t handle, toff_t offset, int whence);
    static int CloseProc(thandle_t handle);
    static toff_t Size(thandle_t handle);
    static int Map(thandle_t handle, void** base, toff_t* size);
    static void Unmap(thandle_t handle, void* base, toff_t size);

    std::span<const std::uint8_t> in_;
    std::vector<std::uint8_t>* out_ = nullptr;
    std::uint64_t at_ = 0;
    TIFF* tiff_ = nullptr;
    bool failed_ = false;
};

// A file being written whose strips stay where the caller keeps them: the
// file is a list of pieces, the bytes libtiff wrote itself (header,
// directories) and spans of the caller's strip data, lent for the one write
// of a raw strip instead of copied. The pieces in order are the file, to be
// handed to a writer one after the other, so that a page's samples go from
// where they were made to the file without another page-sized copy.
class TiffPieceFile {
public:
    TiffPieceFile();
    ~TiffPieceFile();
    TiffPieceFile(const TiffPieceFile&) = delete;
    TiffPieceFile& operator=(const TiffPieceFile&) = delete;

    TIFF* tiff() const { return tiff_; }
    // The next write of exactly these bytes (TIFFWriteRawStrip's) refers to
    // them; they must outlive the pieces.
    void LendNext(const std::uint8_t* data, std::size_t size) { lent_ = {data, size}; }
    // Writes what is pending and closes; false when a write failed (libtiff
    // rewriting lent bytes is one: they are not the file's to change).
    bool Close();
    // The file in order.
    std::vector<std::span<const std::uint8_t>> Pieces() const;
    std::uint64_t Size() const { return size_; }

private:
    struct Piece {
        std::uint64_t offset = 0;
        std::span<const std::uint8_t> lent;  // empty: the bytes are `own`
        std::vector<std::uint8_t> own;
        std::uint64_t Bytes() const { return lent.empty() ? own.size() : lent.size(); }
    };

    bool Append(const std::uint8_t* bytes, std::size_t size);
    bool Overwrite(const std::uint8_t* bytes, std::size_t size);
    static tmsize_t Read(thandle_t handle, void* buffer, tmsize_t size);
    static tmsize_t Write(thandle_t handle, void* buffer, tmsize_t size);
    static toff_t Seek(thandle_t handle, toff_t offset, int whence);
    static int CloseProc(thandle_t handle);
    static toff_t Size(thandle_t handle);
    static int Map(thandle_t handle, void** base, toff_t* size);
    static void Unmap(thandle_t handle, void* base, toff_t size);

    std::vector<Piece> pieces_;
    std::span<const std::uint8_t> lent_;
    std::uint64_t size_ = 0, at_ = 0;
    TIFF* tiff_ = nullptr;
    bool failed_ = false;
};

}  // namespace gdiplus::codecs
