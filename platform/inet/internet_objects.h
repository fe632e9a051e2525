#pragma once
// What stands behind the internet handles, shared by the files of this layer.
#include <curl/curl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/inet/internet.h"

namespace inet::detail {

struct CurlEasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct Session {
    std::string agent;
    uint32_t accessType = INTERNET_OPEN_TYPE_PRECONFIG;
    std::string proxy;
    std::string bypass;
};

struct Connection {
    std::shared_ptr<Session> session;
    std::string host;
    int32_t port = 0;  // 0: the default of the service (and of a secure request)
    std::string user;
    std::string password;
    uint32_t service = 0;
    bool passive = true;
    // FTP: the easy handle that logged on; curl keeps the logged-on control
    // connection in it, so every transfer of the connection reuses it.
    CurlEasy ftp;
    char ftpErrorText[CURL_ERROR_SIZE] = {};
};

class HttpTransfer;

struct Request {
    std::shared_ptr<Connection> connection;
    std::string verb;
    std::string object;
    std::string version;
    std::string referrer;
    uint32_t flags = 0;
    std::unique_ptr<HttpTransfer> transfer;  // from HttpSendRequestA on
    ~Request();
};

// The handle table.
HINTERNET AddHandle(HINTERNET parent, std::shared_ptr<Session> object);
HINTERNET AddHandle(HINTERNET parent, std::shared_ptr<Connection> object);
HINTERNET AddHandle(HINTERNET parent, std::shared_ptr<Request> object);
std::shared_ptr<Session> FindSession(HINTERNET handle);
std::shared_ptr<Connection> FindConnection(HINTERNET handle);
std::shared_ptr<Request> FindRequest(HINTERNET handle);
// True when the handle is open (of any kind).
bool IsOpen(HINTERNET handle);

void SetLastError(uint32_t code);
// The internet code for a curl failure; `message` is curl's error buffer,
// which tells a certificate's wrong host name from an untrusted issuer.
uint32_t ErrorCodeOf(CURLcode code, const char* message);

// Options every easy handle of a session gets: proxy by the access type, CA
// bundle from the environment (CURL_CA_BUNDLE, SSL_CERT_FILE) as the curl
// tool takes it, time limits, no signals. Certificate checks stay on.
void ApplySessionOptions(CURL* easy, const Session& session);

// The curl library started once per process; false when it cannot start.
bool CurlReady();

// "host" as an URL authority (IPv6 addresses in brackets).
std::string UrlHost(const std::string& host);
// Bytes outside printable ASCII and blanks percent-encoded, so that an
// object name reaches the server as given (a query after '?' included). For
// an FTP file name ('%', '#' and '?' are part of the name) those are
// encoded too. Slashes are kept.
std::string EscapePath(std::string_view path, bool fileName);

}  // namespace inet::detail
