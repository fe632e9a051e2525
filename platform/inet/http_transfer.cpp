#include "platform/inet/http_transfer.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace inet::detail {
namespace {

// Body bytes held for the reader before the transfer pauses.
constexpr size_t kReadWindow = size_t{1} << 20;
constexpr long kMaxRedirects = 10;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n')) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The header lines of a block ("Name: value" after the request line).
std::vector<std::pair<std::string, std::string>> HeaderLines(std::string_view block) {
    std::vector<std::pair<std::string, std::string>> lines;
    bool first = true;
    while (!block.empty()) {
        const size_t end = block.find('\n');
        std::string_view line = Trimmed(block.substr(0, end));
        block = end == std::string_view::npos ? std::string_view{} : block.substr(end + 1);
        if (first) {
            first = false;
            lines.emplace_back("", std::string(line));  // the request line
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        lines.emplace_back(std::string(Trimmed(line.substr(0, colon))), std::string(Trimmed(line.substr(colon + 1))));
    }
    return lines;
}

int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    if (type == CURLINFO_HEADER_OUT) {
        *static_cast<std::vector<std::pair<std::string, std::string>>*>(self) = HeaderLines({data, size});
    }
    return 0;
}

}  // namespace

HttpTransfer::HttpTransfer(const Session& session, const std::string& url, const std::string& verb,
                           const std::string& version, const std::string& referrer,
                           const std::vector<std::string>& headers, std::string body)
    : url_(url), body_(std::move(body)) {
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
    if (multi_ == nullptr || easy_ == nullptr) {
        finished_ = true;
        error_ = ERROR_INTERNET_INTERNAL_ERROR;
        return;
    }
    ApplySessionOptions(easy_, session);
    curl_easy_setopt(easy_, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    const bool fetch = verb == "GET" || verb == "HEAD";
    if (verb == "HEAD") {
        curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    } else if (verb != "GET") {
        curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, verb.c_str());
    }
    if (!body_.empty() || verb == "POST" || verb == "PUT") {
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, body_.data());
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()));
    }
    // Fetches follow redirects (a loop ends after ten); other verbs stop at the answer.
    if (fetch) {
        follows_ = true;
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects);
    }
    if (version == "HTTP/1.0") curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
    if (version == "HTTP/1.1") curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    if (!referrer.empty()) curl_easy_setopt(easy_, CURLOPT_REFERER, referrer.c_str());
    for (const std::string& line : headers) headerList_ = curl_slist_append(headerList_, line.c_str());
    if (headerList_ != nullptr) curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headerList_);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &HttpTransfer::OnHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &HttpTransfer::OnBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    // The request's own header lines, for queries of what was sent.
    curl_easy_setopt(easy_, CURLOPT_DEBUGFUNCTION, &OnDebug);
    curl_easy_setopt(easy_, CURLOPT_DEBUGDATA, &sentHeaders_);
    curl_easy_setopt(easy_, CURLOPT_VERBOSE, 1L);
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
        finished_ = true;
        error_ = ERROR_INTERNET_INTERNAL_ERROR;
        return;
    }
    started_ = true;
}

HttpTransfer::~HttpTransfer() {
    if (started_) curl_multi_remove_handle(multi_, easy_);
    if (easy_ != nullptr) curl_easy_cleanup(easy_);
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
    curl_slist_free_all(headerList_);
}

size_t HttpTransfer::OnHeader(char* data, size_t size, size_t count, void* self) {
    auto& t = *static_cast<HttpTransfer*>(self);
    const size_t length = size * count;
    const std::string_view line = Trimmed({data, length});
    if (line.substr(0, 5) == "HTTP/") {
        // A new response (after a redirect or an interim answer): its own headers only.
        t.statusLine_ = line;
        t.headers_.clear();
        const size_t blank = line.find(' ');
        t.statusCode_ = blank == std::string_view::npos ? 0 : std::atoi(std::string(line.substr(blank + 1, 3)).c_str());
    } else if (line.empty()) {
        bool location = false;
        for (const auto& [name, value] : t.headers_) location = location || SameName(name, "Location");
        const bool interim = t.statusCode_ / 100 == 1;
        const bool redirected = t.statusCode_ / 100 == 3 && t.statusCode_ != 304 && location;
        // A redirect that curl goes on to follow is not the final answer.
        if (!interim && !(redirected && t.follows_)) t.headersDone_ = true;
    } else if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
        t.headers_.emplace_back(std::string(Trimmed(line.substr(0, colon))), std::string(Trimmed(line.substr(colon + 1))));
    }
    return length;
}

size_t HttpTransfer::OnBody(char* data, size_t size, size_t count, void* self) {
    auto& t = *static_cast<HttpTransfer*>(self);
    const size_t length = size * count;
    if (t.buffer_.size() - t.bufferStart_ >= kReadWindow) {
        t.paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    t.headersDone_ = true;
    t.buffer_.insert(t.buffer_.end(), data, data + length);
    return length;
}

bool HttpTransfer::Step() {
    if (finished_) return false;
    if (paused_ && buffer_.size() - bufferStart_ < kReadWindow) {
        paused_ = false;
        curl_easy_pause(easy_, CURLPAUSE_CONT);
    }
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
        finished_ = true;
        error_ = ERROR_INTERNET_INTERNAL_ERROR;
        return false;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
            finished_ = true;
            error_ = ErrorCodeOf(message->data.result, errorText_);
        }
    }
    if (!finished_ && running > 0 && !paused_) curl_multi_poll(multi_, nullptr, 0, 100, nullptr);
    return !finished_;
}

uint32_t HttpTransfer::WaitForHeaders() {
    while (!headersDone_ && Step()) {
    }
    if (headersDone_) return 0;
    return error_ != 0 ? error_ : ERROR_HTTP_INVALID_SERVER_RESPONSE;
}

uint32_t HttpTransfer::Read(uint8_t* into, uint32_t size, uint32_t& read) {
    read = 0;
    // Bytes are handed out as they come, so a read larger than the window
    // drains it and lets the transfer go on.
    while (read < size) {
        const size_t available = buffer_.size() - bufferStart_;
        if (available == 0) {
            // The round that ends the transfer may bring its last bytes.
            if (finished_) break;
            Step();
            continue;
        }
        const size_t taken = std::min<size_t>(available, size - read);
        std::memcpy(into + read, buffer_.data() + bufferStart_, taken);
        bufferStart_ += taken;
        read += static_cast<uint32_t>(taken);
        if (bufferStart_ == buffer_.size()) {
            buffer_.clear();
            bufferStart_ = 0;
        } else if (bufferStart_ >= kReadWindow) {
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(bufferStart_));
            bufferStart_ = 0;
        }
    }
    return read == 0 && finished_ ? error_ : 0;
}

}  // namespace inet::detail
