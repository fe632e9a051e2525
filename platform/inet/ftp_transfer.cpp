// FTP log-on, download and upload over one logged-on control connection.
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/files/atomic_file_writer.h"
#include "platform/inet/ftp_login.h"
#include "platform/inet/internet_objects.h"

namespace inet {
namespace detail {
namespace {

constexpr uint32_t ERROR_FILE_EXISTS = 80;

std::string BaseUrl(const Connection& c) {
    return "ftp://" + UrlHost(c.host) + ":" + std::to_string(c.port != 0 ? c.port : 21) + "/";
}

// The options of one perform on the connection's handle: those of the last
// transfer are reset so that nothing carries over.
void Prepare(Connection& c, const std::string& url) {
    CURL* easy = c.ftp.get();
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, nullptr);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, nullptr);
    curl_easy_setopt(easy, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(-1));
    c.ftpErrorText[0] = '\0';
}

uint32_t Perform(Connection& c) {
    const CURLcode result = curl_easy_perform(c.ftp.get());
    return ErrorCodeOf(result, c.ftpErrorText);
}

size_t WriteToFile(char* data, size_t size, size_t count, void* writer) {
    const size_t length = size * count;
    return static_cast<files::AtomicFileWriter*>(writer)->write(data, length) ? 0 : length;
}

size_t ReadFromFile(char* into, size_t size, size_t count, void* file) {
    return std::fread(into, size, count, static_cast<FILE*>(file)) * size;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

bool Fail(uint32_t code) {
    SetLastError(code);
    return false;
}

std::shared_ptr<Connection> FtpConnection(HINTERNET handle) {
    auto connection = FindConnection(handle);
    if (!connection || !connection->ftp) {
        SetLastError(IsOpen(handle) ? ERROR_INTERNET_INCORRECT_HANDLE_TYPE : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return connection;
}

}  // namespace

uint32_t FtpLogOn(Connection& c) {
    c.ftp.reset(curl_easy_init());
    if (!c.ftp) return ERROR_INTERNET_INTERNAL_ERROR;
    CURL* easy = c.ftp.get();
    ApplySessionOptions(easy, *c.session);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, c.ftpErrorText);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "ftp");
    if (!c.user.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, c.user.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, c.password.c_str());
    }
    // Active mode: the server connects back to the address the control
    // connection came from.
    if (!c.passive) curl_easy_setopt(easy, CURLOPT_FTPPORT, "-");
    Prepare(c, BaseUrl(c));
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);  // log on and stop: no listing
    const uint32_t error = Perform(c);
    if (error != 0) c.ftp.reset();
    return error;
}

}  // namespace detail

using namespace detail;

bool FtpGetFileA(HINTERNET handle, std::string_view remoteFile, std::string_view localFile, bool failIfExists,
                 uint32_t, uint32_t, uintptr_t) {
    auto connection = FtpConnection(handle);
    if (!connection) return false;
    if (remoteFile.empty() || localFile.empty()) return Fail(ERROR_INVALID_PARAMETER);
    const std::filesystem::path target{std::string(localFile)};
    std::error_code ignored;
    if (failIfExists && std::filesystem::exists(target, ignored)) return Fail(ERROR_FILE_EXISTS);
    files::AtomicFileWriter writer;
    if (writer.open(target)) return Fail(ERROR_FILE_NOT_FOUND);
    Prepare(*connection, BaseUrl(*connection) + EscapePath(remoteFile, true));
    curl_easy_setopt(connection->ftp.get(), CURLOPT_WRITEFUNCTION, &WriteToFile);
    curl_easy_setopt(connection->ftp.get(), CURLOPT_WRITEDATA, &writer);
    if (uint32_t error = Perform(*connection); error != 0) return Fail(error);  // the writer drops its file
    if (writer.commit()) return Fail(ERROR_INTERNET_INTERNAL_ERROR);
    return true;
}

bool FtpPutFileA(HINTERNET handle, std::string_view localFile, std::string_view remoteFile, uint32_t, uintptr_t) {
    auto connection = FtpConnection(handle);
    if (!connection) return false;
    if (remoteFile.empty() || localFile.empty()) return Fail(ERROR_INVALID_PARAMETER);
    std::unique_ptr<FILE, FileCloser> file(std::fopen(std::string(localFile).c_str(), "rb"));
    if (!file) return Fail(ERROR_FILE_NOT_FOUND);
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(std::string(localFile), sizeError);
    Prepare(*connection, BaseUrl(*connection) + EscapePath(remoteFile, true));
    CURL* easy = connection->ftp.get();
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &ReadFromFile);
    curl_easy_setopt(easy, CURLOPT_READDATA, file.get());
    if (!sizeError) curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    const uint32_t error = Perform(*connection);
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 0L);
    if (error != 0) return Fail(error);
    return true;
}

}  // namespace inet
