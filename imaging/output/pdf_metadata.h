#pragma once
// A document's metadata: the dates it is stamped with, the XMP packet of a
// PDF/A document (our template with its values filled in, XML-escaped UTF-8,
// so that it says what the Info dictionary says) and its sRGB output intent.
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "imaging/output/pdf_object_writer.h"

namespace scanvelt {

// The local time a document is stamped with, and its offset from UTC.
struct PdfTimestamp {
    std::tm Local{};
    int32_t UtcOffsetMinutes = 0;
};

// Now, with the machine's own offset from UTC.
PdfTimestamp LocalTimestampNow();

// "2024-05-01T13:45:10+05:30", as XMP writes dates.
std::string XmpDate(const PdfTimestamp& time);
// "D:20240501134510+05'30'", as the Info dictionary writes dates.
std::string InfoDate(const PdfTimestamp& time);

// "&", "<", ">", quotes and apostrophes as XML entities.
std::string XmlEscape(std::string_view text);

// The values of the PDF/A packet, as UTF-8 text.
struct PdfaXmpValues {
    std::string Title, Author, Creator, Subject, Keywords, Producer, Date, DocumentId, InstanceId;
};
// The template with every placeholder replaced by its value, XML-escaped.
std::string FillPdfaXmp(const PdfaXmpValues& values);

// The output intent array (GTS_PDFA1, sRGB IEC61966-2.1) and, one number
// higher, its ICC profile stream.
void WriteOutputIntent(PdfObjectWriter& out);

}  // namespace scanvelt
