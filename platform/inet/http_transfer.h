#pragma once
// One HTTP exchange driven step by step on the caller's thread: curl's multi
// interface runs the transfer only while the caller waits for headers or
// asks for body bytes, so a chunked read sees the bytes as they come, and a
// body never sits in memory beyond a small window (the transfer pauses when
// the reader falls behind).
#include <curl/curl.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/inet/internet_objects.h"

namespace inet::detail {

class HttpTransfer {
public:
    // Starts the request; `url` is whole, `headers` are extra lines.
    HttpTransfer(const Session& session, const std::string& url, const std::string& verb,
                 const std::string& version, const std::string& referrer, const std::vector<std::string>& headers,
                 std::string body);
    ~HttpTransfer();
    HttpTransfer(const HttpTransfer&) = delete;
    HttpTransfer& operator=(const HttpTransfer&) = delete;

    // Runs until the final response's headers are in or the transfer ended;
    // 0 when the headers are in, else the error code.
    uint32_t WaitForHeaders();

    // Up to `size` body bytes (waiting for them); 0 bytes at the end. The
    // error code when the body broke off, once the bytes that came are out.
    uint32_t Read(uint8_t* into, uint32_t size, uint32_t& read);

    int statusCode() const { return statusCode_; }
    const std::string& statusLine() const { return statusLine_; }
    const std::vector<std::pair<std::string, std::string>>& responseHeaders() const { return headers_; }
    const std::vector<std::pair<std::string, std::string>>& requestHeaders() const { return sentHeaders_; }

private:
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    // One round of the transfer; false once it has ended.
    bool Step();

    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    curl_slist* headerList_ = nullptr;
    std::string url_;
    std::string body_;
    char errorText_[CURL_ERROR_SIZE] = {};
    bool started_ = false;
    bool headersDone_ = false;
    bool finished_ = false;
    bool paused_ = false;
    bool follows_ = false;
    uint32_t error_ = 0;
    int statusCode_ = 0;
    std::string statusLine_;
    std::vector<std::pair<std::string, std::string>> headers_;
    std::vector<std::pair<std::string, std::string>> sentHeaders_;
    std::vector<uint8_t> buffer_;  // body bytes not yet read, from bufferStart_
    size_t bufferStart_ = 0;
};

}  // namespace inet::detail
