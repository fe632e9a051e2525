#include "imaging/output/inet/cinet.h"

#include <cmath>
#include <cstring>
#include <new>

#include "platform/win/pending_messages.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

constexpr uint32_t kOpenFlagsSecureGet = 0x801000;   // secure (the name flag is not honoured)
constexpr uint32_t kOpenFlagsReload = 0x80000000u;
constexpr uint32_t kOpenFlagsSecurePut = 0x4801000;
constexpr uint32_t kOpenFlagsNoCacheWrite = 0x4000000;
constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;

std::string Ansi(const std::string& text) { return win::Utf8ToAnsi(text); }

uint32_t OpenFlags(const std::string& action, int32_t port) {
    if (action == "GET") return port == 443 ? kOpenFlagsSecureGet : kOpenFlagsReload;
    if (action == "PUT") return port == 443 ? kOpenFlagsSecurePut : kOpenFlagsNoCacheWrite;
    return 0;
}

}  // namespace

cInet::cInet() {
    session_ = inet::InternetOpenA("morvalen", inet::INTERNET_OPEN_TYPE_PRECONFIG);
    NoteResult(session_ != 0);
}

cInet::~cInet() {
    CloseRequest();
    CloseConnection();
    if (session_ != 0) inet::InternetCloseHandle(session_);
}

void cInet::CloseRequest() {
    if (request_ != 0) inet::InternetCloseHandle(request_);
    request_ = 0;
}

void cInet::CloseConnection() {
    CloseRequest();
    if (connection_ != 0) inet::InternetCloseHandle(connection_);
    connection_ = 0;
}

void cInet::NoteResult(bool ok) { lastError_ = ok ? 0 : inet::GetLastError(); }

uint32_t cInet::Request(const std::string& sAction, const std::string& sHost, const std::string& sDirAndFile,
                        int32_t ePort, int32_t eService) {
    const uint32_t flags = OpenFlags(sAction, ePort);
    CloseConnection();
    sendResult_ = 0;
    connection_ = inet::InternetConnectA(session_, Ansi(sHost), ePort, "", "", static_cast<uint32_t>(eService), 0);
    if (connection_ == 0) {
        NoteResult(false);
        return 0;
    }
    request_ = inet::HttpOpenRequestA(connection_, Ansi(sAction), Ansi(sDirAndFile), "HTTP/1.0", "", flags);
    NoteResult(request_ != 0);
    return request_;
}

uint32_t cInet::FtpOpenSession(const std::string& sHost, int32_t ePort, const std::string& sLogin,
                               const std::string& sPassword) {
    CloseConnection();
    connection_ = inet::InternetConnectA(session_, Ansi(sHost), ePort, Ansi(sLogin), Ansi(sPassword),
                                         inet::INTERNET_SERVICE_FTP,
                                         bFtpPassiveMode ? inet::INTERNET_FLAG_PASSIVE : 0);
    NoteResult(connection_ != 0);
    return connection_;
}

int32_t cInet::SendRequest(const std::string& sHeaders, const std::string& sData) {
    const bool sent = inet::HttpSendRequestA(request_, Ansi(sHeaders), Ansi(sData));
    NoteResult(sent);
    sendResult_ = sent ? 1 : 0;
    return sendResult_;
}

int32_t cInet::QueryInfo(int32_t eQuery, std::string& sBuffer, int64_t& lBuffer) {
    const auto query = static_cast<uint32_t>(eQuery);
    bool ok = false;
    if ((query & inet::HTTP_QUERY_FLAG_REQUEST_HEADERS) != 0) {
        std::string buffer = Ansi(sBuffer);
        auto length = static_cast<uint32_t>(buffer.size());
        ok = inet::HttpQueryInfoA(request_, query, buffer.data(), &length);
        if (ok) sBuffer = win::AnsiToUtf8(buffer);
    } else if ((query & inet::HTTP_QUERY_FLAG_NUMBER) != 0) {
        // Lengths are 64-bit: a body above 2 GB reads as its size, not as a negative number.
        uint64_t number = 0;
        uint32_t length = sizeof number;
        ok = inet::HttpQueryInfoA(request_, (query & ~inet::HTTP_QUERY_FLAG_NUMBER) | inet::HTTP_QUERY_FLAG_NUMBER64,
                                  &number, &length);
        if (ok) lBuffer = number > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(number);
    } else if ((query & 0x10000000u) != 0) {
        return 0;
    } else if ((query & 11u) == 11u) {
        inet::SystemTime time;
        uint32_t length = sizeof time;
        ok = inet::HttpQueryInfoA(request_, query | inet::HTTP_QUERY_FLAG_SYSTEMTIME, &time, &length);
        if (ok) {
            sBuffer = std::to_string(time.year) + " " + std::to_string(time.day) + " " +
                      std::to_string(time.dayOfWeek) + " " + std::to_string(time.month) + " " +
                      std::to_string(time.hour) + " " + std::to_string(time.minute) + " " +
                      std::to_string(time.second) + " " + std::to_string(time.milliseconds);
        }
    } else {
        return 0;
    }
    NoteResult(ok);
    return ok ? 1 : 0;
}

bool cInet::ReadArray(std::vector<uint8_t>& bData, int64_t lLength) {
    const std::shared_ptr<cInet> keepAlive = weak_from_this().lock();
    bStopReadArray = false;
    if (lLength <= 0) return true;
    if (lLength > kMaxReadLength) {
        lastError_ = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    try {
        bData.assign(static_cast<size_t>(lLength), 0);
    } catch (const std::bad_alloc&) {
        lastError_ = ERROR_NOT_ENOUGH_MEMORY;
        return false;
    }
    lastError_ = 0;
    int64_t left = lLength;
    for (;;) {
        int64_t chunk = m_BufferSize;
        if (left < m_BufferSize) chunk = left;
        uint32_t read = 0;
        if (chunk > 0) {
            if (!inet::InternetReadFile(request_, bData.data() + (lLength - left), static_cast<uint32_t>(chunk),
                                        &read)) {
                lastError_ = inet::GetLastError();
            }
        }
        left -= read;
        auto percent = static_cast<int32_t>(std::floor(static_cast<double>(left) / static_cast<double>(lLength) * 100));
        int64_t leftArgument = left;
        int64_t total = lLength;
        if (PacketReceieved) PacketReceieved(percent, leftArgument, total);
        win::RunPendingMessages();
        if (read < 1 || left < 1 || bStopReadArray) break;
    }
    if (bStopReadArray) return false;
    // A body that ended before its announced length is a failed download.
    if (left > 0) {
        if (lastError_ == 0) lastError_ = inet::ERROR_INTERNET_CONNECTION_ABORTED;
        return false;
    }
    return true;
}

}  // namespace scanvelt
