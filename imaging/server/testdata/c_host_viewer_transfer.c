/* A plain C host of the viewer's internet and printing members, by dispatch
 * ID only: downloads from ports where nothing answers give their statuses and
 * leave no temporary file; with nothing shown nothing is printed; printer
 * settings outside their ranges are ignored.
 * Usage: c_host_viewer_transfer LIBRARY REGISTRY-FILE. */
#include "c_host_server.h"
#include "c_host_viewer_surface.h"


enum {
    kViewerGetStat = 0x60030037,
    kViewerGetDocumentType = 0x6003003d,
    kDisplayFromURL = 0x60030100,
    kDisplayFromURLStop = 0x60030101,
    kSetHttpTransfertBufferSize = 0x60030102,
    kDisplayFromFTP = 0x60030103,
    kSetFtpPassiveMode = 0x60030104,
    kPrintGetImageAlignment = 0x6003010b,
    kPrintSetImageAlignment = 0x6003010c,
    kPrintGetDocumentName = 0x60030111,
    kPrintSetDocumentName = 0x60030112,
    kPrintSetStdPaperSize = 0x60030120,
    kPrintImage = 0x60030125,
    kPrintImage2Printer = 0x60030128,
};


static void checkViewer(void) {
    setenv("TMP", scratch, 1);
    setenv("no_proxy", "127.0.0.1", 1);

    /* Nothing listens on port 1: the request cannot be sent. */
    VARIANT size[1] = {argLong(16)};
    callNone(kSetHttpTransfertBufferSize, size, 1);
    VARIANT http[3] = {argText("http://127.0.0.1"), argText("/bill.png"), argLong(1)};
    CHECK(callLong(kDisplayFromURL, http, 3) == 105);
    CHECK(callLong(kViewerGetStat, NULL, 0) == 105);
    CHECK(callLong(kViewerGetDocumentType, NULL, 0) == 0);
    /* No port of that number: no connection. */
    VARIANT beyond[3] = {argText("127.0.0.1"), argText("/bill.png"), argLong(70000)};
    CHECK(callLong(kDisplayFromURL, beyond, 3) == 101);
    callNone(kDisplayFromURLStop, NULL, 0);

    VARIANT passive[1] = {argFlag(0)};
    callNone(kSetFtpPassiveMode, passive, 1);
    VARIANT ftp[5] = {argText("127.0.0.1"), argText("\\in\\bill.png"), argText("scan"), argText("pw"), argLong(1)};
    CHECK(callLong(kDisplayFromFTP, ftp, 5) == 101);

    /* Nothing shown: nothing printed, and no printer is needed to say so. */
    VARIANT none = invokeMember(kPrintImage, NULL, 0, NULL);
    CHECK(none.vt == 0);
    VARIANT printer[1] = {argText("Archive")};
    CHECK(callBool(kPrintImage2Printer, printer, 1) == 0);

    CHECK(callLong(kPrintGetImageAlignment, NULL, 0) == 3);
    VARIANT outside[1] = {argLong(10)};
    callNone(kPrintSetImageAlignment, outside, 1);
    CHECK(callLong(kPrintGetImageAlignment, NULL, 0) == 3);
    VARIANT centred[1] = {argLong(0)};
    callNone(kPrintSetImageAlignment, centred, 1);
    CHECK(callLong(kPrintGetImageAlignment, NULL, 0) == 0);
    VARIANT paper[1] = {argLong(42)};
    callNone(kPrintSetStdPaperSize, paper, 1);

    char name[64];
    CHECK(strcmp(callText(kPrintGetDocumentName, NULL, 0, name, sizeof name), "Print Process") == 0);
    VARIANT bill[1] = {argText("Bill 42")};
    callNone(kPrintSetDocumentName, bill, 1);
    CHECK(strcmp(callText(kPrintGetDocumentName, NULL, 0, name, sizeof name), "Bill 42") == 0);

    CHECK(entriesIn(scratch) == 0);
}

static void checks(void) {
    Dispatch* viewer = createControl(&kClsidViewer);
    if (viewer) {
        Dispatch* twain = callOn(viewer);
        checkViewer();
        callOn(twain);
        CHECK(viewer->vtbl->Release(viewer) == 0);
    }
}

int main(int argc, char** argv) {
    return runTwainHost(argc, argv, "c_host_viewer_transfer", NULL, checks);
}
