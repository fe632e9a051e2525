/* A plain C host of the further file formats, the icon saver and the FTP
 * upload: it creates Twain by its class ID and calls them by dispatch ID only.
 * Without a current image every saver answers 1 and writes nothing; the
 * upload reaches no server on a closed local port and answers 101 before any
 * file is made. Usage: c_host_formats LIBRARY REGISTRY-FILE. */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "c_host_server.h"

enum {
    kSaveAsBmp = 0x6003003f,
    kSaveAsWBMP = 0x60030040,
    kSaveAsXPM = 0x60030041,
    kSaveAsPNM = 0x60030042,
    kSaveAsTGA = 0x60030046,
    kSaveAsPBM = 0x60030047,
    kSaveAsEXR = 0x60030048,
    kSaveAsJ2K = 0x60030049,
    kSaveAsJP2 = 0x6003004a,
    kSaveAsTIFF = 0x6003004b,
    kSaveAsTIFFjpg = 0x6003004c,
    kSaveAsTIFFjpgEx = 0x6003004d,
    kSaveAsICO = 0x6003004e,
    kSaveToFTP = 0x60030050,
};

/* A local port nothing listens on: bound once, then let go. */
static int closedPort(void) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    struct sockaddr_in address;
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, (struct sockaddr*)&address, sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, (struct sockaddr*)&address, &length);
    close(s);
    return ntohs(address.sin_port);
}

static void checkMembers(void) {
    const int32_t pathOnly[] = {kSaveAsBmp, kSaveAsWBMP, kSaveAsXPM, kSaveAsPNM, kSaveAsTGA, kSaveAsPBM,
                                kSaveAsEXR, kSaveAsJ2K, kSaveAsJP2, kSaveAsTIFF, kSaveAsTIFFjpg};
    /* Optional arguments left out take their defaults. */
    for (size_t i = 0; i < sizeof pathOnly / sizeof pathOnly[0]; ++i) {
        VARIANT path[1] = {argText(pathIn("image.out"))};
        CHECK(callLong(pathOnly[i], path, 1) == 1);
        CHECK(lastStatus() == 1);
    }
    VARIANT withRate[2] = {argText(pathIn("image.j2k")), argLong(8)};
    CHECK(callLong(kSaveAsJ2K, withRate, 2) == 1);
    VARIANT withQuality[2] = {argText(pathIn("image.tif")), argLong(120)};
    CHECK(callLong(kSaveAsTIFFjpgEx, withQuality, 2) == 1);
    /* The icon saver ends with its first failing step: the size of no image. */
    VARIANT icon[3] = {argText(pathIn("image.ico")), argFlag(1), argLong(0x604020)};
    CHECK(callLong(kSaveAsICO, icon, 3) == 2);
    CHECK(entriesIn(scratch) == 0);

    /* The upload: no server on the port, 101; the port is above 32767 here. */
    int port = closedPort();
    CHECK(port > 32767);
    VARIANT upload[7] = {argText("PNG"), argLong(0), argText("127.0.0.1"), argText("\\\\in\\page.png"),
                         argText("scan"), argText("pw"), argLong(port)};
    CHECK(callLong(kSaveToFTP, upload, 7) == 101);
    CHECK(lastStatus() == 101);
    CHECK(entriesIn(scratch) == 0);
}

int main(int argc, char** argv) { return runTwainHost(argc, argv, "c_host_formats", NULL, checkMembers); }
