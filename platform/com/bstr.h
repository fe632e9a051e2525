#pragma once
// BSTR: UTF-16 text with its byte length (uint32) just before the first
// character and a NUL after the last. A null BSTR is the empty string. The
// block comes from the C library's malloc and starts at the length field, so
// a host without these functions frees a BSTR with free((char*)text - 4).
#include <string>
#include <string_view>

#include "platform/com/abi.h"

namespace com {

BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length);
// `bytes` bytes copied (or left zero when `text` is null), plus a NUL.
BSTR SysAllocStringByteLen(const char* text, uint32_t bytes);
int32_t SysReAllocString(BSTR* target, const OLECHAR* text);
void SysFreeString(BSTR text);
uint32_t SysStringLen(BSTR text);
uint32_t SysStringByteLen(BSTR text);

// Conversions for our own code: a BSTR from UTF-16 or UTF-8 text, and back.
BSTR AllocBstr(std::u16string_view text);
BSTR AllocBstrUtf8(std::string_view text);
std::u16string_view BstrView(BSTR text);
std::string BstrToUtf8(BSTR text);

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::u16string_view text) : value_(AllocBstr(text)) {}
    ~Bstr() { SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return value_; }
    BSTR* out() { SysFreeString(value_); value_ = nullptr; return &value_; }
    BSTR release() { BSTR v = value_; value_ = nullptr; return v; }

private:
    BSTR value_ = nullptr;
};

}  // namespace com
