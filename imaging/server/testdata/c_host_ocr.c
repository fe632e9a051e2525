/* A plain C host of the OCR members: it creates Twain by its class ID and
 * calls the recognition and searchable-PDF members by dispatch ID only, with
 * no current image and around an OCR session, checking what they answer and
 * that they leave no file in a fresh folder of its own.
 * Usage: c_host_ocr LIBRARY REGISTRY-FILE. */
#include "c_host_server.h"

enum {
    kSaveAsPDFOCR = 0x6003010f,
    kTwainPdfOCRStart = 0x60030110,
    kTwainAddMorvalenImageToPdfOCR = 0x60030111,
    kTwainPdfOCRStop = 0x60030112,
    kOCRTesseractGetCharConfidence = 0x60030114,
    kOCRTesseractGetCharCode = 0x60030117,
    kOCRTesseractGetCharCount = 0x6003011c,
    kOCRTesseractDoOCR = 0x6003011d,
    kOCRTesseractClear = 0x6003011e,
    kSaveAsPDFOCREx = 0x60030132,
    kTwainPdfOCRStartEx = 0x60030134,
    kOCRTesseractGetOrientation = 0x6003013a,
};

/* An OCR session loads its text layer's font: fontconfig's start-up keeps a
 * few hundred bytes until FcFini, which the library must not call in a host
 * that shares fontconfig. The leak checker of the sanitizer build expects them. */
const char* __lsan_default_suppressions(void) { return "leak:libfontconfig.so\n"; }

/* True when the member answers an empty string. */
static int answersEmpty(int32_t id, VARIANT* arguments, uint32_t count) {
    char answer[256];
    return callText(id, arguments, count, answer, sizeof answer)[0] == 0;
}

static float single(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = invokeMember(id, arguments, count, NULL);
    CHECK(result.vt == VT_R4);
    float value = 0;
    memcpy(&value, &result.u, sizeof value);
    return value;
}

static void checkMembers(void) {
    /* Nothing recognised yet: no characters; outside the count a code is 0, a confidence 100. */
    CHECK(callLong(kOCRTesseractGetCharCount, NULL, 0) == 0);
    VARIANT first[1] = {argLong(1)};
    CHECK(callLong(kOCRTesseractGetCharCode, first, 1) == 0);
    VARIANT zero[1] = {argLong(0)};
    CHECK(single(kOCRTesseractGetCharConfidence, zero, 1) == 100.0f);
    VARIANT cleared = invokeMember(kOCRTesseractClear, NULL, 0, NULL);
    CHECK(cleared.vt == VT_EMPTY);

    /* Recognition without a current image: "" and status 1; the white list may be left out. */
    VARIANT recognise[2] = {argLong(2), argText("")};
    CHECK(answersEmpty(kOCRTesseractDoOCR, recognise, 2));
    CHECK(lastStatus() == 1);
    VARIANT orientation[2] = {argLong(2), argText("")};
    CHECK(callLong(kOCRTesseractGetOrientation, orientation, 2) == 0);
    CHECK(lastStatus() == 1);

    /* A searchable page without a current image: "" and status 2, no file. */
    VARIANT save[3] = {argText(pathIn("page.pdf")), argLong(2), argText("")};
    CHECK(answersEmpty(kSaveAsPDFOCR, save, 3));
    CHECK(lastStatus() == 2);
    VARIANT saveEx[13] = {argText(pathIn("page.pdf")), argLong(2), argText(""), argText("0123456789"),
                          argText("T"), argText("A"), argText("S"), argText("K"), argText("C"), argLong(2), argLong(4),
                          argText("u"), argText("o")};
    CHECK(answersEmpty(kSaveAsPDFOCREx, saveEx, 13));
    CHECK(lastStatus() == 2);

    /* The OCR session: adds and stops without a document answer 35, an ID of 0 answers 2. */
    VARIANT add[3] = {argLong(12345), argLong(2), argText("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, add, 3));
    CHECK(lastStatus() == 35);
    CHECK(callLong(kTwainPdfOCRStop, NULL, 0) == 35);
    VARIANT noImage[3] = {argLong(0), argLong(2), argText("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, noImage, 3));
    CHECK(lastStatus() == 2);

    /* A start that cannot make its file opens nothing. */
    VARIANT missing[1] = {argText(pathIn("missing/bills.pdf"))};
    CHECK(callLong(kTwainPdfOCRStart, missing, 1) == 41);
    VARIANT again[3] = {argLong(12345), argLong(2), argText("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, again, 3));
    CHECK(lastStatus() == 35);

    /* A refused image drops the document at the stop; an empty encrypted one leaves no file. */
    VARIANT start[2] = {argText(pathIn("bills.pdf")), argText("Bills")};
    CHECK(callLong(kTwainPdfOCRStart, start, 2) == 0);
    VARIANT unknown[3] = {argLong(12345), argLong(2), argText("")};
    CHECK(answersEmpty(kTwainAddMorvalenImageToPdfOCR, unknown, 3));
    CHECK(lastStatus() == 230);
    CHECK(callLong(kTwainPdfOCRStop, NULL, 0) == 230);
    VARIANT secured[10] = {argText(pathIn("secret.pdf")), argText("T"), argText("A"), argText("S"), argText("K"),
                           argText("C"), argLong(2), argLong(4), argText("u"), argText("o")};
    CHECK(callLong(kTwainPdfOCRStartEx, secured, 10) == 0);
    CHECK(callLong(kTwainPdfOCRStop, NULL, 0) == 0);
    CHECK(callLong(kTwainPdfOCRStop, NULL, 0) == 35);

    CHECK(entriesIn(scratch) == 0);
}

int main(int argc, char** argv) { return runTwainHost(argc, argv, "c_host_ocr", NULL, checkMembers); }
