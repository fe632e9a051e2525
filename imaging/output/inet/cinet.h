#pragma once
// The transfer class: one internet session, at most one connection and one
// HTTP request at a time; a request, its answer's headers, the body read in
// chunks with progress and the host's messages running between chunks, an
// FTP connection. Everything runs on the caller's thread. Texts are UTF-8 and
// cross to the internet layer in the system code page (Windows-1252).
//
// Unlike the handles of the internet layer it wraps, the object closes what
// it opened: a request or connection replaced by a new one, and all of them
// when it ends.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/inet/internet.h"

namespace scanvelt {

// Owners hold it in a shared_ptr: a read keeps the object alive until it
// returns, so a handler that drops the owner's reference inside the read
// (the host's messages run between chunks) does not end it under the loop.
class cInet : public std::enable_shared_from_this<cInet> {
public:
    // The longest body a read takes: a length beyond it is refused before
    // any memory is taken for it.
    static constexpr int64_t kMaxReadLength = int64_t{1} << 30;

    // Opens the session ("morvalen", proxy settings from the environment);
    // hInternet() stays 0 when that fails.
    cInet();
    ~cInet();
    cInet(const cInet&) = delete;
    cInet& operator=(const cInet&) = delete;

    // Set by the owner (from a host handler running inside ReadArray) to stop
    // the read after the chunk in progress; ReadArray clears it when it starts.
    bool bStopReadArray = false;
    int32_t m_BufferSize = 1024;
    bool bFtpPassiveMode = true;

    // The class event: the share still to transfer in percent, the bytes
    // still to transfer and the whole length, after every chunk.
    std::function<void(int32_t& nPercentProgress, int64_t& nLeftToTransfer, int64_t& nTotalLength)> PacketReceieved;

    // Connects to sHost on ePort (1 to 65535) for eService and opens a
    // request of sAction for sDirAndFile: "GET" and "PUT" on port 443 are
    // secure. The request handle, 0 on failure (hSession() tells whether the
    // connection was made).
    uint32_t Request(const std::string& sAction, const std::string& sHost, const std::string& sDirAndFile,
                     int32_t ePort, int32_t eService);
    // An FTP connection, logged on, passive as bFtpPassiveMode says; 0 on failure.
    uint32_t FtpOpenSession(const std::string& sHost, int32_t ePort, const std::string& sLogin,
                            const std::string& sPassword);
    // Sends the request; non-zero on success.
    int32_t SendRequest(const std::string& sHeaders, const std::string& sData);
    // A request-header text query (bit 31) into sBuffer, whose length is the
    // buffer size; a number (bit 29) into lBuffer, 64 bits wide; a date
    // (levels with bits 0, 1 and 3) into sBuffer as "year day weekday month
    // hour minute second milliseconds". Non-zero on success.
    int32_t QueryInfo(int32_t eQuery, std::string& sBuffer, int64_t& lBuffer);
    // Reads lLength body bytes into bData (sized to lLength) in chunks of
    // m_BufferSize. True only when all of them came and no stop was asked
    // for: a body that ends early, a failed read and a length above
    // kMaxReadLength (refused before bData is touched) are false.
    bool ReadArray(std::vector<uint8_t>& bData, int64_t lLength);

    uint32_t hInternet() const { return session_; }
    uint32_t hSession() const { return connection_; }
    void BufferSize(int32_t nNewValue) { m_BufferSize = nNewValue; }

    // The internet error code of the last call of this object that failed (0 after success).
    uint32_t LastErrorCode() const { return lastError_; }

    // The text of an internet error code; the system's text for other codes,
    // or "Unknown Error".
    static std::string TranslateErrorCode(int32_t lErrorCode);

private:
    void CloseRequest();
    void CloseConnection();
    void NoteResult(bool ok);

    inet::HINTERNET session_ = 0;
    inet::HINTERNET connection_ = 0;
    inet::HINTERNET request_ = 0;
    int32_t sendResult_ = 0;
    uint32_t lastError_ = 0;
};

}  // namespace scanvelt
