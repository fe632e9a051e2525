#pragma once
// FTP on a connection: the log-on that InternetConnect makes for the FTP service.
#include <cstdint>

#include "platform/inet/internet_objects.h"

namespace inet::detail {

// Reaches the server and logs on, keeping the control connection in
// `connection.ftp` for the transfers that follow; 0 or the error code.
uint32_t FtpLogOn(Connection& connection);

}  // namespace inet::detail
