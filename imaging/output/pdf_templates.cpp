// cPDF's templates: named form XObjects. The drawing between StartObject and
// EndObject goes into the template's stream, which is compressed and
// encrypted as every other stream of the document; BeginPage draws the
// templates whose placement bits take the new page, DrawObject draws one
// by name.
#include "imaging/output/pdf_document.h"
#include "imaging/output/pdf_syntax.h"

namespace scanvelt {
namespace {

constexpr int32_t kTemplateAllPages = 7;
constexpr int32_t kTemplateEvenPages = 2;
constexpr int32_t kTemplateOddPages = 4;
constexpr int32_t kTemplateNotFirstPage = 8;

}  // namespace

void cPDF::StartObject(const std::string& name, int32_t options) {
    if (!out_.IsOpen()) return;
    if (!headerDone_) InitPdfFile();
    if (templateOpen_) EndObject();
    templateOpen_ = true;
    templateName_ = name;
    templateContent_.clear();
    templates_.push_back({name, options});
}

void cPDF::EndObject() {
    if (!templateOpen_) return;
    templateOpen_ = false;
    std::string content = std::move(templateContent_);
    templateContent_.clear();
    // The stream is written whole once its drawing is known, so that other
    // objects written meanwhile never land inside it.
    const int32_t a = out_.BeginObject(0);
    if (a == 0) return;
    const std::string m = FormatNumber(margin_);
    bool compressed = false;
    const std::vector<uint8_t> data = StoredContent(content, a, compressed);
    out_.WriteLine("<</Type/XObject/Subtype/Form/FormType 1/Name/" + templateName_ + "/BBox [" + m + " " + m + " " +
                   FormatNumber(paperWidth_ - margin_) + " " + FormatNumber(paperHeight_ - margin_) +
                   "]/Matrix [1 0 0 1 0 0]/Resources 4 0 R" + (compressed ? "/Filter/FlateDecode" : "") + "/Length " + std::to_string(a + 1) +
                   " 0 R>>stream");
    out_.WriteBytesLine(data);
    out_.WriteLine("endstream");
    out_.EndObject();
    if (out_.BeginObject(a + 1) == 0) return;
    out_.WriteLine(std::to_string(data.size()));
    out_.EndObject();
    templateResources_ += "/" + templateName_ + " " + std::to_string(a) + " 0 R \r";
}

void cPDF::DrawObject(const std::string& name) {
    if (templateOpen_ || pageOpen_) AddContent("/" + name + " Do");
}

void cPDF::DrawTemplatesForPage(int32_t page) {
    for (const PdfTemplate& form : templates_) {
        const int32_t o = form.Options;
        const bool draw = (o & kTemplateAllPages) == kTemplateAllPages ||
                          ((o & kTemplateEvenPages) && page % 2 == 0) ||
                          ((o & kTemplateOddPages) && page % 2 == 1 && !((o & kTemplateNotFirstPage) && page == 1));
        if (draw) content_ += "/" + form.Name + " Do\r\n";
    }
}

}  // namespace scanvelt
