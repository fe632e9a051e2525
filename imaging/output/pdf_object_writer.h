#pragma once
// The file side of the PDF writer: bytes go forward only into a file written
// under a temporary name (gdiplus::AtomicFileWriter), objects are numbered and
// their offsets kept for the cross-reference table, and the finished file is
// renamed into place at Commit. The first failure (a write refused, an object
// number past the format's limit) is kept: later writes are skipped, and
// Commit removes the file and reports it.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/file_io.h"

namespace scanvelt {

class PdfObjectWriter {
public:
    // Object numbers are 16-bit signed in the writer's records.
    static constexpr int32_t kMaxObjectNumber = 32767;

    // Starts a new file at `path` (written under a temporary name beside it),
    // with no object numbered yet.
    MorvalenStatus Open(const std::filesystem::path& path);
    bool IsOpen() const { return open_; }
    // A number that stands for the open file, 0 when none is open.
    int32_t FileNumber() const { return open_ ? fileNumber_ : 0; }

    void Write(std::string_view bytes);
    void Write(std::span<const uint8_t> bytes);
    // The text and "\r\n"; nothing when no file is open.
    void WriteLine(std::string_view text);
    void WriteBytesLine(std::span<const uint8_t> bytes);
    // Bytes from the start of the file to the next byte written.
    uint64_t Position() const { return flushed_ + buffer_.size(); }

    // Hands out `number` (0: the next free one), records its offset and
    // writes "{n} 0 obj". 0 when no file is open, or, with the failure kept
    // as ValueOverflow, when the number would pass kMaxObjectNumber.
    int32_t BeginObject(int32_t number);
    void EndObject() { WriteLine("endobj"); }
    // The next number BeginObject(0) would hand out, taken without writing
    // its object now; its offset is recorded when BeginObject(number) writes
    // it. 0 (and ValueOverflow) past the limit.
    int32_t ReserveObjectNumber();
    int32_t HighestObjectNumber() const { return highest_; }
    void SetHighestObjectNumber(int32_t number) { highest_ = number; }

    // "xref", the table of every number up to the highest, "trailer", the
    // dictionary, "startxref", its offset and "%%EOF".
    void WriteCrossReferenceAndTrailer(std::string_view trailerDictionary);

    // Renames the finished file into place: Ok, or the failure kept (the
    // temporary file is then removed). The writer is closed either way.
    MorvalenStatus Commit();
    // Closes and removes the file without finishing it.
    void Discard();

    // Ok, or the first failure since Open.
    MorvalenStatus Status() const { return status_; }
    void Fail(MorvalenStatus status);

private:
    void Flush();

    std::unique_ptr<gdiplus::AtomicFileWriter> file_;
    bool open_ = false;
    int32_t fileNumber_ = 0;
    std::string buffer_;
    uint64_t flushed_ = 0;
    int32_t highest_ = 0;
    // Offset of object i + 1; -1 while it is not written.
    std::vector<int64_t> offsets_;
    MorvalenStatus status_ = OK;
};

}  // namespace scanvelt
