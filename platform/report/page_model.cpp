#include "platform/report/page_model.h"

namespace report {

std::string Document::text() const {
    std::string out;
    for (const Page& page : pages)
        for (const PageItem& item : page.items)
            if (const auto* t = std::get_if<TextItem>(&item)) out += t->text + "\n";
    return out;
}

}  // namespace report
