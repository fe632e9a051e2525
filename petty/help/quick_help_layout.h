#pragma once
// The quick-help guide laid out as a document of the report engine: "# " a
// title, "## " a heading, "- " or "1. " a list item, an empty line between
// paragraphs. Lines are wrapped to the page width at the report font.
#include <string_view>

#include "platform/report/page_model.h"

namespace petty {

report::Document quickHelpDocument(std::string_view guide);

}  // namespace petty
