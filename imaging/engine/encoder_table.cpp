#include "imaging/engine/encoder_table.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "imaging/engine/general_helpers.h"
#include "platform/gdiplus/codec_registry.h"

namespace scanvelt {

namespace {

struct EncoderTable {
    std::vector<gdiplus::Guid> Clsids;
    // Keys in lower case, so that lookups ignore case; absent before the first build.
    std::optional<std::map<std::string, int32_t>> Keys;
};

thread_local EncoderTable tEncoders;

void AddKey(std::string_view key, int32_t index) {
    tEncoders.Keys->emplace(LowerCaseAscii(key), index);
}

}  // namespace

void BuildEncoderTable() {
    const std::vector<gdiplus::ImageCodecInfo> encoders = gdiplus::GetImageEncoders();
    tEncoders.Clsids.clear();
    tEncoders.Keys.emplace();
    for (size_t index = 0; index < encoders.size(); ++index) {
        tEncoders.Clsids.push_back(encoders[index].Clsid);
        AddEncoderKeys(encoders[index].FilenameExtension, ";", static_cast<int32_t>(index));
    }
}

void AddEncoderKeys(std::string_view text, std::string_view separator, int32_t index) {
    if (!tEncoders.Keys) tEncoders.Keys.emplace();
    size_t start = 0;
    if (!separator.empty()) {
        for (size_t end = text.find(separator); end != std::string_view::npos; end = text.find(separator, start)) {
            AddKey(text.substr(start, end - start), index);
            start = end + separator.size();
        }
    }
    const std::string_view last = TrimSpaces(text.substr(start));
    if (!last.empty()) AddKey(last, index);
}

int32_t EncoderIndexOf(std::string_view pattern) {
    if (!tEncoders.Keys) return -1;
    const auto found = tEncoders.Keys->find(LowerCaseAscii(pattern));
    return found == tEncoders.Keys->end() ? -1 : found->second;
}

gdiplus::Guid EncoderClsid(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(tEncoders.Clsids.size())) return {};
    return tEncoders.Clsids[static_cast<size_t>(index)];
}

}  // namespace scanvelt
