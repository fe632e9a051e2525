#pragma once
// ITypeLib and ITypeInfo answered from a type library model. The model must
// outlive every object handed out (servers keep theirs for the process life).
#include <string_view>

#include "platform/com/typelib_model.h"

namespace com {

constexpr MEMBERID MEMBERID_NIL = -1;
// HREFTYPEs: a type of the library by its index; stdole2's IDispatch below.
constexpr HREFTYPE kHrefIDispatch = 0x80000000u;

HRESULT CreateModelTypeLib(const TypeLibModel& model, ITypeLib** library);
// The type information of the entry named `name`; TYPE_E_ELEMENTNOTFOUND when there is none.
HRESULT GetModelTypeInfo(const TypeLibModel& model, std::string_view name, ITypeInfo** typeInfo);

}  // namespace com
