#pragma once
// For tests and the fuzzer's seeds: a PDF document written object by object,
// its cross-reference table counted here.
#include <cstdio>
#include <string>
#include <vector>

namespace mvpdfplug::testing {

// The objects numbered from 1 in their order (object 1 the catalog); `trailer`
// is added to the trailer's dictionary (as " /Info 5 0 R").
inline std::string handWrittenPdf(const std::vector<std::string>& objects, const std::string& trailer = "",
                                  const char* version = "1.4") {
    std::string pdf = std::string("%PDF-") + version + "\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R" + trailer + " >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace mvpdfplug::testing
