#pragma once
// Binding the arguments of an IDispatch::Invoke call to a member of the type
// library model: positional arguments (given in reverse order), named ones,
// optional ones left out (filled with their defaults), each converted to its
// declared type.
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/typelib_model.h"
#include "platform/com/variant.h"

namespace com {

class BoundArguments {
public:
    BoundArguments() = default;
    ~BoundArguments();
    BoundArguments(const BoundArguments&) = delete;
    BoundArguments& operator=(const BoundArguments&) = delete;

    size_t size() const { return values_.size(); }
    const VARIANT& operator[](size_t i) const { return values_[i]; }
    // A parameter left out with no default (VT_ERROR DISP_E_PARAMNOTFOUND).
    bool missing(size_t i) const { return IsMissing(values_[i]); }
    int32_t i4(size_t i) const { return values_[i].lVal; }
    float r4(size_t i) const { return values_[i].fltVal; }
    double r8(size_t i) const { return values_[i].dblVal; }
    bool boolean(size_t i) const { return values_[i].boolVal != 0; }
    std::u16string_view text(size_t i) const;
    std::string utf8(size_t i) const;  // text(i) in UTF-8
    // The caller's own variant behind a parameter it passed by reference
    // (VT_BYREF), for handing an out value back; null when it passed a value.
    VARIANT* byRef(size_t i) const { return i < targets_.size() ? targets_[i] : nullptr; }
    // Writes an out value back into the caller's by-reference argument,
    // converted to the type the caller gave it; an array replaces the
    // caller's array. Nothing happens for an argument passed by value.
    HRESULT setOut(size_t i, const VARIANT& value) const;
    // setOut of a long; false when the caller passed the argument by value,
    // left it out, or gave a reference it cannot take.
    bool setOutI4(size_t i, int32_t value) const;

private:
    friend HRESULT BindArguments(const MemberModel&, const DISPPARAMS*, BoundArguments&, uint32_t*);
    std::vector<VARIANT> values_;
    std::vector<VARIANT*> targets_;  // the caller's by-reference arguments
};

// DISP_E_BADPARAMCOUNT for too many arguments, DISP_E_PARAMNOTOPTIONAL for a
// required one left out, DISP_E_PARAMNOTFOUND for a named argument the member
// lacks (argError = its position in rgvarg), DISP_E_TYPEMISMATCH or
// DISP_E_OVERFLOW for an argument that does not convert (argError = its
// position in rgvarg).
HRESULT BindArguments(const MemberModel& member, const DISPPARAMS* params, BoundArguments& bound,
                      uint32_t* argError);

// The wire type of a declared parameter or result (enumerations travel as VT_I4).
VARTYPE WireType(VARTYPE declared);

// Fills an EXCEPINFO for an error raised to the host; the result is
// DISP_E_EXCEPTION. A null `exception` is allowed.
HRESULT RaiseException(EXCEPINFO* exception, std::string_view source, std::string_view description, SCODE code);

}  // namespace com
