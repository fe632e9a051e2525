// The handle table of the internet layer, sessions and connections, closing.
#include <algorithm>
#include <map>
#include <mutex>
#include <variant>

#include "platform/inet/ftp_login.h"
#include "platform/inet/http_transfer.h"
#include "platform/inet/internet_objects.h"
#include "platform/win/handles.h"

namespace inet {
namespace detail {
namespace {

using Object = std::variant<std::shared_ptr<Session>, std::shared_ptr<Connection>, std::shared_ptr<Request>>;

struct Entry {
    Object object;
    HINTERNET parent = 0;
};

struct Table {
    std::mutex mutex;
    std::map<HINTERNET, Entry> entries;
    uint32_t nextSerial = 1;
};

Table& table() {
    static Table* made = new Table();  // never destroyed: handles may be closed from static destructors
    return *made;
}

constexpr uint32_t kKindBits = static_cast<uint32_t>(win::HandleKind::Internet) << win::kHandleKindShift;

HINTERNET Add(HINTERNET parent, Object object) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    for (uint32_t tries = 0; tries < win::kHandleSerialMask; ++tries) {
        const uint32_t serial = t.nextSerial;
        t.nextSerial = serial == win::kHandleSerialMask ? 1 : serial + 1;
        const HINTERNET value = kKindBits | serial;
        if (t.entries.try_emplace(value, Entry{object, parent}).second) return value;
    }
    return 0;
}

template <class T>
std::shared_ptr<T> Find(HINTERNET handle) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.entries.find(handle);
    if (it == t.entries.end()) return nullptr;
    auto* held = std::get_if<std::shared_ptr<T>>(&it->second.object);
    return held ? *held : nullptr;
}

thread_local uint32_t lastError = 0;

}  // namespace

HINTERNET AddHandle(HINTERNET parent, std::shared_ptr<Session> object) { return Add(parent, std::move(object)); }
HINTERNET AddHandle(HINTERNET parent, std::shared_ptr<Connection> object) { return Add(parent, std::move(object)); }
HINTERNET AddHandle(HINTERNET parent, std::shared_ptr<Request> object) { return Add(parent, std::move(object)); }
std::shared_ptr<Session> FindSession(HINTERNET handle) { return Find<Session>(handle); }
std::shared_ptr<Connection> FindConnection(HINTERNET handle) { return Find<Connection>(handle); }
std::shared_ptr<Request> FindRequest(HINTERNET handle) { return Find<Request>(handle); }

bool IsOpen(HINTERNET handle) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.entries.count(handle) != 0;
}

void SetLastError(uint32_t code) { lastError = code; }

bool CurlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

std::string UrlHost(const std::string& host) {
    if (host.find(':') != std::string::npos && host.front() != '[') return "[" + host + "]";
    return host;
}

std::string EscapePath(std::string_view path, bool fileName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        const bool special = fileName && (c == '%' || c == '#' || c == '?');
        if (b <= 0x20 || b >= 0x7F || special) {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace detail

using namespace detail;

HINTERNET InternetOpenA(std::string_view agent, uint32_t accessType, std::string_view proxy, std::string_view bypass,
                        uint32_t) {
    if (!CurlReady()) {
        SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
        return 0;
    }
    auto session = std::make_shared<Session>();
    session->agent = agent;
    session->accessType = accessType;
    session->proxy = proxy;
    session->bypass = bypass;
    const HINTERNET handle = AddHandle(0, std::move(session));
    if (handle == 0) SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return handle;
}

HINTERNET InternetConnectA(HINTERNET sessionHandle, std::string_view host, int32_t port, std::string_view user,
                           std::string_view password, uint32_t service, uint32_t flags, uintptr_t) {
    auto session = FindSession(sessionHandle);
    if (!session) {
        SetLastError(IsOpen(sessionHandle) ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Every port number a server can listen on: the whole 16 bits unsigned.
    if (port < 0 || port > 65535 || host.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (service != INTERNET_SERVICE_FTP && service != INTERNET_SERVICE_HTTP) {
        SetLastError(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
        return 0;
    }
    auto connection = std::make_shared<Connection>();
    connection->session = session;
    connection->host = host;
    connection->port = port;
    connection->user = user;
    connection->password = password;
    connection->service = service;
    connection->passive = (flags & INTERNET_FLAG_PASSIVE) != 0;
    if (service == INTERNET_SERVICE_FTP) {
        if (uint32_t error = FtpLogOn(*connection); error != 0) {
            SetLastError(error);
            return 0;
        }
    }
    const HINTERNET handle = AddHandle(sessionHandle, std::move(connection));
    if (handle == 0) SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return handle;
}

bool InternetCloseHandle(HINTERNET handle) {
    // The objects are destroyed outside the lock: a transfer's clean-up may
    // take a while, and nothing of it needs the table.
    std::vector<Object> closed;
    {
        Table& t = table();
        std::lock_guard lock(t.mutex);
        if (t.entries.count(handle) == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        std::vector<HINTERNET> pending{handle};
        while (!pending.empty()) {
            const HINTERNET next = pending.back();
            pending.pop_back();
            for (const auto& [value, entry] : t.entries) {
                if (entry.parent == next) pending.push_back(value);
            }
            auto it = t.entries.find(next);
            closed.push_back(std::move(it->second.object));
            t.entries.erase(it);
        }
    }
    return true;
}

uint32_t GetLastError() { return detail::lastError; }

size_t OpenHandleCount() {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.entries.size();
}

}  // namespace inet
