#include "platform/com/bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/win/text_encoding.h"

namespace com {
namespace {

constexpr uint32_t kMaxBstrBytes = std::numeric_limits<uint32_t>::max() - 16;

BSTR allocateBytes(uint32_t bytes) {
    if (bytes > kMaxBstrBytes) return nullptr;
    auto* block = static_cast<uint8_t*>(std::calloc(1, size_t{bytes} + sizeof(uint32_t) + sizeof(OLECHAR)));
    if (!block) return nullptr;
    std::memcpy(block, &bytes, sizeof bytes);
    return reinterpret_cast<BSTR>(block + sizeof(uint32_t));
}

uint8_t* blockOf(BSTR text) { return reinterpret_cast<uint8_t*>(text) - sizeof(uint32_t); }

size_t lengthOf(const OLECHAR* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length) {
    if (length > kMaxBstrBytes / sizeof(OLECHAR)) return nullptr;
    BSTR out = allocateBytes(length * sizeof(OLECHAR));
    if (out && text) std::memcpy(out, text, size_t{length} * sizeof(OLECHAR));
    return out;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (!text) return nullptr;
    size_t length = lengthOf(text);
    if (length > kMaxBstrBytes / sizeof(OLECHAR)) return nullptr;
    return SysAllocStringLen(text, static_cast<uint32_t>(length));
}

BSTR SysAllocStringByteLen(const char* text, uint32_t bytes) {
    BSTR out = allocateBytes(bytes);
    if (out && text) std::memcpy(out, text, bytes);
    return out;
}

int32_t SysReAllocString(BSTR* target, const OLECHAR* text) {
    if (!target) return 0;
    BSTR fresh = SysAllocString(text);
    if (text && !fresh) return 0;
    SysFreeString(*target);
    *target = fresh;
    return 1;
}

void SysFreeString(BSTR text) {
    if (text) std::free(blockOf(text));
}

uint32_t SysStringByteLen(BSTR text) {
    if (!text) return 0;
    uint32_t bytes;
    std::memcpy(&bytes, blockOf(text), sizeof bytes);
    return bytes;
}

uint32_t SysStringLen(BSTR text) { return SysStringByteLen(text) / sizeof(OLECHAR); }

BSTR AllocBstr(std::u16string_view text) {
    if (text.size() > kMaxBstrBytes / sizeof(OLECHAR)) return nullptr;
    return SysAllocStringLen(text.data(), static_cast<uint32_t>(text.size()));
}

BSTR AllocBstrUtf8(std::string_view text) { return AllocBstr(win::Utf8ToUtf16(text)); }

std::u16string_view BstrView(BSTR text) { return text ? std::u16string_view(text, SysStringLen(text)) : std::u16string_view(); }

std::string BstrToUtf8(BSTR text) { return win::Utf16ToUtf8(BstrView(text)); }

}  // namespace com
