// Documents fetched over HTTP(S) and FTP: the transfer object lives only for
// one fetch; the bytes reach the local sources (a byte array for HTTP, a
// temporary file for FTP).
#include <algorithm>
#include <cctype>
#include <limits>

#include "imaging/engine/image_table.h"
#include "imaging/engine/morvalen_status.h"
#include "imaging/engine/temp_files.h"
#include "imaging/output/inet/cinet.h"
#include "imaging/viewer/viewer_control.h"
#include "platform/com/variant.h"
#include "platform/inet/internet.h"

namespace scanvelt {
namespace {

constexpr int32_t kHttpService = 3;
constexpr int32_t kContentLengthAsNumber = 0x20000005;

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool startsWithNoCase(const std::string& text, const char* prefix) {
    size_t n = std::char_traits<char>::length(prefix);
    if (text.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// A host written as a URL loses its scheme; whether the request is secure
// is the port's business.
std::string hostWithoutScheme(const std::string& host) {
    std::string h = trimmed(host);
    if (startsWithNoCase(h, "HTTP://")) h = trimmed(h.substr(7));
    if (startsWithNoCase(h, "HTTPS://")) h = trimmed(h.substr(8));
    return h;
}

// The server's path with forward slashes and at most two leading slashes gone.
std::string ftpRemoteName(const std::string& path) {
    std::string name = path;
    std::replace(name.begin(), name.end(), '\\', '/');
    name = trimmed(name);
    for (int i = 0; i < 2 && !name.empty() && name.front() == '/'; ++i) name.erase(0, 1);
    return name;
}

int32_t clampedLong(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t ViewerControl::DisplayFromURL(const std::string& host, const std::string& path, int32_t port) {
    if (CurrentDocumentType_ == 2) {
        ReleaseNativeImage();
        ClosePdfDocument();
    }
    // A second fetch from inside the first one's progress handler is refused.
    if (Downloading_) return LastStatus_;
    std::shared_ptr<cInet> transfer = std::make_shared<cInet>();
    m_inet = transfer;
    ResetDocument(false, false);
    std::vector<uint8_t> bytes;
    if (transfer->hInternet() == 0) {
        LastStatus_ = InternetOpenError;
    } else {
        Downloading_ = true;
        transfer->BufferSize(HttpBufferSize_);
        transfer->PacketReceieved = [this](int32_t& percentLeft, int64_t& left, int64_t& total) {
            std::vector<com::VARIANT> args{com::MakeI4(100 - percentLeft), com::MakeI4(clampedLong(left)),
                                           com::MakeI4(clampedLong(total))};
            raise_(kEventDataReceived, args);
        };
        std::string noText;
        int64_t length = 0;
        if (transfer->Request("GET", hostWithoutScheme(host), path, port, kHttpService) == 0) {
            LastStatus_ = transfer->hSession() == 0 ? InternetConnectError : InternetHttpOpenRequestError;
        } else if (transfer->SendRequest("", "") == 0) {
            LastStatus_ = InternetHttpSendRequestError;
        } else if (transfer->QueryInfo(kContentLengthAsNumber, noText, length) == 0 &&
                   transfer->LastErrorCode() != inet::ERROR_HTTP_HEADER_NOT_FOUND) {
            LastStatus_ = InternetHttpQueryError;
        } else if (length < 1) {
            // An answer without a length is no document of known size.
            LastStatus_ = InternetHttpInvalidFileLength;
        } else if (transfer->ReadArray(bytes, length) && !Terminated_) {
            // A body shorter than announced, a stop or a length beyond the
            // transfer's ceiling all end the read as false, before any display.
            LastStatus_ = DisplayFromByteArray(bytes, false);
        } else {
            LastStatus_ = InternetHttpTransferError;
        }
        transfer->PacketReceieved = nullptr;
        Downloading_ = false;
    }
    m_inet.reset();
    return LastStatus_;
}

void ViewerControl::DisplayFromURLStop() {
    if (Downloading_ && m_inet) m_inet->bStopReadArray = true;
}

int32_t ViewerControl::DisplayFromFTP(const std::string& host, const std::string& path, const std::string& login,
                                      const std::string& password, int32_t port) {
    std::shared_ptr<cInet> transfer = std::make_shared<cInet>();
    m_inet = transfer;
    if (CurrentDocumentType_ == 2) {
        ReleaseNativeImage();
        ClosePdfDocument();
    }
    ResetDocument(false, false);
    if (transfer->hInternet() == 0) {
        LastStatus_ = InternetOpenError;
    } else {
        transfer->bFtpPassiveMode = FtpPassive_;
        const uint32_t connection = transfer->FtpOpenSession(host, port, login, password);
        if (connection == 0) {
            LastStatus_ = InternetConnectError;
        } else {
            const std::string local = NewTempFileName();
            if (!local.empty() && inet::FtpGetFileA(connection, ftpRemoteName(path), local, false, 0, 0, 0)) {
                LastStatus_ = DisplayFromFile(local, false);
                if (LastStatus_ != 0) {
                    DeleteFileQuietly(local);
                } else if (CurrentDocumentType_ == 2) {
                    // A PDF is read from the downloaded file while it is open.
                    adoptTempFileOfPdf(local);
                } else {
                    // The downloaded file goes when its image is released.
                    SetImageTempFile(NativeImageID_, local);
                }
            } else {
                // The empty placeholder of a failed download is not left behind.
                DeleteFileQuietly(local);
                LastStatus_ = InternetFtpGetFileError;
            }
        }
    }
    m_inet.reset();
    return LastStatus_;
}

}  // namespace scanvelt
