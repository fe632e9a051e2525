/* A plain C host of the PDF members: it creates Twain by its class ID and
 * calls the one-page and scan-to-PDF members by dispatch ID only, checking
 * what they answer and which files they leave in a fresh folder of its own.
 * Usage: c_host_pdf LIBRARY REGISTRY-FILE. */
#include <dirent.h>
#include <dlfcn.h>
#include <unistd.h>

#include "c_host_calls.h"

enum { VT_BSTR = 8, VT_BOOL = 11 };

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

static const char* folder = NULL;

static VARIANT i4(int32_t value) { return argLong(value); }

static VARIANT boolean(int value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BOOL;
    v.u.boolVal = value ? -1 : 0;
    return v;
}

static VARIANT text(const char* value) {
    VARIANT v;
    memset(&v, 0, sizeof v);
    v.vt = VT_BSTR;
    v.u.bstrVal = makeBstr(value);
    return v;
}

/* The member's result; the arguments come in the host's order and are freed. */
static VARIANT call(int32_t id, VARIANT* arguments, uint32_t count) {
    return invokeMember(id, arguments, count, NULL);
}

static int32_t status(int32_t id, VARIANT* arguments, uint32_t count) {
    VARIANT result = call(id, arguments, count);
    CHECK(result.vt == VT_I4);
    return result.u.lVal;
}

static int32_t lastStatus(void) { return status(kDispidGetStat, NULL, 0); }

static char* pathOf(const char* name) {
    static char path[4096];
    snprintf(path, sizeof path, "%s/%s", folder, name);
    return path;
}

/* Entries of the folder, temporary files included. */
static int entryCount(void) {
    DIR* dir = opendir(folder);
    if (!dir) return -1;
    int count = 0;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) ++count;
    }
    closedir(dir);
    return count;
}

static int fileIs(const char* path, const char* content) {
    char buffer[256] = {0};
    FILE* f = fopen(path, "rb");
    if (!f) return 0;
    size_t n = fread(buffer, 1, sizeof buffer - 1, f);
    fclose(f);
    return n == strlen(content) && memcmp(buffer, content, n) == 0;
}

static void checkMembers(Dispatch* object) {
    calledControl = object;
    CHECK(lastStatus() == 0);

    /* The rights of eight flags. */
    VARIANT flags[8] = {boolean(1), boolean(0), boolean(1), boolean(0),
                        boolean(0), boolean(0), boolean(0), boolean(1)};
    CHECK(status(kPdfCreateRights, flags, 8) == 131);
    VARIANT modifyOnly[8] = {boolean(0), boolean(1), boolean(0), boolean(0),
                             boolean(0), boolean(0), boolean(0), boolean(0)};
    CHECK(status(kPdfCreateRights, modifyOnly, 8) == 4);

    /* One-page saves without a current image: False, the last status untouched, no file. */
    VARIANT plain[1] = {text(pathOf("one.pdf"))};
    VARIANT saved = call(kSaveAsPDF, plain, 1);
    CHECK(saved.vt == VT_BOOL && saved.u.boolVal == 0);
    VARIANT pdfa[2] = {text(pathOf("one.pdf")), text("Title")};
    saved = call(kSaveAsPDFA, pdfa, 2);
    CHECK(saved.vt == VT_BOOL && saved.u.boolVal == 0);
    VARIANT secured[10] = {text(pathOf("one.pdf")), text(""), text(""), text(""), text(""),
                           text(""), i4(2), i4(4), text("u"), text("o")};
    saved = call(kSaveAsPDFEx, secured, 10);
    CHECK(saved.vt == VT_BOOL && saved.u.boolVal == 0);
    CHECK(lastStatus() == 0);

    /* An earlier file that nothing below may touch. */
    FILE* kept = fopen(pathOf("kept.pdf"), "wb");
    CHECK(kept != NULL);
    if (kept) {
        fputs("an earlier bill", kept);
        fclose(kept);
    }
    CHECK(entryCount() == 1);

    /* Add and stop without an open document: 35; an ID of 0: 2. */
    VARIANT unknownImage[1] = {i4(12345)};
    CHECK(status(kTwainAddMorvalenImageToPdf, unknownImage, 1) == 35);
    CHECK(lastStatus() == 35);
    CHECK(status(kTwainPdfStop, NULL, 0) == 35);
    VARIANT noImage[1] = {i4(0)};
    CHECK(status(kTwainAddMorvalenImageToPdf, noImage, 1) == 2);

    /* A start that cannot make its file opens nothing. */
    VARIANT missing[1] = {text(pathOf("missing/bill.pdf"))};
    CHECK(status(kTwainPdfStart, missing, 1) == 41);
    CHECK(status(kTwainAddMorvalenImageToPdf, unknownImage, 1) == 35);

    /* A second start drops the first document, which has no page; a page the
     * writer refuses makes the stop drop the second: no file either way. */
    VARIANT first[1] = {text(pathOf("first.pdf"))};
    CHECK(status(kTwainPdfStart, first, 1) == 0);
    VARIANT second[2] = {text(pathOf("second.pdf")), text("Second")};
    CHECK(status(kTwainPdfStart, second, 2) == 0);
    CHECK(status(kTwainAddMorvalenImageToPdf, unknownImage, 1) == 230);
    CHECK(status(kTwainPdfStop, NULL, 0) == 230);
    CHECK(lastStatus() == 230);

    /* An encrypted session closed without pages leaves no file and answers the last status. */
    VARIANT securedStart[10] = {text(pathOf("secret.pdf")), text("T"), text("A"), text("S"), text("K"),
                                text("C"), i4(2), i4(4), text("u"), text("o")};
    CHECK(status(kTwainPdfStartEx, securedStart, 10) == 0);
    CHECK(status(kTwainPdfStop, NULL, 0) == 0);
    CHECK(status(kTwainPdfStop, NULL, 0) == 35);

    CHECK(entryCount() == 1);
    CHECK(fileIs(pathOf("kept.pdf"), "an earlier bill"));
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: c_host_pdf LIBRARY REGISTRY-FILE\n");
        return 2;
    }
    char scratch[] = "/tmp/c_host_pdf-XXXXXX";
    folder = mkdtemp(scratch);
    if (!folder) {
        perror("mkdtemp");
        return 1;
    }
    const int result = runWithTwain(argv[1], argv[2], checkMembers);
    remove(pathOf("kept.pdf"));
    CHECK(rmdir(folder) == 0);
    return result || failures ? 1 : 0;
}
