#include "imaging/output/pdf_object_writer.h"

#include <cstdio>

namespace scanvelt {
namespace {

// Bytes collected before they go to the file: one system call per block, not per line.
constexpr size_t kFlushThreshold = 1 << 18;

std::string Offset10(uint64_t offset) {
    char text[24];
    std::snprintf(text, sizeof text, "%010llu", static_cast<unsigned long long>(offset));
    return text;
}

int32_t NextFileNumber() {
    // Like the file numbers a program hands out: small, never 0.
    static thread_local int32_t next = 0;
    next = next % 511 + 1;
    return next;
}

}  // namespace

MorvalenStatus PdfObjectWriter::Open(const std::filesystem::path& path) {
    Discard();
    auto file = std::make_unique<gdiplus::AtomicFileWriter>();
    const gdiplus::Status status = file->Open(path);
    if (status != gdiplus::Ok) return static_cast<MorvalenStatus>(status);
    file_ = std::move(file);
    open_ = true;
    highest_ = 0;
    offsets_.clear();
    fileNumber_ = NextFileNumber();
    buffer_.clear();
    flushed_ = 0;
    status_ = OK;
    return OK;
}

void PdfObjectWriter::Fail(MorvalenStatus status) {
    if (status_ == OK) status_ = status;
}

void PdfObjectWriter::Flush() {
    if (buffer_.empty()) return;
    if (status_ == OK) {
        const gdiplus::Status status =
            file_->Write({reinterpret_cast<const uint8_t*>(buffer_.data()), buffer_.size()});
        if (status != gdiplus::Ok) Fail(static_cast<MorvalenStatus>(status));
    }
    flushed_ += buffer_.size();
    buffer_.clear();
}

void PdfObjectWriter::Write(std::string_view bytes) {
    if (!open_) return;
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushThreshold) Flush();
}

void PdfObjectWriter::Write(std::span<const uint8_t> bytes) {
    Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void PdfObjectWriter::WriteLine(std::string_view text) {
    if (!open_) return;
    Write(text);
    Write(std::string_view("\r\n"));
}

void PdfObjectWriter::WriteBytesLine(std::span<const uint8_t> bytes) {
    if (!open_) return;
    Write(bytes);
    Write(std::string_view("\r\n"));
}

int32_t PdfObjectWriter::BeginObject(int32_t number) {
    if (!open_) return 0;
    if (number == 0) number = highest_ + 1;
    if (number > kMaxObjectNumber || number < 1) {
        Fail(ValueOverflow);
        return 0;
    }
    if (number > highest_) highest_ = number;
    if (offsets_.size() < static_cast<size_t>(highest_)) offsets_.resize(static_cast<size_t>(highest_), -1);
    offsets_[static_cast<size_t>(number - 1)] = static_cast<int64_t>(Position());
    WriteLine(std::to_string(number) + " 0 obj");
    return number;
}

int32_t PdfObjectWriter::ReserveObjectNumber() {
    if (!open_) return 0;
    if (highest_ + 1 > kMaxObjectNumber) {
        Fail(ValueOverflow);
        return 0;
    }
    return ++highest_;
}

void PdfObjectWriter::WriteCrossReferenceAndTrailer(std::string_view trailerDictionary) {
    if (!open_) return;
    const uint64_t start = Position();
    if (offsets_.size() < static_cast<size_t>(highest_)) offsets_.resize(static_cast<size_t>(highest_), -1);
    std::string table = "xref\r\n0 " + std::to_string(highest_ + 1) + "\r\n0000000000 65535 f\r\n";
    table.reserve(table.size() + offsets_.size() * 20);
    for (int32_t n = 0; n < highest_; ++n) {
        const int64_t offset = offsets_[static_cast<size_t>(n)];
        // A number handed out but never written stays free rather than
        // pointing at the start of the file.
        table += offset < 0 ? "0000000000 65535 f\r\n" : Offset10(static_cast<uint64_t>(offset)) + " 00000 n\r\n";
    }
    Write(table);
    WriteLine("trailer");
    WriteLine(trailerDictionary);
    WriteLine("startxref");
    WriteLine(std::to_string(start));
    WriteLine("%%EOF");
}

MorvalenStatus PdfObjectWriter::Commit() {
    if (!open_) return status_;
    Flush();
    if (status_ == OK) {
        const gdiplus::Status status = file_->Commit();
        if (status != gdiplus::Ok) Fail(static_cast<MorvalenStatus>(status));
    }
    const MorvalenStatus result = status_;
    Discard();
    status_ = result;
    return result;
}

void PdfObjectWriter::Discard() {
    // A writer that was not committed removes its temporary file.
    file_.reset();
    open_ = false;
    buffer_.clear();
}

}  // namespace scanvelt
