#include "plugins/mvocr/tessdata_folder.h"

#include <sys/stat.h>

#include <cstdlib>

namespace mvocr {

std::string TessdataFolder(const std::string& folder) {
    if (!folder.empty()) return folder;
    if (const char* prefix = std::getenv("TESSDATA_PREFIX"); prefix != nullptr && *prefix != '\0') return prefix;
    return MVOCR_SYSTEM_TESSDATA;
}

bool IsPlainLanguageName(const std::string& language) {
    if (language.empty()) return false;
    for (char c : language) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                           c == '-';
        if (!plain) return false;
    }
    return true;
}

bool HasDictionary(const std::string& language, const std::string& folder) {
    if (!IsPlainLanguageName(language)) return false;
    std::string path = TessdataFolder(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += language + ".traineddata";
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace mvocr
