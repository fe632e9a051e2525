// Probes the type of an empty file and of files cut short after each byte of
// a format's signature, for a run under valgrind: a probe that compares bytes
// it never read shows as an error there. The folder to write in is the argument.
#include <cstdio>
#include <string>

#include "plugins/mvimgplug/mvimgplug.h"

namespace {

std::u16string Utf16(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    const std::string signatures[] = {
        "BM", "II*", "MM\0*", "P6\n1", "\x89PNG\r\n\x1a\n", "GIF89a", "\xFF\xD8\xFF", "8BPS", std::string("\0\0\1\0", 4),
        "\x0A\x05\x01", "v/1\x01", "#?RADIANCE", "/* XPM */", "DDS ", "\x76\x2F\x31\x01",
    };
    int files = 0;
    for (const std::string& signature : signatures) {
        for (size_t length = 0; length <= signature.size(); ++length) {
            const std::string path = folder + "/short" + std::to_string(files++);
            std::FILE* file = std::fopen(path.c_str(), "wb");
            if (file == nullptr) return 2;
            if (length > 0) std::fwrite(signature.data(), 1, length, file);
            std::fclose(file);
            // Whatever the answer, it must come from bytes that were read.
            const int32_t type = MVIMGPLUG_GetFileTypeU(Utf16(path).c_str(), 0);
            if (type < -1) return 3;
            std::remove(path.c_str());
        }
    }
    return 0;
}
