#include "imaging/output/pdf_security.h"

#include <gtest/gtest.h>

#include "imaging/output/pdf_syntax.h"

namespace scanvelt {
namespace {

TEST(PdfSecurityTest, PermissionValuesFollowTheRights) {
    const struct {
        int32_t rights;
        int32_t p;
    } cases[] = {
        {-1, -4},
        {kPdfRightCanView, -3904},
        {kPdfRightCanPrint, -3900},
        {kPdfRightCanCopy, -3888},
        {kPdfRightCanModify, -3896},
        {kPdfRightCanAddNotes, -3872},
        {kPdfRightCanFillFields, -3648},
        {kPdfRightCanCopyAccess, -3392},
        {kPdfRightCanAssemble, -2880},
        {kPdfRightCanPrintFull, -1856},
        {kPdfRightCanPrint | kPdfRightCanPrintFull, -1852},
    };
    for (const auto& c : cases) EXPECT_EQ(PermissionValue(c.rights), c.p) << c.rights;
}

TEST(PdfSecurityTest, DigestAndCipherMatchTheirPublishedVectors) {
    EXPECT_EQ(HexString(Md5String("")), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(HexString(Md5String("abc")), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(HexString(Rc4String("Key", "Plaintext")), "BBF316E8D940AF0AD3");
    EXPECT_EQ(HexString(Rc4String("Wiki", "pedia")), "1021BF0420");
    EXPECT_EQ(Rc4String("", "text"), "");
    EXPECT_EQ(Rc4String("Key", ""), "");
    // The key is cut to 256 bytes.
    EXPECT_EQ(Rc4String(std::string(300, 'k'), "abc"), Rc4String(std::string(256, 'k'), "abc"));
}

TEST(PdfSecurityTest, KeysAndValuesHaveTheirRevisionsSizes) {
    const std::string id = "0123456789ABCDEF0123456789ABCDEF";
    PdfSecurity r3;
    r3.Compute(-1, kPdfEncryption128BitRC4, "owner", "user", id);
    EXPECT_EQ(r3.FileKey.size(), 16u);
    EXPECT_EQ(r3.O.size(), 32u);
    EXPECT_EQ(r3.U.size(), 32u);
    EXPECT_EQ(r3.U.substr(16), std::string(16, ' '));
    EXPECT_EQ(r3.P, "-4");
    EXPECT_EQ(r3.ObjectKey(7).size(), 16u);
    EXPECT_NE(r3.ObjectKey(7), r3.ObjectKey(8));

    PdfSecurity r2;
    r2.Compute(kPdfRightCanView, kPdfEncryption40BitRC4, "owner", "user", id);
    EXPECT_EQ(r2.FileKey.size(), 5u);
    EXPECT_EQ(r2.P, "-64");
    EXPECT_EQ(r2.ObjectKey(7).size(), 10u);
    EXPECT_NE(r2.EncryptDictionary().find("\r/P -64\r/V 1 /R 2 >>"), std::string::npos);

    // A blank owner password stands for the user's.
    PdfSecurity blank, same;
    blank.Compute(-1, kPdfEncryption128BitRC4, "   ", "user", id);
    same.Compute(-1, kPdfEncryption128BitRC4, "user", "user", id);
    EXPECT_EQ(blank.O, same.O);
    // Passwords longer than 32 bytes are cut to 32.
    PdfSecurity longer, cut;
    longer.Compute(-1, kPdfEncryption128BitRC4, "", std::string(40, 'p'), id);
    cut.Compute(-1, kPdfEncryption128BitRC4, "", std::string(32, 'p'), id);
    EXPECT_EQ(longer.U, cut.U);
}

TEST(PdfSecurityTest, TheEncryptDictionaryEscapesItsByteStrings) {
    PdfSecurity security;
    security.Mode = kPdfEncryption128BitRC4;
    security.O = std::string("\r\n()\\", 5) + std::string(27, 'o');
    security.U = std::string(32, 'u');
    security.P = "-4";
    EXPECT_EQ(security.EncryptDictionary(), "<< /Filter /Standard \r/O (\\r\\n\\(\\)\\\\" + std::string(27, 'o') +
                                                ")\r/U (" + std::string(32, 'u') +
                                                ")\r/P -4\r/V 2 /R 3 /Length 128 >>");
}

}  // namespace
}  // namespace scanvelt
