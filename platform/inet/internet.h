#pragma once
// The internet client calls the transfer class relies on, shaped like the
// Windows ones (handles, open flags, query levels, error codes) and carried
// out by libcurl. One session holds connections, a connection holds HTTP
// requests or serves FTP transfers; closing a handle closes what it holds.
//
// Everything is synchronous on the caller's thread. A failed call answers 0 or
// false and leaves its error code for GetLastError(); the codes are the
// 12000-range internet codes (plus a few system codes: 2, 87, 122).
#include <cstdint>
#include <string>
#include <string_view>

namespace inet {

// A handle value; 0 is none. Values carry the internet kind of the platform's
// handle numbering, so no other handle is ever taken for one.
using HINTERNET = uint32_t;

// InternetOpen access types.
constexpr uint32_t INTERNET_OPEN_TYPE_PRECONFIG = 0;  // proxy settings from the environment, as curl reads them
constexpr uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr uint32_t INTERNET_OPEN_TYPE_PROXY = 3;

// Services of InternetConnect.
constexpr uint32_t INTERNET_SERVICE_FTP = 1;
constexpr uint32_t INTERNET_SERVICE_HTTP = 3;
constexpr int32_t INTERNET_DEFAULT_PORT = 0;  // 21 for FTP, 80 for HTTP, 443 for a secure request

// Flags.
constexpr uint32_t INTERNET_FLAG_RELOAD = 0x80000000u;
constexpr uint32_t INTERNET_FLAG_NO_CACHE_WRITE = 0x04000000u;
constexpr uint32_t INTERNET_FLAG_PASSIVE = 0x08000000u;
constexpr uint32_t INTERNET_FLAG_SECURE = 0x00800000u;
// Accepted and not honoured: a certificate whose names do not include the
// host is always refused.
constexpr uint32_t INTERNET_FLAG_IGNORE_CERT_CN_INVALID = 0x00001000u;

// HttpQueryInfo levels (low 16 bits) and modifiers.
constexpr uint32_t HTTP_QUERY_CONTENT_TYPE = 1;
constexpr uint32_t HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr uint32_t HTTP_QUERY_DATE = 9;
constexpr uint32_t HTTP_QUERY_LAST_MODIFIED = 11;
constexpr uint32_t HTTP_QUERY_VERSION = 18;
constexpr uint32_t HTTP_QUERY_STATUS_CODE = 19;
constexpr uint32_t HTTP_QUERY_STATUS_TEXT = 20;
constexpr uint32_t HTTP_QUERY_RAW_HEADERS_CRLF = 22;
constexpr uint32_t HTTP_QUERY_LOCATION = 33;
constexpr uint32_t HTTP_QUERY_FLAG_REQUEST_HEADERS = 0x80000000u;
constexpr uint32_t HTTP_QUERY_FLAG_SYSTEMTIME = 0x40000000u;
constexpr uint32_t HTTP_QUERY_FLAG_NUMBER = 0x20000000u;
constexpr uint32_t HTTP_QUERY_FLAG_NUMBER64 = 0x08000000u;

// Error codes the calls leave.
constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
constexpr uint32_t ERROR_INTERNET_TIMEOUT = 12002;
constexpr uint32_t ERROR_INTERNET_EXTENDED_ERROR = 12003;
constexpr uint32_t ERROR_INTERNET_INTERNAL_ERROR = 12004;
constexpr uint32_t ERROR_INTERNET_INVALID_URL = 12005;
constexpr uint32_t ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
constexpr uint32_t ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
constexpr uint32_t ERROR_INTERNET_LOGIN_FAILURE = 12015;
constexpr uint32_t ERROR_INTERNET_OPERATION_CANCELLED = 12017;
constexpr uint32_t ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
constexpr uint32_t ERROR_INTERNET_INCORRECT_HANDLE_STATE = 12019;
constexpr uint32_t ERROR_INTERNET_CANNOT_CONNECT = 12029;
constexpr uint32_t ERROR_INTERNET_CONNECTION_ABORTED = 12030;
constexpr uint32_t ERROR_INTERNET_CONNECTION_RESET = 12031;
constexpr uint32_t ERROR_INTERNET_SEC_CERT_DATE_INVALID = 12037;
constexpr uint32_t ERROR_INTERNET_SEC_CERT_CN_INVALID = 12038;
constexpr uint32_t ERROR_INTERNET_INVALID_CA = 12045;
constexpr uint32_t ERROR_HTTP_HEADER_NOT_FOUND = 12150;
constexpr uint32_t ERROR_HTTP_INVALID_SERVER_RESPONSE = 12152;
constexpr uint32_t ERROR_HTTP_INVALID_QUERY_REQUEST = 12154;
constexpr uint32_t ERROR_HTTP_REDIRECT_FAILED = 12156;

// The date fields a SYSTEMTIME query fills, in the Windows record's order.
struct SystemTime {
    uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
};

// A session. `agent` names the client in requests; with the PROXY access type
// `proxy` is the proxy to use. 0 when the transfer library cannot start.
HINTERNET InternetOpenA(std::string_view agent, uint32_t accessType, std::string_view proxy = {},
                        std::string_view bypass = {}, uint32_t flags = 0);

// A connection to `host` on `port` (1 to 65535, or 0 for the service's
// default). For HTTP nothing is sent yet; for FTP the server is reached and
// logged on to now (anonymous when `user` is empty), in passive mode with
// INTERNET_FLAG_PASSIVE, else active.
HINTERNET InternetConnectA(HINTERNET session, std::string_view host, int32_t port, std::string_view user,
                           std::string_view password, uint32_t service, uint32_t flags, uintptr_t context = 0);

// A request of `verb` for `object` (a path on the server) on an HTTP
// connection; https with INTERNET_FLAG_SECURE (and port 443 for the default).
// The server's certificate and host name are always checked.
HINTERNET HttpOpenRequestA(HINTERNET connection, std::string_view verb, std::string_view object,
                           std::string_view version, std::string_view referrer, uint32_t flags,
                           uintptr_t context = 0);

// Sends the request (extra header lines separated by CR LF, and the body) and
// waits for the response's headers; redirects are followed. True also for an
// error status such as 404: the status code is a query away.
bool HttpSendRequestA(HINTERNET request, std::string_view headers, std::string_view body);

// A response header (or, with HTTP_QUERY_FLAG_REQUEST_HEADERS, one that was
// sent) as text into `buffer` (`length` bytes in, the text's length out, not
// counting the NUL written after it), as a number (4 bytes, or 8 with
// NUMBER64) or as a SystemTime. A buffer too small: false with
// ERROR_INSUFFICIENT_BUFFER and the needed length (with the NUL) in `length`.
bool HttpQueryInfoA(HINTERNET request, uint32_t infoLevel, void* buffer, uint32_t* length, uint32_t* index = nullptr);

// Up to `toRead` bytes of the response body. True with 0 bytes read at its
// end. A body that ends before the length the server announced, or a broken
// connection, is false (after the bytes that did arrive were handed out).
bool InternetReadFile(HINTERNET request, void* buffer, uint32_t toRead, uint32_t* read);

// FTP transfers on a logged-on connection; paths relative to the log-on
// folder unless they begin with "/". A download is written whole or not at all.
bool FtpGetFileA(HINTERNET connection, std::string_view remoteFile, std::string_view localFile, bool failIfExists,
                 uint32_t attributes = 0, uint32_t flags = 0, uintptr_t context = 0);
bool FtpPutFileA(HINTERNET connection, std::string_view localFile, std::string_view remoteFile, uint32_t flags = 0,
                 uintptr_t context = 0);

// Closes a handle and every handle opened under it.
bool InternetCloseHandle(HINTERNET handle);

// The error code the last failing call of this thread left.
uint32_t GetLastError();

// The system's text for a code of this layer ("" for codes it does not know),
// ending in CR LF as system message texts do.
std::string SystemMessageText(uint32_t code);

// Handles open now, for the tests' leak checks.
size_t OpenHandleCount();

}  // namespace inet
