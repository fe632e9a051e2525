/* A plain C host of the PDF members: it creates Twain by its class ID and
 * calls the one-page and scan-to-PDF members by dispatch ID only, checking
 * what they answer and which files they leave in a fresh folder of its own.
 * Usage: c_host_pdf LIBRARY REGISTRY-FILE. */
#include "c_host_server.h"

enum {
    kSaveAsPDF = 0x60030058,
    kSaveAsPDFA = 0x60030059,
    kTwainPdfStart = 0x60030075,
    kTwainAddMorvalenImageToPdf = 0x60030076,
    kTwainPdfStop = 0x60030077,
    kSaveAsPDFEx = 0x60030130,
    kTwainPdfStartEx = 0x60030133,
    kPdfCreateRights = 0x6003013b,
};

static int fileIs(const char* path, const char* content) {
    char buffer[256] = {0};
    FILE* f = fopen(path, "rb");
    if (!f) return 0;
    size_t n = fread(buffer, 1, sizeof buffer - 1, f);
    fclose(f);
    return n == strlen(content) && memcmp(buffer, content, n) == 0;
}

static void checkMembers(void) {
    CHECK(callLong(kDispidGetStat, NULL, 0) == 0);

    /* The rights of eight flags. */
    VARIANT flags[8] = {argFlag(1), argFlag(0), argFlag(1), argFlag(0),
                        argFlag(0), argFlag(0), argFlag(0), argFlag(1)};
    CHECK(callLong(kPdfCreateRights, flags, 8) == 131);
    VARIANT modifyOnly[8] = {argFlag(0), argFlag(1), argFlag(0), argFlag(0),
                             argFlag(0), argFlag(0), argFlag(0), argFlag(0)};
    CHECK(callLong(kPdfCreateRights, modifyOnly, 8) == 4);

    /* One-page saves without a current image: False, the last status untouched, no file. */
    VARIANT plain[1] = {argText(pathIn("one.pdf"))};
    CHECK(!callBool(kSaveAsPDF, plain, 1));
    VARIANT pdfa[2] = {argText(pathIn("one.pdf")), argText("Title")};
    CHECK(!callBool(kSaveAsPDFA, pdfa, 2));
    VARIANT secured[10] = {argText(pathIn("one.pdf")), argText(""), argText(""), argText(""), argText(""),
                           argText(""), argLong(2), argLong(4), argText("u"), argText("o")};
    CHECK(!callBool(kSaveAsPDFEx, secured, 10));
    CHECK(callLong(kDispidGetStat, NULL, 0) == 0);

    /* An earlier file that nothing below may touch. */
    FILE* kept = fopen(pathIn("kept.pdf"), "wb");
    CHECK(kept != NULL);
    if (kept) {
        fputs("an earlier bill", kept);
        fclose(kept);
    }
    CHECK(entriesIn(scratch) == 1);

    /* Add and stop without an open document: 35; an ID of 0: 2. */
    VARIANT unknownImage[1] = {argLong(12345)};
    CHECK(callLong(kTwainAddMorvalenImageToPdf, unknownImage, 1) == 35);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 35);
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 35);
    VARIANT noImage[1] = {argLong(0)};
    CHECK(callLong(kTwainAddMorvalenImageToPdf, noImage, 1) == 2);

    /* A start that cannot make its file opens nothing. */
    VARIANT missing[1] = {argText(pathIn("missing/bill.pdf"))};
    CHECK(callLong(kTwainPdfStart, missing, 1) == 41);
    CHECK(callLong(kTwainAddMorvalenImageToPdf, unknownImage, 1) == 35);

    /* A second start drops the first document, which has no page; a page the
     * writer refuses makes the stop drop the second: no file either way. */
    VARIANT first[1] = {argText(pathIn("first.pdf"))};
    CHECK(callLong(kTwainPdfStart, first, 1) == 0);
    VARIANT second[2] = {argText(pathIn("second.pdf")), argText("Second")};
    CHECK(callLong(kTwainPdfStart, second, 2) == 0);
    CHECK(callLong(kTwainAddMorvalenImageToPdf, unknownImage, 1) == 230);
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 230);
    CHECK(callLong(kDispidGetStat, NULL, 0) == 230);

    /* An encrypted session closed without pages leaves no file and answers the last status. */
    VARIANT securedStart[10] = {argText(pathIn("secret.pdf")), argText("T"), argText("A"), argText("S"), argText("K"),
                                argText("C"), argLong(2), argLong(4), argText("u"), argText("o")};
    CHECK(callLong(kTwainPdfStartEx, securedStart, 10) == 0);
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 0);
    CHECK(callLong(kTwainPdfStop, NULL, 0) == 35);

    CHECK(entriesIn(scratch) == 1);
    CHECK(fileIs(pathIn("kept.pdf"), "an earlier bill"));
    remove(pathIn("kept.pdf"));
}

int main(int argc, char** argv) { return runTwainHost(argc, argv, "c_host_pdf", NULL, checkMembers); }
