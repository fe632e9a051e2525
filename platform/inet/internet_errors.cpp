// Error codes and texts of the internet layer, and the options every
// transfer of a session is made with.
#include <cstdlib>
#include <cstring>

#include "platform/inet/internet_objects.h"

namespace inet {
namespace detail {
namespace {

bool Contains(const char* text, const char* part) { return text != nullptr && std::strstr(text, part) != nullptr; }

const char* EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

uint32_t ErrorCodeOf(CURLcode code, const char* message) {
    switch (code) {
    case CURLE_OK: return 0;
    case CURLE_UNSUPPORTED_PROTOCOL: return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_URL_MALFORMAT: return ERROR_INTERNET_INVALID_URL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT: return ERROR_INTERNET_TIMEOUT;
    case CURLE_TOO_MANY_REDIRECTS: return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_LOGIN_DENIED: return ERROR_INTERNET_LOGIN_FAILURE;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING: return ERROR_INTERNET_CONNECTION_ABORTED;
    case CURLE_WEIRD_SERVER_REPLY: return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_ABORTED_BY_CALLBACK:
    case CURLE_WRITE_ERROR:
    case CURLE_READ_ERROR: return ERROR_INTERNET_OPERATION_CANCELLED;
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_PEER_FAILED_VERIFICATION:
        // curl has one code for every refused certificate; its text says which check failed.
        if (Contains(message, "subject name") || Contains(message, "host name")) return ERROR_INTERNET_SEC_CERT_CN_INVALID;
        if (Contains(message, "expired") || Contains(message, "not yet valid")) return ERROR_INTERNET_SEC_CERT_DATE_INVALID;
        return ERROR_INTERNET_INVALID_CA;
    case CURLE_SSL_CONNECT_ERROR: return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_COULDNT_USE_REST:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST: return ERROR_INTERNET_EXTENDED_ERROR;
    case CURLE_OUT_OF_MEMORY: return ERROR_INTERNET_INTERNAL_ERROR;
    default: return ERROR_INTERNET_INTERNAL_ERROR;
    }
}

void ApplySessionOptions(CURL* easy, const Session& session) {
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    if (!session.agent.empty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, session.agent.c_str());
    switch (session.accessType) {
    case INTERNET_OPEN_TYPE_DIRECT: curl_easy_setopt(easy, CURLOPT_NOPROXY, "*"); break;
    case INTERNET_OPEN_TYPE_PROXY:
        curl_easy_setopt(easy, CURLOPT_PROXY, session.proxy.c_str());
        if (!session.bypass.empty()) curl_easy_setopt(easy, CURLOPT_NOPROXY, session.bypass.c_str());
        break;
    default: break;  // curl reads http_proxy, https_proxy, ftp_proxy and no_proxy itself
    }
    // The trust store a user or test names in the environment, as the curl
    // tool honours it; otherwise the system's. Peer and host checks stay on.
    if (const char* bundle = EnvironmentValue("CURL_CA_BUNDLE")) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, bundle);
    } else if (const char* file = EnvironmentValue("SSL_CERT_FILE")) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, file);
    }
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 60L);
    // A server that stops sending for a minute has gone away.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 60L);
}

}  // namespace detail

std::string SystemMessageText(uint32_t code) {
    const char* text = nullptr;
    switch (code) {
    case 8: text = "There is not enough memory for the data."; break;
    case ERROR_FILE_NOT_FOUND: text = "The file was not found."; break;
    case ERROR_INVALID_PARAMETER: text = "A parameter of the call is not valid."; break;
    case ERROR_INSUFFICIENT_BUFFER: text = "The buffer given is too small for the data."; break;
    case ERROR_INTERNET_INVALID_CA:
        text = "The server's certificate is not signed by an authority this computer trusts.";
        break;
    default: return "";
    }
    return std::string(text) + "\r\n";
}

}  // namespace inet
