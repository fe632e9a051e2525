#include "petty/scanning/file_stamp.h"

#include <sys/stat.h>

namespace petty {

FileStamp stampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    return {true, static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            static_cast<int64_t>(info.st_size)};
}

bool writtenSince(const FileStamp& before, const std::filesystem::path& file) {
    const FileStamp now = stampOf(file);
    return now.exists && !(now == before);
}

}  // namespace petty
