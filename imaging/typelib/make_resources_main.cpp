// Build step: writes the resources Scanvelt's server library carries (the
// binary type library among them) as a C++ source that places them in the
// library's resource section, and the type library alone as a .tlb file.
#include <cstdio>
#include <fstream>

#include "imaging/typelib/resource_bundle.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/typelib_binary.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: scanvelt-make-resources OUTPUT.cpp OUTPUT.tlb\n");
        return 2;
    }
    auto bundle = scanvelt::typelib::WriteResourceBundle(scanvelt::typelib::ScanveltResources());
    std::ofstream source(argv[1], std::ios::trunc);
    source << "// Generated at build time from the type library model; do not edit.\n"
           << "#include <cstddef>\n\n"
           << "namespace scanvelt::server {\n"
           << "__attribute__((section(\"" << scanvelt::typelib::kResourceSection << "\"), used, aligned(8)))\n"
           << "extern const unsigned char kResourceBundle[] = {";
    for (size_t i = 0; i < bundle.size(); ++i) source << (i % 24 ? "" : "\n    ") << static_cast<int>(bundle[i]) << ",";
    source << "\n};\nextern const std::size_t kResourceBundleSize = sizeof kResourceBundle;\n}  // namespace scanvelt::server\n";
    auto image = com::WriteTypeLibImage(scanvelt::typelib::ScanveltTypeLib());
    std::ofstream tlb(argv[2], std::ios::binary | std::ios::trunc);
    tlb.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    source.close();
    tlb.close();
    return source && tlb ? 0 : 1;
}
