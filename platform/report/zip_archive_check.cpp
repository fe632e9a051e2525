#include "platform/report/zip_archive_check.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace report {

namespace {

constexpr size_t kEndRecordSize = 22;
constexpr size_t kLongestComment = 0xffff;

uint32_t little32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t little16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

}  // namespace

bool isWholeZipArchive(const std::filesystem::path& file) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size < kEndRecordSize) return false;
    const size_t tail = static_cast<size_t>(std::min<uintmax_t>(size, kEndRecordSize + kLongestComment));
    std::vector<unsigned char> bytes(tail);
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(size - tail));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(tail))) return false;
    // The end record is the last one whose comment reaches exactly to the end.
    for (size_t at = tail - kEndRecordSize + 1; at-- > 0;) {
        const unsigned char* record = bytes.data() + at;
        if (little32(record) != 0x06054b50 || at + kEndRecordSize + little16(record + 20) != tail) continue;
        const uint64_t directorySize = little32(record + 12);
        const uint64_t directoryOffset = little32(record + 16);
        const uint64_t recordOffset = size - tail + at;
        return directoryOffset + directorySize == recordOffset;
    }
    return false;
}

}  // namespace report
