// HTTP requests on a connection: open, send, query the answer, read its body.
#include <time.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

#include "platform/inet/http_transfer.h"
#include "platform/inet/internet_objects.h"

namespace inet {
namespace detail {

Request::~Request() = default;

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string> HeaderLinesOf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) lines.push_back(std::move(line));
    }
    return lines;
}

std::string UrlOf(const Request& request) {
    const Connection& c = *request.connection;
    const bool secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
    const int32_t port = c.port != 0 ? c.port : (secure ? 443 : 80);
    std::string object = request.object.empty() || request.object.front() != '/' ? "/" + request.object
                                                                                  : request.object;
    return std::string(secure ? "https://" : "http://") + UrlHost(c.host) + ":" + std::to_string(port) +
           EscapePath(object, false);
}

const char* HeaderNameOf(uint32_t level) {
    switch (level) {
    case HTTP_QUERY_CONTENT_TYPE: return "Content-Type";
    case HTTP_QUERY_CONTENT_LENGTH: return "Content-Length";
    case HTTP_QUERY_DATE: return "Date";
    case HTTP_QUERY_LAST_MODIFIED: return "Last-Modified";
    case HTTP_QUERY_LOCATION: return "Location";
    default: return nullptr;
    }
}

// The text a query level asks for; false with the error code when there is none.
bool QueryText(const HttpTransfer& t, uint32_t level, bool sent, std::string& text, uint32_t& error) {
    const auto& headers = sent ? t.requestHeaders() : t.responseHeaders();
    switch (level) {
    case HTTP_QUERY_STATUS_CODE:
        if (sent) break;
        text = std::to_string(t.statusCode());
        return true;
    case HTTP_QUERY_STATUS_TEXT:
    case HTTP_QUERY_VERSION: {
        if (sent) break;
        const std::string& line = t.statusLine();
        const size_t first = line.find(' ');
        const size_t second = first == std::string::npos ? std::string::npos : line.find(' ', first + 1);
        text = level == HTTP_QUERY_VERSION ? line.substr(0, first)
                                           : (second == std::string::npos ? "" : line.substr(second + 1));
        return true;
    }
    case HTTP_QUERY_RAW_HEADERS_CRLF: {
        text = sent ? "" : t.statusLine() + "\r\n";
        for (const auto& [name, value] : headers) text += name.empty() ? value + "\r\n" : name + ": " + value + "\r\n";
        text += "\r\n";
        return true;
    }
    default:
        if (const char* name = HeaderNameOf(level)) {
            for (const auto& [n, value] : headers) {
                if (SameName(n, name)) {
                    text = value;
                    return true;
                }
            }
            error = ERROR_HTTP_HEADER_NOT_FOUND;
            return false;
        }
        error = ERROR_HTTP_INVALID_QUERY_REQUEST;
        return false;
    }
    error = ERROR_HTTP_HEADER_NOT_FOUND;
    return false;
}

bool ParseHttpDate(const std::string& text, SystemTime& out) {
    struct tm parts {};
    const char* end = strptime(text.c_str(), "%a, %d %b %Y %H:%M:%S", &parts);
    if (end == nullptr) return false;
    const time_t seconds = timegm(&parts);
    struct tm normal {};
    gmtime_r(&seconds, &normal);
    out.year = static_cast<uint16_t>(normal.tm_year + 1900);
    out.month = static_cast<uint16_t>(normal.tm_mon + 1);
    out.dayOfWeek = static_cast<uint16_t>(normal.tm_wday);
    out.day = static_cast<uint16_t>(normal.tm_mday);
    out.hour = static_cast<uint16_t>(normal.tm_hour);
    out.minute = static_cast<uint16_t>(normal.tm_min);
    out.second = static_cast<uint16_t>(normal.tm_sec);
    out.milliseconds = 0;
    return true;
}

bool Fail(uint32_t code) {
    SetLastError(code);
    return false;
}

std::shared_ptr<Request> SentRequest(HINTERNET handle) {
    auto request = FindRequest(handle);
    if (!request) SetLastError(IsOpen(handle) ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_PARAMETER);
    else if (!request->transfer) SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    return request && request->transfer ? request : nullptr;
}

}  // namespace
}  // namespace detail

using namespace detail;

HINTERNET HttpOpenRequestA(HINTERNET connectionHandle, std::string_view verb, std::string_view object,
                           std::string_view version, std::string_view referrer, uint32_t flags, uintptr_t) {
    auto connection = FindConnection(connectionHandle);
    if (!connection || connection->service != INTERNET_SERVICE_HTTP) {
        SetLastError(IsOpen(connectionHandle) ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto request = std::make_shared<Request>();
    request->connection = connection;
    request->verb = verb.empty() ? "GET" : std::string(verb);
    request->object = object;
    request->version = version;
    request->referrer = referrer;
    request->flags = flags;
    const HINTERNET handle = AddHandle(connectionHandle, std::move(request));
    if (handle == 0) SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return handle;
}

bool HttpSendRequestA(HINTERNET handle, std::string_view headers, std::string_view body) {
    auto request = FindRequest(handle);
    if (!request) return Fail(IsOpen(handle) ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_PARAMETER);
    // A request sent again starts a new exchange; the old one ends here.
    request->transfer.reset();
    auto transfer = std::make_unique<HttpTransfer>(*request->connection->session, UrlOf(*request), request->verb,
                                                   request->version, request->referrer, HeaderLinesOf(headers),
                                                   std::string(body));
    if (uint32_t error = transfer->WaitForHeaders(); error != 0) return Fail(error);
    request->transfer = std::move(transfer);
    return true;
}

bool HttpQueryInfoA(HINTERNET handle, uint32_t infoLevel, void* buffer, uint32_t* length, uint32_t* index) {
    auto request = SentRequest(handle);
    if (!request) return false;
    if (length == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    if (index != nullptr && *index != 0) return Fail(ERROR_HTTP_HEADER_NOT_FOUND);  // one value per header here
    const bool sent = (infoLevel & HTTP_QUERY_FLAG_REQUEST_HEADERS) != 0;
    std::string text;
    uint32_t error = 0;
    if (!QueryText(*request->transfer, infoLevel & 0xFFFFu, sent, text, error)) return Fail(error);

    if ((infoLevel & (HTTP_QUERY_FLAG_NUMBER | HTTP_QUERY_FLAG_NUMBER64)) != 0) {
        const bool wide = (infoLevel & HTTP_QUERY_FLAG_NUMBER64) != 0;
        const uint32_t size = wide ? 8 : 4;
        if (*length < size || buffer == nullptr) {
            *length = size;
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        }
        uint64_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        // A number that does not fit its 32 bits is refused, never cut short.
        if (ec != std::errc{} || end != text.data() + text.size() || (!wide && value > 0xFFFFFFFFu)) {
            return Fail(ERROR_HTTP_INVALID_SERVER_RESPONSE);
        }
        if (wide) std::memcpy(buffer, &value, 8);
        else {
            const auto narrow = static_cast<uint32_t>(value);
            std::memcpy(buffer, &narrow, 4);
        }
        *length = size;
        return true;
    }
    if ((infoLevel & HTTP_QUERY_FLAG_SYSTEMTIME) != 0) {
        SystemTime time;
        if (*length < sizeof time || buffer == nullptr) {
            *length = sizeof time;
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        }
        if (!ParseHttpDate(text, time)) return Fail(ERROR_HTTP_INVALID_SERVER_RESPONSE);
        std::memcpy(buffer, &time, sizeof time);
        *length = sizeof time;
        return true;
    }
    if (buffer == nullptr || *length < text.size() + 1) {
        *length = static_cast<uint32_t>(text.size() + 1);
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, text.data(), text.size());
    static_cast<char*>(buffer)[text.size()] = '\0';
    *length = static_cast<uint32_t>(text.size());
    return true;
}

bool InternetReadFile(HINTERNET handle, void* buffer, uint32_t toRead, uint32_t* read) {
    if (read != nullptr) *read = 0;
    auto request = SentRequest(handle);
    if (!request) return false;
    if (read == nullptr || (buffer == nullptr && toRead > 0)) return Fail(ERROR_INVALID_PARAMETER);
    if (uint32_t error = request->transfer->Read(static_cast<uint8_t*>(buffer), toRead, *read); error != 0) {
        return Fail(error);
    }
    return true;
}

}  // namespace inet
