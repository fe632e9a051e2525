// The texts of the internet error codes.
#include <iterator>
#include <utility>

#include "imaging/output/inet/cinet.h"

namespace scanvelt {
namespace {

constexpr std::pair<int32_t, const char*> kTexts[] = {
    {12001, "No more handles could be generated at this time"},
    {12002, "The request has timed out."},
    {12003, "An extended error was returned from the server."},
    {12004, "An internal error has occurred."},
    {12005, "The URL is invalid."},
    {12006, "The URL scheme could not be recognized, or is not supported."},
    {12007, "The server name could not be resolved."},
    {12008, "The requested protocol could not be located."},
    {12009, "A request to InternetQueryOption or InternetSetOption specified an invalid option value."},
    {12010, "The length of an option supplied to InternetQueryOption or InternetSetOption is incorrect for the type "
            "of option specified."},
    {12011, "The request option can not be set, only queried. "},
    {12012, "The Win32 Internet support is being shutdown or unloaded."},
    {12013, "The request to connect and login to an FTP server could not be completed because the supplied user name "
            "is incorrect."},
    {12014, "The request to connect and login to an FTP server could not be completed because the supplied password "
            "is incorrect. "},
    {12015, "The request to connect to and login to an FTP server failed."},
    {12016, "The requested operation is invalid. "},
    {12017, "The operation was canceled, usually because the handle on which the request was operating was closed "
            "before the operation completed."},
    {12018, "The type of handle supplied is incorrect for this operation."},
    {12019, "The requested operation can not be carried out because the handle supplied is not in the correct "
            "state."},
    {12020, "The request can not be made via a proxy."},
    {12021, "A required registry value could not be located. "},
    {12022, "A required registry value was located but is an incorrect type or has an invalid value."},
    {12023, "Direct network access cannot be made at this time. "},
    {12024, "An asynchronous request could not be made because a zero context value was supplied."},
    {12025, "An asynchronous request could not be made because a callback function has not been set."},
    {12026, "The required operation could not be completed because one or more requests are pending."},
    {12027, "The format of the request is invalid."},
    {12028, "The requested item could not be located."},
    {12029, "The attempt to connect to the server failed."},
    {12030, "The connection with the server has been terminated."},
    {12031, "The connection with the server has been reset."},
    {12032, "Calls for the Win32 Internet function to redo the request."},
    {12033, "The request to the proxy was invalid."},
    {12036, "The request failed because the handle already exists."},
    {12037, "SSL certificate date that was received from the server is bad. The certificate is expired."},
    {12038, "SSL certificate common name (host name field) is incorrect. For example, the address asked for named "
            "scans.example.com while the certificate was made out to files.example.org."},
    {12039, "The application is moving from a non-SSL to an SSL connection because of a redirect."},
    {12040, "The application is moving from an SSL to an non-SSL connection because of a redirect."},
    {12041, "Indicates that the content is not entirely secure. Some of the content being viewed may have come from "
            "unsecured servers."},
    {12042, "The application is posting and attempting to change multiple lines of text on a server that is not "
            "secure."},
    {12043, "The application is posting data to a sever that is not secure."},
    {12110, "The requested operation cannot be made on the FTP session handle because an operation is already in "
            "progress."},
    {12111, "The FTP operation was not completed because the session was aborted."},
    {12130, "An error was detected while parsing data returned from the gopher server."},
    {12131, "The request must be made for a file locator."},
    {12132, "An error was detected while receiving data from the gopher server."},
    {12133, "The end of the data has been reached."},
    {12134, "The supplied locator is not valid."},
    {12135, "The type of the locator is not correct for this operation."},
    {12136, "The requested operation can only be made against a Gopher+ server or with a locator that specifies a "
            "Gopher+ operation."},
    {12137, "The requested attribute could not be located."},
    {12138, "The locator type is unknown."},
    {12150, "The requested header could not be located."},
    {12151, "The server did not return any headers."},
    {12152, "The server response could not be parsed."},
    {12153, "The supplied header is invalid."},
    {12154, "The request made to HttpQueryInfo is invalid."},
    {12155, "The header could not be added because it already exists."},
    {12156, "The redirection failed because either the scheme changed"},
};
static_assert(std::size(kTexts) == 59);

}  // namespace

std::string cInet::TranslateErrorCode(int32_t lErrorCode) {
    for (const auto& [code, text] : kTexts) {
        if (code == lErrorCode) return text;
    }
    // The system's text, blanks trimmed at both ends; its line break stays.
    std::string text = lErrorCode < 0 ? "" : inet::SystemMessageText(static_cast<uint32_t>(lErrorCode));
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "Unknown Error";
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    return text;
}

}  // namespace scanvelt
