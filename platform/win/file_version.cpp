#include "platform/win/file_version.h"

#include "platform/win/environment.h"
#include "platform/win/version_note.h"
#include "platform/win/windows_path.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace win {
namespace {

constexpr uint32_t kProgramHeaderNote = 4;
constexpr uint64_t kMaxNoteSegment = 1u << 20;
constexpr uint16_t kManyProgramHeaders = 0xFFFF;

// Reads fixed-size little- or big-endian fields out of a byte buffer.
class FieldReader {
public:
    FieldReader(const std::vector<uint8_t>& bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}
    std::optional<uint64_t> read(uint64_t offset, int width) const {
        if (offset > bytes_.size() || static_cast<uint64_t>(width) > bytes_.size() - offset) return std::nullopt;
        uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            int index = bigEndian_ ? i : width - 1 - i;
            value = (value << 8) | bytes_[static_cast<size_t>(offset) + index];
        }
        return value;
    }

private:
    const std::vector<uint8_t>& bytes_;
    bool bigEndian_;
};

class ElfFile {
public:
    explicit ElfFile(const std::string& path) : stream_(path, std::ios::binary) {
        if (stream_) {
            stream_.seekg(0, std::ios::end);
            size_ = static_cast<uint64_t>(stream_.tellg());
        }
    }
    bool isOpen() const { return static_cast<bool>(stream_); }
    uint64_t size() const { return size_; }

    // The bytes at [offset, offset + count); nullopt when they lie outside the file.
    std::optional<std::vector<uint8_t>> bytesAt(uint64_t offset, uint64_t count) {
        if (offset > size_ || count > size_ - offset) return std::nullopt;
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        stream_.clear();
        stream_.seekg(static_cast<std::streamoff>(offset));
        if (!stream_.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count))) return std::nullopt;
        return bytes;
    }

private:
    std::ifstream stream_;
    uint64_t size_ = 0;
};

struct NoteScan {
    bool broken = false;
    std::optional<FileVersion> version;
};

uint64_t alignUp(uint64_t value, uint64_t alignment) { return (value + alignment - 1) / alignment * alignment; }

NoteScan scanNotes(const std::vector<uint8_t>& segment, bool bigEndian, uint64_t alignment) {
    FieldReader fields(segment, bigEndian);
    NoteScan scan;
    uint64_t pos = 0;
    while (pos + 12 <= segment.size()) {
        uint64_t ownerSize = *fields.read(pos, 4);
        uint64_t descriptorSize = *fields.read(pos + 4, 4);
        uint64_t type = *fields.read(pos + 8, 4);
        uint64_t owner = pos + 12;
        uint64_t descriptor = owner + alignUp(ownerSize, alignment);
        uint64_t next = descriptor + alignUp(descriptorSize, alignment);
        if (next > segment.size()) {
            scan.broken = true;
            return scan;
        }
        if (type == kFileVersionNoteType && ownerSize == sizeof kFileVersionNoteOwner &&
            std::memcmp(segment.data() + owner, kFileVersionNoteOwner, sizeof kFileVersionNoteOwner) == 0 &&
            descriptorSize == 8) {
            FileVersion version{};
            for (int i = 0; i < 4; ++i) version[i] = static_cast<uint16_t>(*fields.read(descriptor + 2 * i, 2));
            scan.version = version;
            return scan;
        }
        pos = next;
    }
    return scan;
}

FileVersionInfo brokenFile() { return {FileVersionStatus::Error, {}}; }

}  // namespace

FileVersionInfo ReadFileVersion(const std::string& path) {
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    ElfFile file(path);
    if (!file.isOpen()) return {};
    auto ident = file.bytesAt(0, 16);
    if (!ident || std::memcmp(ident->data(), "\x7f" "ELF", 4) != 0) return {};
    uint8_t elfClass = (*ident)[4];
    uint8_t encoding = (*ident)[5];
    if ((elfClass != 1 && elfClass != 2) || (encoding != 1 && encoding != 2)) return brokenFile();
    bool wide = elfClass == 2;
    bool bigEndian = encoding == 2;

    auto header = file.bytesAt(0, wide ? 64 : 52);
    if (!header) return brokenFile();
    FieldReader headerFields(*header, bigEndian);
    uint64_t tableOffset = *headerFields.read(wide ? 0x20 : 0x1C, wide ? 8 : 4);
    uint64_t entrySize = *headerFields.read(wide ? 0x36 : 0x2A, 2);
    uint64_t entryCount = *headerFields.read(wide ? 0x38 : 0x2C, 2);
    if (entryCount == kManyProgramHeaders) return {};
    if (entryCount == 0) return {};
    if (entrySize < (wide ? 56u : 32u)) return brokenFile();
    auto table = file.bytesAt(tableOffset, entrySize * entryCount);
    if (!table) return brokenFile();
    FieldReader entries(*table, bigEndian);

    for (uint64_t i = 0; i < entryCount; ++i) {
        uint64_t entry = i * entrySize;
        if (*entries.read(entry, 4) != kProgramHeaderNote) continue;
        uint64_t offset = *entries.read(entry + (wide ? 8 : 4), wide ? 8 : 4);
        uint64_t fileSize = *entries.read(entry + (wide ? 32 : 16), wide ? 8 : 4);
        uint64_t alignment = *entries.read(entry + (wide ? 48 : 28), wide ? 8 : 4) == 8 ? 8 : 4;
        if (fileSize > kMaxNoteSegment) continue;
        auto segment = file.bytesAt(offset, fileSize);
        if (!segment) return brokenFile();
        NoteScan scan = scanNotes(*segment, bigEndian, alignment);
        if (scan.version) return {FileVersionStatus::Found, *scan.version};
        if (scan.broken) return brokenFile();
    }
    return {};
}

namespace {

bool isRegularFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string folderOfAddress(const void* address) {
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || !info.dli_fname) return {};
    return folderOf(info.dli_fname);
}

std::string programFolder() {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return folderOf(std::string(buffer, static_cast<size_t>(n)));
}

std::vector<std::string> searchFolders() {
    std::vector<std::string> folders;
    if (const char* libraryPath = std::getenv("LD_LIBRARY_PATH")) {
        std::string_view rest(libraryPath);
        while (!rest.empty()) {
            size_t colon = rest.find(':');
            std::string_view folder = rest.substr(0, colon);
            if (!folder.empty()) folders.emplace_back(folder);
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
    }
    folders.push_back(folderOfAddress(reinterpret_cast<const void*>(&FindLibraryFile)));
    folders.push_back(programFolder());
    folders.push_back("/usr/local/lib");
    folders.push_back(folderOfAddress(::dlsym(RTLD_DEFAULT, "fopen")));
    folders.push_back("/usr/lib");
    folders.push_back("/lib");
    return folders;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string sharedObjectName(std::string_view name) {
    constexpr std::string_view kDll = ".dll";
    if (name.size() > kDll.size() && EqualsNoCase(name.substr(name.size() - kDll.size()), kDll)) {
        return "lib" + lowerCase(name.substr(0, name.size() - kDll.size())) + ".so";
    }
    return std::string(name);
}

struct BuiltinModules {
    std::mutex mutex;
    std::map<std::string, FileVersion> versions;
};

BuiltinModules& builtinModules() {
    static BuiltinModules modules;
    return modules;
}

}  // namespace

std::string FindLibraryFile(std::string_view name) {
    if (name.empty()) return {};
    if (name.find_first_of("/\\") != std::string_view::npos) {
        std::string path = ResolveWindowsPath(name);
        return isRegularFile(path) ? path : std::string();
    }
    std::string fileName = sharedObjectName(name);
    for (const std::string& folder : searchFolders()) {
        if (folder.empty()) continue;
        std::string candidate = ResolveWindowsPath(folder + "/" + fileName);
        if (isRegularFile(candidate)) return candidate;
    }
    return {};
}

void RegisterBuiltinModuleVersion(std::string_view dllName, const FileVersion& version) {
    auto& modules = builtinModules();
    std::lock_guard lock(modules.mutex);
    modules.versions[lowerCase(dllName)] = version;
}

FileVersionInfo ReadModuleVersion(std::string_view name) {
    {
        auto& modules = builtinModules();
        std::lock_guard lock(modules.mutex);
        auto it = modules.versions.find(lowerCase(name));
        if (it != modules.versions.end()) return {FileVersionStatus::Found, it->second};
    }
    std::string path = FindLibraryFile(name);
    if (path.empty()) return {};
    return ReadFileVersion(path);
}

}  // namespace win
