#pragma once
// Upload of the current image to an FTP server: saved into a temporary file
// in one of six formats, put on the server with the transfer class, the
// temporary file deleted on every path. Texts are UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

// "\" becomes "/", blanks are trimmed, and at most two leading "/" go.
std::string FtpRemotePath(std::string_view path);

// Format (trimmed, any case): "BMP", "JPG" (quality = encoderParameter),
// "TIF" (compression = encoderParameter), "PNG", "PDF", "GIF"; anything else
// is a JPEG of quality 75. Status: 100 without an internet session, 101 when
// the server cannot be reached or refuses the log-on, the saver's status
// when saving fails (PDF: 1), 108 when the upload fails, else 0; stored.
MorvalenStatus SaveToFTP(TwainControl& control, const std::string& imageFormat, int32_t encoderParameter,
                         const std::string& host, const std::string& path, const std::string& login = "",
                         const std::string& password = "", int32_t port = 21);

}  // namespace scanvelt
