#pragma once
// The encoded bytes of a file or stream, shared so that a decoder can keep
// them for the frames it decodes later. They are either bytes in memory or a
// file mapped read-only: a page's file is tens of megabytes, and reading it
// costs a fresh buffer (zeroed and faulted in by the kernel) and a copy of
// every byte, where a mapping reads the file's cached pages in place.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/gdiplus/status.h"

namespace gdiplus {

class EncodedBytes {
public:
    EncodedBytes() = default;
    EncodedBytes(std::nullptr_t) {}  // NOLINT: no bytes, as a null pointer to them was
    // Bytes in memory, shared with the caller (who changes them no more).
    template <class Vector,
              std::enable_if_t<std::is_same_v<std::remove_const_t<Vector>, std::vector<std::uint8_t>>, int> = 0>
    EncodedBytes(std::shared_ptr<Vector> bytes)  // NOLINT: a vector of bytes is encoded bytes
        : EncodedBytes(bytes ? std::make_shared<Holder>(std::shared_ptr<const std::vector<std::uint8_t>>(bytes))
                             : nullptr) {}

    // The file at `path` mapped read-only. FileNotFound, AccessDenied or
    // Win32Error as ReadWholeFile gives them; a file that is not a regular
    // one (a pipe, a device) or is empty is read into memory instead.
    static Status MapFile(const std::filesystem::path& path, EncodedBytes& bytes);

    explicit operator bool() const { return holder_ != nullptr; }
    const std::span<const std::uint8_t>& operator*() const { return holder_->bytes; }
    const std::span<const std::uint8_t>* operator->() const { return &holder_->bytes; }

    // Whether the bytes are a mapped file.
    bool Mapped() const { return holder_ && holder_->mapping != nullptr; }
    // Mapped bytes become a copy in memory, for every holder of them: a
    // mapping read after its decoder returned (a later frame) would fault if
    // the file were cut short meanwhile, a copy cannot. Nothing for bytes in
    // memory; OutOfMemory when the copy cannot be made (the mapping stays).
    Status KeepInMemory() const;
    // The caller has read bytes [offset, offset + length) and needs them no
    // more for now: the whole pages of a mapped file among them leave the
    // process's memory (a later read maps them again from the file's cache),
    // so that a decoder holds no more of the file than it is working on
    // beside the pixels it makes. Nothing for bytes in memory.
    void DropPages(std::uint64_t offset, std::uint64_t length) const;
    // How many hold these bytes (this one included); 0 for none.
    long HolderCount() const { return holder_.use_count(); }

private:
    // A file's pages mapped, unmapped with the last holder.
    struct Mapping {
        void* base = nullptr;
        std::size_t size = 0;
        Mapping() = default;
        Mapping(const Mapping&) = delete;
        Mapping& operator=(const Mapping&) = delete;
        ~Mapping();
    };
    struct Holder {
        explicit Holder(std::shared_ptr<const std::vector<std::uint8_t>> v)
            : bytes(v ? std::span<const std::uint8_t>(*v) : std::span<const std::uint8_t>()), memory(std::move(v)) {}
        Holder(std::span<const std::uint8_t> b, std::unique_ptr<Mapping> m) : bytes(b), mapping(std::move(m)) {}
        std::span<const std::uint8_t> bytes;
        std::shared_ptr<const std::vector<std::uint8_t>> memory;
        std::unique_ptr<Mapping> mapping;
    };
    explicit EncodedBytes(std::shared_ptr<Holder> holder) : holder_(std::move(holder)) {}

    std::shared_ptr<Holder> holder_;
};

}  // namespace gdiplus
