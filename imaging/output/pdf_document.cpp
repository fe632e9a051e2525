#include "imaging/output/pdf_document.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "imaging/engine/file_target.h"
#include "imaging/engine/general_helpers.h"
#include "imaging/engine/random_numbers.h"
#include "imaging/output/pdf_syntax.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

constexpr std::string_view kProducer = "Morvalen ActiveX 5.13.06 edition. - https://www.morvalen.example";

struct PaperSizeEntry {
    int32_t Code;
    float Width;
    float Height;
};
constexpr PaperSizeEntry kPaperSizes[] = {{0, 595.2f, 842.0f}, {1, 842.0f, 1190.5f}, {2, 612.0f, 792.0f},
                                          {3, 612.0f, 864.0f}};

constexpr int32_t kCustomPaperSize = 255;

// True when every character of the UTF-8 text reads the same in
// Windows-1252 and in PDFDocEncoding (ASCII, and U+00A0 to U+00FF).
bool SameInPdfDocEncoding(std::string_view utf8) {
    for (char16_t c : win::Utf8ToUtf16(utf8)) {
        if (c >= 0x80 && c < 0xA0) return false;
        if (c > 0xFF) return false;
    }
    return true;
}

}  // namespace

cPDF::cPDF(PdfWriterServices services) : services_(std::move(services)) {
    if (!services_.Clock) services_.Clock = LocalTimestampNow;
    if (!services_.Random) services_.Random = RandomUnit;
    if (!services_.ShowMessage) {
        services_.ShowMessage = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    }
}

void cPDF::SetCompressLevel(int32_t level) {
    if (level >= 0 && level <= 9) compressLevel_ = level;
}

void cPDF::SetJpegQuality(int32_t quality) {
    if (quality >= 0 && quality <= 100) jpegQuality_ = quality;
}

void cPDF::SetPaperWidth(float value) {
    paperWidth_ = value;
    paperSize_ = kCustomPaperSize;
}

void cPDF::SetPaperHeight(float value) {
    paperHeight_ = value;
    paperSize_ = kCustomPaperSize;
}

void cPDF::SetPaperSize(int32_t code) {
    paperSize_ = code;
    for (const PaperSizeEntry& size : kPaperSizes) {
        if (size.Code == code) {
            paperWidth_ = size.Width;
            paperHeight_ = size.Height;
        }
    }
}

void cPDF::ResetDocument() {
    headerDone_ = false;
    security_ = {};
    encryptNumber_ = 0;
    pageCounter_ = 0;
    pageOpen_ = false;
    pageReferences_.clear();
    content_.clear();
    fonts_.clear();
    fontResources_.clear();
    images_.clear();
    imageCount_ = 0;
    imageResources_.clear();
    templates_.clear();
    templateResources_.clear();
    templateOpen_ = false;
    templateContent_.clear();
}

bool cPDF::NewPdf(const std::string& path, const std::string& title, const std::string& author,
                  const std::string& creator, const std::string& keywords, const std::string& subject,
                  int32_t encryption, int32_t rights, const std::string& userPassword,
                  const std::string& ownerPassword) {
    if (out_.IsOpen()) ClosePdfFile();
    // Counters, numbers and resource lists belong to one document: a second
    // document on the same object starts from nothing again.
    ResetDocument();
    title_ = title;
    author_ = author;
    subject_ = subject;
    keywords_ = keywords;
    creator_ = creator;
    encryption_ = encryption == kPdfEncryption40BitRC4 || encryption == kPdfEncryption128BitRC4 ? encryption
                                                                                                : kPdfEncryptionNone;
    rights_ = rights;
    ownerPassword_ = ownerPassword;
    userPassword_ = userPassword;
    path_ = path;

    static constexpr char kDigits[] = "0123456789ABCDEF";
    fileId1_.clear();
    fileId2_.clear();
    for (int i = 0; i < 32; ++i) {
        fileId1_ += kDigits[static_cast<int>(services_.Random() * 16) & 15];
        fileId2_ += kDigits[static_cast<int>(services_.Random() * 16) & 15];
    }
    // A path is a Windows path as for every other member; a folder or an
    // empty name is refused now, not when the document closes.
    const std::optional<std::filesystem::path> target = FileTargetOf(path);
    if (!target) return false;
    return out_.Open(*target) == OK;
}

std::string cPDF::EncodeStringForObject(const std::string& bytes, int32_t objectNumber) const {
    if (encryption_ != kPdfEncryptionNone) {
        return EscapePdfString(Rc4String(security_.ObjectKey(objectNumber), bytes));
    }
    return EscapePdfStringBasic(bytes);
}

std::string cPDF::InfoString(const std::string& utf8) const {
    if (SameInPdfDocEncoding(utf8)) return win::Utf8ToAnsi(utf8);
    // Text that PDFDocEncoding cannot hold is written as UTF-16BE with its
    // byte order mark, so that the Info dictionary says what the XMP says.
    std::string bytes = "\xFE\xFF";
    for (char16_t c : win::Utf8ToUtf16(utf8)) {
        bytes += static_cast<char>(c >> 8);
        bytes += static_cast<char>(c & 0xFF);
    }
    return bytes;
}

void cPDF::InitPdfFile() {
    if (!out_.IsOpen()) return;
    headerDone_ = true;
    const PdfTimestamp stamp = services_.Clock();
    imageCount_ = 0;
    images_.clear();
    if (encryption_ != kPdfEncryptionNone) {
        pdfA_ = false;
        security_.Compute(rights_, encryption_, win::Utf8ToAnsi(ownerPassword_), win::Utf8ToAnsi(userPassword_),
                          fileId1_);
    }

    if (pdfA_) {
        out_.WriteLine("%PDF-1.4\r%\xE2\xE3\xCF\xD3");
    } else {
        out_.WriteLine(std::string(encryption_ == kPdfEncryption128BitRC4 ? "%PDF-1.4\r%" : "%PDF-1.3\r%") +
                       std::string(kProducer));
    }

    out_.SetHighestObjectNumber(0);
    out_.BeginObject(1);
    const auto info = [&](const std::string& text) { return EncodeStringForObject(InfoString(text), 1); };
    out_.WriteLine("<</Title(" + info(title_) + ")/Author(" + info(author_) + ")/Creator(" + info(creator_) +
                   ")/Producer(" + info(std::string(kProducer)) + ")/Subject(" + info(subject_) + ")/Keywords(" +
                   info(keywords_) + ")/CreationDate(" + EncodeStringForObject(InfoDate(stamp), 1) + ")>>");
    out_.EndObject();

    const bool metadata = !xmp_.empty() || pdfA_;
    out_.BeginObject(2);
    out_.WriteLine(std::string("<</PageMode/UseNone/ViewerPreferences<</HideWindowUI false/DisplayDocTitle true"
                               "/HideToolbar false>>") +
                   (metadata ? "/Metadata 5 0 R" : "") + "/Pages 3 0 R/PageLayout/OneColumn/Type/Catalog" +
                   (pdfA_ ? "/OutputIntents 6 0 R" : "") + ">>");
    out_.EndObject();
    out_.SetHighestObjectNumber(4);

    if (metadata) {
        if (pdfA_) {
            xmp_ = FillPdfaXmp({title_, author_, creator_, subject_, keywords_, std::string(kProducer),
                                XmpDate(stamp), "uuid:" + RandomGuidString(), "uuid:" + RandomGuidString()});
        }
        const int32_t number = out_.BeginObject(0);
        std::string packet = xmp_;
        if (encryption_ != kPdfEncryptionNone) packet = Rc4String(security_.ObjectKey(number), packet);
        out_.WriteLine("<</Subtype/XML/Length " + std::to_string(packet.size()) + "/Type/Metadata>>stream\r\n" +
                       packet + "\r\nendstream");
        out_.EndObject();
        if (pdfA_) WriteOutputIntent(out_);
    }

    if (encryption_ != kPdfEncryptionNone) {
        encryptNumber_ = out_.BeginObject(0);
        out_.WriteLine(security_.EncryptDictionary());
        out_.EndObject();
    }
}

int16_t cPDF::BeginPage() {
    if (!headerDone_) InitPdfFile();
    if (pageOpen_) EndPage();
    if (pageCounter_ >= PdfObjectWriter::kMaxObjectNumber) {
        out_.Fail(ValueOverflow);
        return 0;
    }
    ++pageCounter_;
    content_.clear();
    DrawTemplatesForPage(pageCounter_);
    pageMargin_ = margin_;
    charSpacing_ = 0;
    wordSpacing_ = 0;
    horizontalScaling_ = 100;
    textMode_ = 0;
    pageWidth_ = paperWidth_;
    pageHeight_ = paperHeight_;
    pageOpen_ = true;
    return static_cast<int16_t>(pageCounter_);
}

void cPDF::EndPage() {
    if (!pageOpen_) return;
    pageOpen_ = false;
    std::string content = std::move(content_);
    content_.clear();
    const int32_t page = out_.BeginObject(0);
    if (page == 0) return;
    pageReferences_ += std::to_string(page) + " 0 R ";
    const std::string w = FormatNumber(pageWidth_), h = FormatNumber(pageHeight_), m = FormatNumber(pageMargin_);
    out_.WriteLine("<</Type/Page/Parent 3 0 R/Contents " + std::to_string(page + 1) + " 0 R/MediaBox [0 0 " + w +
                   " " + h + "]/CropBox [" + m + " " + m + " " + FormatNumber(pageWidth_ - pageMargin_) + " " +
                   FormatNumber(pageHeight_ - pageMargin_) + "]" + (orientation_ == 1 ? "/Rotate 90" : "") + ">>");
    out_.EndObject();
    const int32_t stream = out_.BeginObject(page + 1);
    if (stream == 0) return;
    bool compressed = false;
    const std::vector<uint8_t> data = StoredContent(content, stream, compressed);
    out_.WriteLine("<</Length " + std::to_string(data.size()) + (compressed ? "/Filter /FlateDecode" : "") +
                   ">>stream");
    // Raw content already ends its last line: one more line end follows it.
    out_.WriteBytesLine(data);
    out_.Write(std::string_view("endstream\rendobj\r"));
}

std::vector<uint8_t> cPDF::StoredContent(const std::string& content, int32_t objectNumber, bool& compressed) const {
    std::vector<uint8_t> data;
    compressed = compressData_ && CompressText(services_.Compressor, content, data);
    if (!compressed) data.assign(content.begin(), content.end());
    if (encryption_ != kPdfEncryptionNone) Rc4InPlace(security_.ObjectKey(objectNumber), data);
    return data;
}

MorvalenStatus cPDF::ClosePdfFile() {
    if (!out_.IsOpen()) return OK;
    if (templateOpen_) EndObject();
    // A document without a page, image or font still gets its header and
    // leading objects: the file is a valid PDF, not a fragment.
    if (!headerDone_) InitPdfFile();
    if (pageOpen_) EndPage();
    WriteDeferredFontDescriptors();

    out_.BeginObject(4);
    const bool anyXObject = imageCount_ > 0 || !templates_.empty();
    out_.WriteLine("<<" + (fonts_.empty() ? std::string() : "/Font<<" + fontResources_ + ">>") + "/ProcSet [/PDF/Text" +
                   (imageCount_ > 0 ? "/ImageB/ImageC/ImageI" : "") + " ]" +
                   (anyXObject ? "/XObject <<" + imageResources_ + templateResources_ + ">>" : "") + ">>");
    out_.EndObject();
    out_.BeginObject(3);
    out_.WriteLine("<</Type/Pages/Count " + std::to_string(pageCounter_) + "/Kids [" + pageReferences_ +
                   "]/Resources 4 0 R>>");
    out_.EndObject();

    const std::string size = std::to_string(out_.HighestObjectNumber() + 1);
    std::string trailer;
    if (encryption_ != kPdfEncryptionNone) {
        const std::string id = HexString(fileId1_);
        trailer = "<</Size " + size + "/Root 2 0 R/Info 1 0 R/Encrypt " + std::to_string(encryptNumber_) +
                  " 0 R /ID [<" + id + "><" + id + ">]>>";
    } else if (pdfA_) {
        trailer = "<</Size " + size + "/Root 2 0 R/Info 1 0 R/ID[<" + fileId1_ + "><" + fileId2_ + ">]>>";
    } else {
        trailer = "<</Size " + size + "/Root 2 0 R/Info 1 0 R>>";
    }
    out_.WriteCrossReferenceAndTrailer(trailer);
    return out_.Commit();
}

}  // namespace scanvelt
