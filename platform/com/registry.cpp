#include "platform/com/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files/atomic_file_writer.h"

namespace com {
namespace {

constexpr std::string_view kHeader = "; Scanvelt class registry 1";
constexpr uintmax_t kMaxRegistryBytes = 16u << 20;

std::string fold(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c == '/') c = '\\';
    }
    return out;
}

std::string escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '=') out += "\\e";
        else out += c;
    }
    return out;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 'e': out += '='; break;
            default: return std::nullopt;
        }
    }
    return out;
}

}  // namespace

std::string Registry::DefaultPath() {
    if (const char* moved = std::getenv(kRegistryVariable); moved && *moved) return moved;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/scanvelt/registry";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/scanvelt/registry";
}

void Registry::CreateKey(std::string_view key) {
    Key& k = keys_[fold(key)];
    if (k.name.empty()) k.name = std::string(key);
}

void Registry::SetValue(std::string_view key, std::string_view name, std::string_view value) {
    Key& k = keys_[fold(key)];
    if (k.name.empty()) k.name = std::string(key);
    k.values[fold(name)] = {std::string(name), std::string(value)};
}

std::optional<std::string> Registry::GetValue(std::string_view key, std::string_view name) const {
    auto k = keys_.find(fold(key));
    if (k == keys_.end()) return std::nullopt;
    auto v = k->second.values.find(fold(name));
    if (v == k->second.values.end()) return std::nullopt;
    return v->second.second;
}

bool Registry::HasKey(std::string_view key) const { return keys_.count(fold(key)) != 0; }

void Registry::DeleteTree(std::string_view key) {
    std::string folded = fold(key);
    for (auto it = keys_.begin(); it != keys_.end();) {
        const std::string& k = it->first;
        bool below = k == folded || (k.size() > folded.size() && k.compare(0, folded.size(), folded) == 0 &&
                                     k[folded.size()] == '\\');
        it = below ? keys_.erase(it) : std::next(it);
    }
}

std::vector<std::string> Registry::Keys() const {
    std::vector<std::string> out;
    for (const auto& [folded, key] : keys_) out.push_back(key.name);
    return out;
}

std::string Registry::Serialize() const {
    std::ostringstream out;
    out << kHeader << "\n";
    for (const auto& [folded, key] : keys_) {
        out << "[" << escape(key.name) << "]\n";
        for (const auto& [foldedName, value] : key.values)
            out << (value.first.empty() ? "@" : escape(value.first)) << "=" << escape(value.second) << "\n";
    }
    return out.str();
}

std::optional<Registry> Registry::Parse(std::string_view text) {
    Registry registry;
    std::string current;
    bool inKey = false;
    bool first = true;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (first) {
            if (line != kHeader) return std::nullopt;
            first = false;
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return std::nullopt;
            auto key = unescape(line.substr(1, line.size() - 2));
            if (!key || key->empty()) return std::nullopt;
            current = *key;
            Key& k = registry.keys_[fold(current)];
            if (k.name.empty()) k.name = current;
            inKey = true;
            continue;
        }
        size_t equals = line.find('=');
        if (!inKey || equals == std::string_view::npos) return std::nullopt;
        std::string_view rawName = line.substr(0, equals);
        auto name = rawName == "@" ? std::optional<std::string>("") : unescape(rawName);
        auto value = unescape(line.substr(equals + 1));
        if (!name || !value) return std::nullopt;
        registry.SetValue(current, *name, *value);
    }
    if (first) return std::nullopt;
    return registry;
}

HRESULT Registry::Load(const std::string& path, Registry& registry) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        if (error) return REGDB_E_READREGDB;
        registry = Registry{};
        return S_OK;
    }
    auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxRegistryBytes) return REGDB_E_READREGDB;
    std::ifstream in(path, std::ios::binary);
    if (!in) return REGDB_E_READREGDB;
    std::string text(static_cast<size_t>(size), '\0');
    if (size && !in.read(text.data(), static_cast<std::streamsize>(size))) return REGDB_E_READREGDB;
    auto parsed = Parse(text);
    if (!parsed) return REGDB_E_READREGDB;
    registry = std::move(*parsed);
    return S_OK;
}

HRESULT Registry::Save(const std::string& path) const {
    std::error_code error;
    auto folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    return files::writeFileAtomically(path, Serialize(), 0600) ? REGDB_E_WRITEREGDB : S_OK;
}

namespace {

// Runs `step` holding the registry's lock file (made with its folder when
// missing); REGDB_E_WRITEREGDB when the lock cannot be had.
HRESULT WithRegistryLocked(const std::string& path, const std::function<HRESULT()>& step) {
    std::error_code error;
    auto folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    std::string lockPath = path + ".lock";
    int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0) return REGDB_E_WRITEREGDB;
    while (::flock(lock, LOCK_EX) != 0 && errno == EINTR) {
    }
    const HRESULT hr = step();
    ::close(lock);
    return hr;
}

// "20261211T110512": when a damaged file was set aside.
std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%S", &local);
    return text;
}

}  // namespace

HRESULT UpdateRegistry(const std::string& path, const std::function<void(Registry&)>& change) {
    return WithRegistryLocked(path, [&] {
        Registry registry;
        HRESULT hr = Registry::Load(path, registry);
        if (SUCCEEDED(hr)) {
            change(registry);
            hr = registry.Save(path);
        }
        return hr;
    });
}

HRESULT SetAsideDamagedRegistry(const std::string& path, std::string* keptAs) {
    if (keptAs) keptAs->clear();
    return WithRegistryLocked(path, [&]() -> HRESULT {
        std::error_code error;
        if (!std::filesystem::exists(path, error)) return error ? REGDB_E_READREGDB : S_OK;
        // A file that cannot be opened is not judged: its permissions are the user's to mend.
        std::ifstream in(path, std::ios::binary);
        if (!in) return REGDB_E_READREGDB;
        const uintmax_t size = std::filesystem::file_size(path, error);
        if (error) return REGDB_E_READREGDB;
        if (size <= kMaxRegistryBytes) {
            std::string text(static_cast<size_t>(size), '\0');
            if (size && !in.read(text.data(), static_cast<std::streamsize>(size))) return REGDB_E_READREGDB;
            if (Registry::Parse(text)) return S_OK;
        }
        std::string kept = path + ".damaged-" + timeStamp();
        for (int n = 2; std::filesystem::exists(kept, error); ++n)
            kept = path + ".damaged-" + timeStamp() + "-" + std::to_string(n);
        if (::rename(path.c_str(), kept.c_str()) != 0) return REGDB_E_WRITEREGDB;
        if (keptAs) *keptAs = kept;
        return S_OK;
    });
}

}  // namespace com
