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

TIFF* Open(const char* mode, thandle_t file, TIFFReadWriteProc read, TIFFReadWriteProc write,
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

TiffPieceFile::TiffPieceFile() { tiff_ = Open("w", this, Read, Write, Seek, CloseProc, Size, Map, Unmap, 0); }

TiffPieceFile::~TiffPieceFile() { Close(); }

bool TiffPieceFile::Close() {
    if (tiff_) {
        if (TIFFFlush(tiff_) != 1) failed_ = true;
        TIFFClose(tiff_);
        tiff_ = nullptr;
    }
    return !failed_;
}

std::vector<std::span<const std::uint8_t>> TiffPieceFile::Pieces() const {
    std::vector<std::span<const std::uint8_t>> pieces;
    bool lastLent = false;
    for (const Piece& piece : pieces_) {
        const std::span<const std::uint8_t> bytes = piece.lent.empty() ? std::span<const std::uint8_t>(piece.own)
                                                                         : piece.lent;
        // Lent strips that follow each other in memory (an uncompressed
        // page's rows) are one piece: one write for a run of them, not one
        // for each of thousands of strips.
        const bool lent = !piece.lent.empty();
        if (lent && lastLent && pieces.back().data() + pieces.back().size() == bytes.data()) {
            pieces.back() = std::span<const std::uint8_t>(pieces.back().data(), pieces.back().size() + bytes.size());
            continue;
        }
        pieces.push_back(bytes);
        lastLent = lent;
    }
    return pieces;
}

bool TiffPieceFile::Append(const std::uint8_t* bytes, std::size_t size) {
    if (!lent_.empty() && lent_.data() == bytes && lent_.size() == size) {
        pieces_.push_back(Piece{size_, lent_, {}});
        lent_ = {};
    } else {
        if (pieces_.empty() || !pieces_.back().lent.empty()) pieces_.push_back(Piece{size_, {}, {}});
        std::vector<std::uint8_t>& own = pieces_.back().own;
        own.insert(own.end(), bytes, bytes + size);
    }
    size_ += size;
    return true;
}

// Bytes written over ones already in the file: only libtiff's own bytes
// (the header's and a directory's links) are written over.
bool TiffPieceFile::Overwrite(const std::uint8_t* bytes, std::size_t size) {
    auto piece = std::upper_bound(pieces_.begin(), pieces_.end(), at_,
                                  [](std::uint64_t at, const Piece& p) { return at < p.offset; });
    if (piece == pieces_.begin()) return false;
    for (--piece; size > 0 && piece != pieces_.end(); ++piece) {
        if (!piece->lent.empty()) return false;
        const std::uint64_t into = at_ - piece->offset;
        if (into >= piece->own.size()) continue;
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, piece->own.size() - into));
        std::memcpy(piece->own.data() + into, bytes, n);
        bytes += n, size -= n, at_ += n;
    }
    return size == 0 || Append(bytes, size);
}

tmsize_t TiffPieceFile::Write(thandle_t handle, void* buffer, tmsize_t size) {
    auto* self = static_cast<TiffPieceFile*>(handle);
    if (size < 0) return -1;
    try {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        const auto count = static_cast<std::size_t>(size);
        // A directory starts on a word: the byte skipped to it is a zero.
        if (self->at_ > self->size_) {
            const std::vector<std::uint8_t> gap(static_cast<std::size_t>(self->at_ - self->size_), 0);
            self->Append(gap.data(), gap.size());
        }
        const std::uint64_t start = self->at_;
        const bool ok = start == self->size_ ? self->Append(bytes, count) : self->Overwrite(bytes, count);
        if (!ok) {
            self->failed_ = true;
            return -1;
        }
        self->at_ = start + count;
        return size;
    } catch (const std::bad_alloc&) {
        self->failed_ = true;
        return -1;
    }
}

tmsize_t TiffPieceFile::Read(thandle_t handle, void* buffer, tmsize_t size) {
    auto* self = static_cast<TiffPieceFile*>(handle);
    if (size < 0) return 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::uint64_t done = 0;
    for (const Piece& piece : self->pieces_) {
        const std::uint64_t at = self->at_ + done;
        if (done == static_cast<std::uint64_t>(size)) break;
        if (at < piece.offset || at >= piece.offset + piece.Bytes()) continue;
        const std::uint8_t* data = piece.lent.empty() ? piece.own.data() : piece.lent.data();
        const std::uint64_t n = std::min<std::uint64_t>(static_cast<std::uint64_t>(size) - done, piece.offset + piece.Bytes() - at);
        std::memcpy(out + done, data + (at - piece.offset), static_cast<std::size_t>(n));
        done += n;
    }
    self->at_ += done;
    return static_cast<tmsize_t>(done);
}

toff_t TiffPieceFile::Seek(thandle_t handle, toff_t offset, int whence) {
    auto* self = static_cast<TiffPieceFile*>(handle);
    const std::uint64_t base = whence == SEEK_CUR ? self->at_ : whence == SEEK_END ? self->size_ : 0;
    self->at_ = base + offset;
    return self->at_;
}

int TiffPieceFile::CloseProc(thandle_t) { return 0; }

toff_t TiffPieceFile::Size(thandle_t handle) { return static_cast<TiffPieceFile*>(handle)->size_; }

int TiffPieceFile::Map(thandle_t, void**, toff_t*) { return 0; }

void TiffPieceFile::Unmap(thandle_t, void*, toff_t) {}

}  // namespace gdiplus::codecs
