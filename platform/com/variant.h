#pragma once
// VARIANT handling and the conversions late binding needs: a host may pass a
// VT_I2 where a VT_I4 is declared, a string where a number is declared, by
// reference or by value.
#include <string>
#include <string_view>

#include "platform/com/abi.h"

namespace com {

void VariantInit(VARIANT* value);
// Frees what the variant owns (BSTR, array, interface reference) and leaves it VT_EMPTY.
HRESULT VariantClear(VARIANT* value);
// A deep copy; `target` is cleared first.
HRESULT VariantCopy(VARIANT* target, const VARIANT* source);
// As VariantCopy, but a by-reference source is copied as the value it points at.
HRESULT VariantCopyInd(VARIANT* target, const VARIANT* source);
// Converts `source` (by reference or by value) into `vt`. Texts convert to
// numbers when they hold one ("12", " -3.5 ", "&H1F"), else
// DISP_E_TYPEMISMATCH; values that do not fit give DISP_E_OVERFLOW; doubles
// round to integers halves to even. `target` may equal `source`.
HRESULT VariantChangeType(VARIANT* target, const VARIANT* source, uint16_t flags, VARTYPE vt);

// Hands an out value back through the caller's by-reference variant: `value`
// is converted to the type `target` points at (any value for a VT_VARIANT)
// and replaces what was there, which is freed. E_INVALIDARG for a target that
// is not by reference; the conversion's failure leaves the target as it was.
HRESULT VariantStoreByRef(VARIANT* target, const VARIANT& value);

// Small constructors for our own code; the caller owns the result.
VARIANT MakeI4(int32_t value);
VARIANT MakeI2(int16_t value);
VARIANT MakeR4(float value);
VARIANT MakeR8(double value);
VARIANT MakeBool(bool value);
VARIANT MakeBstr(std::u16string_view text);
VARIANT MakeBstrUtf8(std::string_view text);
// VT_ERROR DISP_E_PARAMNOTFOUND: how a host says "argument left out".
VARIANT MakeMissing();
bool IsMissing(const VARIANT& value);

// Owns one VARIANT and clears it on destruction.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    explicit Variant(const VARIANT& take) : value_(take) {}
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }
    const VARIANT* operator->() const { return &value_; }

private:
    VARIANT value_;
};

}  // namespace com
