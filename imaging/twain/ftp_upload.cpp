#include "imaging/twain/ftp_upload.h"

#include <algorithm>
#include <cctype>

#include "imaging/engine/temp_files.h"
#include "imaging/output/inet/cinet.h"
#include "imaging/twain/file_output_members.h"
#include "imaging/twain/further_formats.h"
#include "imaging/twain/pdf_output_members.h"
#include "imaging/twain/twain_control.h"
#include "platform/inet/internet.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The control's saver of a format name (upper case, trimmed).
MorvalenStatus SaveForUpload(TwainControl& control, const std::string& format, int32_t parameter,
                             const std::string& file) {
    if (format == "BMP") return SaveAsBmp(control, file);
    if (format == "JPG") return SaveAsJPEG(control, file, parameter);
    if (format == "TIF") return SaveAsTIFF(control, file, parameter);
    if (format == "PNG") return SaveAsPNG(control, file);
    if (format == "PDF") return SaveAsPDF(control, file, "", "Morvalen ToolKit", "Morvalen ToolKit", "") ? OK : GenericError;
    if (format == "GIF") return SaveAsGIF(control, file);
    return SaveAsJPEG(control, file, 75);
}

}  // namespace

std::string FtpRemotePath(std::string_view path) {
    std::string remote(path);
    std::replace(remote.begin(), remote.end(), '\\', '/');
    remote = Trimmed(remote);
    for (int i = 0; i < 2 && !remote.empty() && remote.front() == '/'; ++i) remote.erase(0, 1);
    return remote;
}

MorvalenStatus SaveToFTP(TwainControl& control, const std::string& imageFormat, int32_t encoderParameter,
                         const std::string& host, const std::string& path, const std::string& login,
                         const std::string& password, int32_t port) {
    const std::string remote = FtpRemotePath(path);
    MorvalenStatus status = OK;
    {
        // One transfer object for this upload: its session is closed when it goes.
        cInet inet;
        if (inet.hInternet() == 0) {
            status = InternetOpenError;
        } else {
            inet.bFtpPassiveMode = control.ftpPassive();
            if (inet.FtpOpenSession(host, port, login, password) == 0) {
                status = InternetConnectError;
            } else {
                std::string format = Trimmed(imageFormat);
                std::transform(format.begin(), format.end(), format.begin(),
                               [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
                const std::string temporary = NewTempFileName();
                status = temporary.empty() ? CanNotCreateFile : SaveForUpload(control, format, encoderParameter, temporary);
                if (status == OK) {
                    const bool put = inet::FtpPutFileA(inet.hSession(), win::Utf8ToAnsi(temporary),
                                                       win::Utf8ToAnsi(remote));
                    status = put ? OK : InternetFtpWriteFileError;
                }
                // The temporary file goes whatever happened: a failed save may have left part of it.
                DeleteFileQuietly(temporary);
            }
        }
    }
    control.setLastStatus(status);
    return status;
}

}  // namespace scanvelt
