#include "imaging/output/pdf_document.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "imaging/output/pdf_syntax.h"
#include "imaging/output/testing/pdf_test_support.h"

namespace scanvelt {
namespace {

using testing_support::FixedServices;
using testing_support::ReadBytes;
using testing_support::RunTool;

constexpr const char* kProducer = "Morvalen ActiveX 5.13.06 edition. - https://www.morvalen.example";
constexpr const char* kId1 = "0123456789ABCDEF0123456789ABCDEF";
constexpr const char* kId2 = "FEDCBA9876543210FEDCBA9876543210";

class PdfDocumentTest : public testing_support::PdfWriterTest {};

// Appends one object and records its offset.
void AddObject(std::string& file, std::vector<size_t>& offsets, int number, const std::string& body) {
    if (offsets.size() < static_cast<size_t>(number)) offsets.resize(static_cast<size_t>(number));
    offsets[static_cast<size_t>(number - 1)] = file.size();
    file += std::to_string(number) + " 0 obj\r\n" + body;
}

TEST_F(PdfDocumentTest, AnEmptyPageIsWrittenByteForByte) {
    const std::string path = File("empty.pdf");
    {
        cPDF pdf(FixedServices());
        ASSERT_TRUE(pdf.NewPdf(path, "Title", "Author", "Creator", "Keywords", "Subject", 0, -1, "", ""));
        EXPECT_EQ(pdf.BeginPage(), 1);
        EXPECT_EQ(pdf.ClosePdfFile(), OK);
    }
    std::string expected = std::string("%PDF-1.3\r%") + kProducer + "\r\n";
    std::vector<size_t> offsets;
    AddObject(expected, offsets, 1,
              std::string("<</Title(Title)/Author(Author)/Creator(Creator)/Producer(") + kProducer +
                  ")/Subject(Subject)/Keywords(Keywords)/CreationDate(D:20240501134510+01'00')>>\r\nendobj\r\n");
    AddObject(expected, offsets, 2,
              "<</PageMode/UseNone/ViewerPreferences<</HideWindowUI false/DisplayDocTitle true/HideToolbar false>>"
              "/Pages 3 0 R/PageLayout/OneColumn/Type/Catalog>>\r\nendobj\r\n");
    AddObject(expected, offsets, 5,
              "<</Type/Page/Parent 3 0 R/Contents 6 0 R/MediaBox [0 0 595.2 842]/CropBox [0 0 595.2 842]>>\r\n"
              "endobj\r\n");
    AddObject(expected, offsets, 6, "<</Length 0>>stream\r\n\r\nendstream\rendobj\r");
    AddObject(expected, offsets, 4, "<</ProcSet [/PDF/Text ]>>\r\nendobj\r\n");
    AddObject(expected, offsets, 3, "<</Type/Pages/Count 1/Kids [5 0 R ]/Resources 4 0 R>>\r\nendobj\r\n");
    const size_t xref = expected.size();
    expected += "xref\r\n0 7\r\n0000000000 65535 f\r\n";
    for (size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offset);
        ASSERT_EQ(std::string(entry).size(), 20u);
        expected += entry;
    }
    expected += "trailer\r\n<</Size 7/Root 2 0 R/Info 1 0 R>>\r\nstartxref\r\n" + std::to_string(xref) + "\r\n%%EOF\r\n";
    EXPECT_EQ(ReadBytes(path), expected);
    testing_support::ExpectQpdfCheckPasses(path);
}

TEST_F(PdfDocumentTest, AnEncryptedDocumentCarriesItsEncryptDictionaryAndEqualIdentifiers) {
    const std::string path = File("encrypted.pdf");
    {
        cPDF pdf(FixedServices());
        pdf.SetPdfA(true);  // encryption switches PDF/A off
        ASSERT_TRUE(pdf.NewPdf(path, "Secret (net)", "Author", "Creator", "Keywords", "Subject",
                               kPdfEncryption128BitRC4, kPdfRightCanPrint, "user", "owner"));
        pdf.BeginPage();
        EXPECT_EQ(pdf.ClosePdfFile(), OK);
    }
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind(std::string("%PDF-1.4\r%") + kProducer + "\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\r\n5 0 obj\r\n<< /Filter /Standard \r/O ("), std::string::npos);
    EXPECT_NE(bytes.find("\r/P -3900\r/V 2 /R 3 /Length 128 >>\r\nendobj\r\n6 0 obj\r\n"), std::string::npos);
    const std::string id = HexString(kId1);
    EXPECT_NE(bytes.find("trailer\r\n<</Size 8/Root 2 0 R/Info 1 0 R/Encrypt 5 0 R /ID [<" + id + "><" + id + ">]>>\r\n"),
              std::string::npos);
    EXPECT_EQ(bytes.find("/Metadata"), std::string::npos);
    EXPECT_EQ(bytes.find("Secret"), std::string::npos);  // the Info strings are encrypted

    testing_support::ExpectQpdfCheckPasses(path, "user");
    EXPECT_EQ(RunTool("qpdf --requires-password " + testing_support::Quoted(path)).Status, 0);
    for (const char* option : {"-upw user", "-opw owner"}) {
        const std::string info = RunTool("pdfinfo " + std::string(option) + " " + testing_support::Quoted(path)).Output;
        EXPECT_NE(info.find("Title:           Secret (net)"), std::string::npos) << info;
    }
    const std::string shown =
        RunTool("qpdf --show-encryption --password=owner " + testing_support::Quoted(path)).Output;
    EXPECT_NE(shown.find("R = 3"), std::string::npos) << shown;
    EXPECT_NE(shown.find("P = -3900"), std::string::npos) << shown;
    EXPECT_NE(shown.find("User password = user"), std::string::npos) << shown;
    EXPECT_NE(shown.find("print low resolution: allowed"), std::string::npos) << shown;
    EXPECT_NE(shown.find("extract for any purpose: not allowed"), std::string::npos) << shown;
    EXPECT_NE(shown.find("modify anything: not allowed"), std::string::npos) << shown;
    EXPECT_EQ(RunTool("qpdf --check --password=wrong " + testing_support::Quoted(path) + " >/dev/null 2>&1").Status, 2);
}

struct SecurityCase {
    int32_t mode;
    int32_t rights;
    const char* user;
    const char* owner;
    const char* permissions;  // "/P ..." as written
    const char* revision;     // in qpdf --show-encryption
    bool needsPassword;
};

class PdfSecurityCaseTest : public PdfDocumentTest, public ::testing::WithParamInterface<SecurityCase> {};

TEST_P(PdfSecurityCaseTest, ReadersOpenTheDocumentWithItsPasswords) {
    const SecurityCase& c = GetParam();
    const std::string path = File("case.pdf");
    {
        cPDF pdf;
        ASSERT_TRUE(pdf.NewPdf(path, "T", "A", "C", "K", "S", c.mode, c.rights, c.user, c.owner));
        pdf.BeginPage();
        pdf.SetColorFill(255);
        float radius = 0;
        pdf.Rectangle(10, 10, 100, 100, kPaintFill, radius);
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
    }
    const std::string bytes = ReadBytes(path);
    EXPECT_NE(bytes.find(std::string("\r/P ") + c.permissions + "\r"), std::string::npos);
    const std::string q = testing_support::Quoted(path);
    EXPECT_EQ(RunTool("qpdf --requires-password " + q).Status, c.needsPassword ? 0 : 3);
    const std::string ownerPassword = *c.owner ? c.owner : c.user;
    testing_support::ExpectQpdfCheckPasses(path, ownerPassword);
    const std::string shown = RunTool("qpdf --show-encryption-key --show-encryption --password=" +
                                      testing_support::Quoted(ownerPassword) + " " + q).Output;
    EXPECT_NE(shown.find(c.revision), std::string::npos) << shown;
    EXPECT_NE(shown.find(std::string("P = ") + c.permissions), std::string::npos) << shown;
    EXPECT_NE(shown.find("Supplied password is owner password"), std::string::npos) << shown;
    // 40 bits are 10 hex digits of key, 128 bits 32.
    const size_t key = shown.find("Encryption key = ");
    ASSERT_NE(key, std::string::npos) << shown;
    EXPECT_EQ(shown.find('\n', key) - key - 17, c.mode == kPdfEncryption128BitRC4 ? 32u : 10u) << shown;
    if (*c.user && *c.owner) {  // without an owner password the user's is both
        const std::string asUser = RunTool("qpdf --show-encryption --password=" + testing_support::Quoted(c.user) +
                                           " " + q).Output;
        EXPECT_NE(asUser.find("Supplied password is user password"), std::string::npos) << asUser;
    }
    // The page's content (after the Encrypt dictionary and the page) is decrypted with the user's password too.
    EXPECT_NE(testing_support::StreamData(path, 7, c.user).find("1 0 0 rg"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Revisions, PdfSecurityCaseTest,
    ::testing::Values(SecurityCase{kPdfEncryption128BitRC4, -1, "user", "owner", "-4", "R = 3", true},
                      SecurityCase{kPdfEncryption40BitRC4, -1, "user", "owner", "-4", "R = 2", true},
                      SecurityCase{kPdfEncryption40BitRC4, kPdfRightCanView, "u", "o", "-64", "R = 2", true},
                      SecurityCase{kPdfEncryption128BitRC4, kPdfRightCanPrint, "", "owner", "-3900", "R = 3", false},
                      SecurityCase{kPdfEncryption128BitRC4, kPdfRightCanView, "", "", "-3904", "R = 3", false},
                      SecurityCase{kPdfEncryption128BitRC4, -1, "a password longer than thirty-two characters", "",
                                   "-4", "R = 3", true}));

TEST_F(PdfDocumentTest, APdfaDocumentHasItsMetadataOutputIntentAndIdentifiers) {
    const std::string path = File("pdfa.pdf");
    {
        cPDF pdf(FixedServices());
        pdf.SetPdfA(true);
        pdf.SetXMP("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">caller's packet</x:xmpmeta>");  // replaced by ours
        ASSERT_TRUE(pdf.NewPdf(path, "Bills & <Receipts> (May)", "Asha \"A\" Rao", "Scanner's tool", "café, €",
                               "Subject", 0, -1, "", ""));
        pdf.BeginPage();
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
    }
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind("%PDF-1.4\r%\xE2\xE3\xCF\xD3\r\n1 0 obj\r\n", 0), 0u);
    EXPECT_NE(bytes.find("/Metadata 5 0 R/Pages 3 0 R/PageLayout/OneColumn/Type/Catalog/OutputIntents 6 0 R>>"),
              std::string::npos);
    EXPECT_NE(bytes.find("\r\n5 0 obj\r\n<</Subtype/XML/Length "), std::string::npos);
    EXPECT_NE(bytes.find("\r\n6 0 obj\r\n[<</Info(sRGB IEC61966-2.1)/S/GTS_PDFA1/OutputConditionIdentifier(Custom)"
                         "/OutputCondition()/DestOutputProfile 7 0 R/Type/OutputIntent/RegistryName()>>]\r\nendobj\r\n"
                         "7 0 obj\r\n<</Length "),
              std::string::npos);
    EXPECT_NE(bytes.find("/Filter/FlateDecode/N 3>>stream\r\n"), std::string::npos);
    EXPECT_NE(bytes.find(std::string("/ID[<") + kId1 + "><" + kId2 + ">]>>"), std::string::npos);
    EXPECT_EQ(bytes.find("/Encrypt"), std::string::npos);
    testing_support::ExpectQpdfCheckPasses(path);

    // The metadata stream is unfiltered, valid XML, and says PDF/A-1B.
    const std::string xmp = testing_support::StreamData(path, 5);
    EXPECT_EQ(testing_support::ObjectText(path, 5).find("/Filter"), std::string::npos);
    const std::string xmpFile = File("packet.xml");
    { std::ofstream(xmpFile, std::ios::binary) << xmp; }
    if (testing_support::HaveTool("xmllint")) {
        const auto lint = RunTool("xmllint --noout " + testing_support::Quoted(xmpFile) + " 2>&1");
        EXPECT_EQ(lint.Status, 0) << lint.Output;
    }
    EXPECT_EQ(xmp.find("caller's packet"), std::string::npos);
    EXPECT_EQ(xmp.rfind("\xEF\xBB\xBF", 50), xmp.find("begin=\"") + 7);  // the packet's byte order mark
    EXPECT_NE(xmp.find("<pdfaid:part>1</pdfaid:part>"), std::string::npos);
    EXPECT_NE(xmp.find("<pdfaid:conformance>B</pdfaid:conformance>"), std::string::npos);
    // Values are XML-escaped UTF-8, and say what the Info dictionary says.
    EXPECT_NE(xmp.find(">Bills &amp; &lt;Receipts&gt; (May)<"), std::string::npos) << xmp;
    EXPECT_NE(xmp.find(">Asha &quot;A&quot; Rao<"), std::string::npos);
    EXPECT_NE(xmp.find(">Scanner&apos;s tool<"), std::string::npos);
    EXPECT_NE(xmp.find(">café, €<"), std::string::npos);
    EXPECT_NE(xmp.find("<xmp:CreateDate>2024-05-01T13:45:10+01:00</xmp:CreateDate>"), std::string::npos);
    EXPECT_NE(xmp.find(std::string("<pdf:Producer>") + kProducer + "</pdf:Producer>"), std::string::npos);
    const std::string info = RunTool("pdfinfo -isodates " + testing_support::Quoted(path)).Output;
    EXPECT_NE(info.find("Title:           Bills & <Receipts> (May)\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Author:          Asha \"A\" Rao\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Keywords:        café, €\n"), std::string::npos) << info;
    EXPECT_NE(info.find("CreationDate:    2024-05-01T13:45:10+01"), std::string::npos) << info;

    // The output intent's profile is a three-component (RGB) ICC profile.
    const std::string profile = testing_support::StreamData(path, 7);
    ASSERT_GT(profile.size(), 128u);
    EXPECT_EQ(profile.substr(16, 4), "RGB ");
    EXPECT_EQ(profile.substr(36, 4), "acsp");
    EXPECT_EQ(static_cast<unsigned char>(profile[8]), 2);  // ICC version 2
}

TEST_F(PdfDocumentTest, DatesCarryTheMachinesRealOffsetFromUtc) {
    // POSIX zone rules, which need no time-zone database.
    for (const auto& [zone, suffix] : {std::pair{"IST-5:30", "+05'30'"}, std::pair{"NST+3:30", "-03'30'"},
                                       std::pair{"UTC0", "+00'00'"}}) {
        win::testing::ScopedEnvironment tz("TZ", zone);
        tzset();
        const PdfTimestamp now = LocalTimestampNow();
        const std::string date = InfoDate(now);
        EXPECT_NE(date.find(suffix), std::string::npos) << zone << " " << date;
        EXPECT_EQ(XmpDate(now).size(), 25u);
    }
    tzset();
    PdfTimestamp stamp = testing_support::FixedTimestamp(-210);
    EXPECT_EQ(InfoDate(stamp), "D:20240501134510-03'30'");
    EXPECT_EQ(XmpDate(stamp), "2024-05-01T13:45:10-03:30");
}

TEST_F(PdfDocumentTest, PagesTakeTheirSizeMarginAndOrientation) {
    const std::string path = File("pages.pdf");
    cPDF pdf(FixedServices());
    ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
    pdf.SetMargin(10);
    EXPECT_EQ(pdf.BeginPage(), 1);
    pdf.SetOrientation(1);
    pdf.SetPaperSize(2);
    EXPECT_EQ(pdf.BeginPage(), 2);
    pdf.SetOrientation(0);
    pdf.SetPaperWidth(200);
    EXPECT_EQ(pdf.PaperSize(), 255);
    EXPECT_EQ(pdf.BeginPage(), 3);
    EXPECT_EQ(pdf.Pages(), 3);
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    EXPECT_EQ(pdf.PdfGetNativePdf(), 0);
    const std::string bytes = ReadBytes(path);
    // Landscape is decided when the page ends: page 1 ended after it was set.
    EXPECT_NE(bytes.find("/Contents 6 0 R/MediaBox [0 0 595.2 842]/CropBox [10 10 585.2 832]/Rotate 90>>"),
              std::string::npos);
    EXPECT_NE(bytes.find("/MediaBox [0 0 612 792]/CropBox [10 10 602 782]>>"), std::string::npos);
    EXPECT_NE(bytes.find("/MediaBox [0 0 200 792]/CropBox [10 10 190 782]>>"), std::string::npos);
    EXPECT_NE(bytes.find("/Count 3/Kids [5 0 R 7 0 R 9 0 R ]"), std::string::npos);
    testing_support::ExpectQpdfCheckPasses(path);
    EXPECT_NE(RunTool("pdfinfo " + testing_support::Quoted(path)).Output.find("Pages:           3"), std::string::npos);
}

TEST_F(PdfDocumentTest, ACallersXmpPacketIsEmbeddedAsGiven) {
    const std::string path = File("xmp.pdf");
    cPDF pdf(FixedServices());
    const std::string packet = "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>"
                               "<?xpacket end=\"w\"?>";
    pdf.SetXMP(packet);
    ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
    pdf.BeginPage();
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    EXPECT_NE(ReadBytes(path).find("/Metadata 5 0 R/Pages 3 0 R"), std::string::npos);
    EXPECT_EQ(testing_support::StreamData(path, 5), packet);
    testing_support::ExpectQpdfCheckPasses(path);
}

TEST_F(PdfDocumentTest, TheFileAppearsOnlyWhenTheDocumentIsFinished) {
    const std::string path = File("late.pdf");
    { std::ofstream(path) << "the old document"; }
    cPDF pdf;
    ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
    pdf.BeginPage();
    EXPECT_EQ(ReadBytes(path), "the old document");
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    testing_support::ExpectQpdfCheckPasses(path);
    // A second close has nothing to do.
    EXPECT_EQ(pdf.ClosePdfFile(), OK);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.path()), {}), 1);
}

TEST_F(PdfDocumentTest, AMissingFolderIsRefused) {
    cPDF pdf;
    EXPECT_FALSE(pdf.NewPdf(File("no/such/folder/x.pdf"), "", "", "", "", "", 0, -1, "", ""));
    EXPECT_EQ(pdf.PdfGetNativePdf(), 0);
    EXPECT_EQ(pdf.BeginPage(), 1);  // draws into nothing
    EXPECT_EQ(pdf.ClosePdfFile(), OK);
    EXPECT_FALSE(std::filesystem::exists(File("no")));
}

TEST_F(PdfDocumentTest, ADocumentWithoutPagesIsStillAValidFile) {
    const std::string path = File("nothing.pdf");
    cPDF pdf;
    ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
    EXPECT_FALSE(pdf.PdfHeaderDone());
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    EXPECT_NE(ReadBytes(path).find("/Count 0/Kids []"), std::string::npos);
    testing_support::ExpectQpdfCheckPasses(path);
}

TEST_F(PdfDocumentTest, ASecondDocumentOnTheSameObjectStartsAfresh) {
    cPDF pdf;
    ASSERT_TRUE(pdf.NewPdf(File("one.pdf"), "", "", "", "", "", 0, -1, "", ""));
    pdf.BeginPage();
    pdf.BeginPage();
    ASSERT_TRUE(pdf.NewPdf(File("two.pdf"), "", "", "", "", "", 0, -1, "", ""));  // closes one.pdf
    EXPECT_EQ(pdf.BeginPage(), 1);
    ASSERT_EQ(pdf.ClosePdfFile(), OK);
    testing_support::ExpectQpdfCheckPasses(File("one.pdf"));
    testing_support::ExpectQpdfCheckPasses(File("two.pdf"));
    EXPECT_NE(ReadBytes(File("two.pdf")).find("/Count 1/Kids [5 0 R ]"), std::string::npos);
}

TEST_F(PdfDocumentTest, ObjectNumbersPastTheLimitAreRefusedAndTheDocumentIsRemoved) {
    const std::string path = File("huge.pdf");
    cPDF pdf;
    ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
    int16_t last = 0;
    for (int i = 0; i < 20000; ++i) {
        const int16_t page = pdf.BeginPage();
        if (pdf.Status() != OK) break;
        last = page;
    }
    // Pages take two numbers each from 5 on: page 16381 is the last whole one.
    EXPECT_EQ(last, 16382);
    EXPECT_EQ(pdf.Status(), ValueOverflow);
    EXPECT_EQ(pdf.ClosePdfFile(), ValueOverflow);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.path()), {}), 0);
}

TEST_F(PdfDocumentTest, AWriteRefusedPartWayRemovesTheDocumentAndReportsIt) {
    const std::string path = File("full.pdf");
    { std::ofstream(path) << "kept"; }
    cPDF pdf;
    ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
    // The file system takes no more than 64 KiB from this process now.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    pdf.SetCompressData(false);
    for (int page = 0; page < 200; ++page) {
        pdf.BeginPage();
        for (int line = 0; line < 100; ++line) pdf.MoveTo(static_cast<float>(line), static_cast<float>(page));
    }
    const MorvalenStatus status = pdf.ClosePdfFile();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_NE(status, OK);
    EXPECT_EQ(ReadBytes(path), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_.path()), {}), 1);
}

TEST_F(PdfDocumentTest, PropertiesIgnoreValuesOutOfRange) {
    cPDF pdf;
    pdf.SetCompressLevel(10);
    pdf.SetJpegQuality(101);
    EXPECT_EQ(pdf.CompressLevel(), 9);
    EXPECT_EQ(pdf.JpegQuality(), 75);
    pdf.SetCompressLevel(0);
    pdf.SetJpegQuality(100);
    EXPECT_EQ(pdf.CompressLevel(), 0);
    EXPECT_EQ(pdf.JpegQuality(), 100);
    pdf.SetPaperSize(1);
    EXPECT_FLOAT_EQ(pdf.PaperWidth(), 842);
    EXPECT_FLOAT_EQ(pdf.PaperHeight(), 1190.5f);
    pdf.SetPaperSize(7);
    EXPECT_EQ(pdf.PaperSize(), 7);
    EXPECT_FLOAT_EQ(pdf.PaperWidth(), 842);
}

}  // namespace
}  // namespace scanvelt
