#include "imaging/output/pdf_metadata.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "imaging/output/pdf_resources.h"

namespace scanvelt {

PdfTimestamp LocalTimestampNow() {
    PdfTimestamp stamp;
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &stamp.Local);
    stamp.UtcOffsetMinutes = static_cast<int32_t>(stamp.Local.tm_gmtoff / 60);
    return stamp;
}

namespace {

// The time in `format` (six numbers: year, month, day, hours, minutes,
// seconds), then the offset from UTC as sign, hours, separator, minutes, ending.
std::string Stamp(const PdfTimestamp& time, const char* format, const char* separator, const char* ending) {
    const std::tm& t = time.Local;
    const int32_t minutes = std::abs(time.UtcOffsetMinutes);
    char text[96];
    int n = std::snprintf(text, sizeof text, format, t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                          t.tm_sec);
    if (n < 0 || n >= static_cast<int>(sizeof text)) return {};
    std::snprintf(text + n, sizeof text - static_cast<size_t>(n), "%c%02d%s%02d%s",
                  time.UtcOffsetMinutes < 0 ? '-' : '+', minutes / 60, separator, minutes % 60, ending);
    return text;
}

std::string ReplaceAll(std::string text, std::string_view placeholder, std::string_view value) {
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
    return text;
}

}  // namespace

std::string XmpDate(const PdfTimestamp& time) { return Stamp(time, "%04d-%02d-%02dT%02d:%02d:%02d", ":", ""); }

std::string InfoDate(const PdfTimestamp& time) { return Stamp(time, "D:%04d%02d%02d%02d%02d%02d", "'", "'"); }

std::string XmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string FillPdfaXmp(const PdfaXmpValues& v) {
    const std::pair<std::string_view, const std::string*> fields[] = {
        {"XXX_AUTHOR_XXX", &v.Author},           {"XXX_TITLE_XXX", &v.Title},
        {"XXX_CREATOR_XXX", &v.Creator},         {"XXX_SUBJECT_XXX", &v.Subject},
        {"XXX_KEYWORDS_XXX", &v.Keywords},       {"XXX_CREATIONDATE_XXX", &v.Date},
        {"XXX_MODIFYDATE_XXX", &v.Date},         {"XXX_METADATADATE_XXX", &v.Date},
        {"XXX_PRODUCER_XXX", &v.Producer},       {"XXX_DOCUMENTUUID_XXX", &v.DocumentId},
        {"XXX_SESSIONUUID_XXX", &v.InstanceId},
    };
    std::string packet(pdf_resources::PdfaXmpTemplate());
    for (const auto& [placeholder, value] : fields) packet = ReplaceAll(std::move(packet), placeholder, XmlEscape(*value));
    return packet;
}

void WriteOutputIntent(PdfObjectWriter& out) {
    const int32_t intent = out.BeginObject(0);
    out.WriteLine("[<</Info(sRGB IEC61966-2.1)/S/GTS_PDFA1/OutputConditionIdentifier(Custom)/OutputCondition()"
                  "/DestOutputProfile " +
                  std::to_string(intent + 1) + " 0 R/Type/OutputIntent/RegistryName()>>]");
    out.EndObject();
    out.BeginObject(0);
    const auto profile = pdf_resources::SrgbProfileDeflated();
    out.WriteLine("<</Length " + std::to_string(profile.size()) + "/Filter/FlateDecode/N 3>>stream");
    out.WriteBytesLine({profile.data(), profile.size()});
    out.WriteLine("endstream");
    out.EndObject();
}

}  // namespace scanvelt
