#include "imaging/twain/caller_arrays.h"

#include <cstdio>
#include <string>

#include "imaging/engine/engine_numeric.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/variant.h"

namespace scanvelt {
namespace {

using namespace com;

VARTYPE defaultElementType(ListElement kind) {
    switch (kind) {
    case ListElement::Double: return VT_R8;
    case ListElement::Long: return VT_I4;
    case ListElement::Text: return VT_BSTR;
    }
    return VT_VARIANT;
}

std::string textOf(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

// The value at engine index `i` as a variant of the list's kind.
VARIANT valueAt(const twain_capability::LoadedList& list, ListElement kind, int32_t i) {
    switch (kind) {
    case ListElement::Double: return MakeR8(list.number(i));
    case ListElement::Long: return MakeI4(RoundToInt32(list.number(i)));
    case ListElement::Text: return MakeBstrUtf8(list.text(i));
    }
    return MakeMissing();
}

// Stores `value` into one element of type `type`.
void store(void* element, VARTYPE type, const VARIANT& value, ListElement kind) {
    VARIANT converted;
    VariantInit(&converted);
    const bool numeric = kind != ListElement::Text;
    switch (type) {
    case VT_VARIANT: {
        auto* target = static_cast<VARIANT*>(element);
        VariantClear(target);
        VariantCopy(target, &value);
        return;
    }
    case VT_BSTR: {
        auto* target = static_cast<BSTR*>(element);
        SysFreeString(*target);
        *target = numeric ? AllocBstrUtf8(textOf(value.vt == VT_I4 ? value.lVal : value.dblVal))
                          : AllocBstr(BstrView(value.bstrVal));
        return;
    }
    default: break;
    }
    if (FAILED(VariantChangeType(&converted, &value, 0, type))) return;
    switch (type) {
    case VT_I2: *static_cast<int16_t*>(element) = converted.iVal; break;
    case VT_I4: *static_cast<int32_t*>(element) = converted.lVal; break;
    case VT_R4: *static_cast<float*>(element) = converted.fltVal; break;
    case VT_R8: *static_cast<double*>(element) = converted.dblVal; break;
    default: break;
    }
    VariantClear(&converted);
}

size_t elementSize(VARTYPE type) {
    switch (type) {
    case VT_I2: return 2;
    case VT_I4: case VT_R4: return 4;
    case VT_R8: return 8;
    case VT_BSTR: return sizeof(BSTR);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
    }
}

}  // namespace

int32_t FillCallerArray(const BoundArguments& arguments, size_t index, const twain_capability::LoadedList& list,
                        ListElement kind) {
    const int32_t count = list.count;
    if (count <= 0) return 0;
    const VARIANT& given = arguments[index];
    SAFEARRAY* existing = (given.vt & VT_ARRAY) ? given.parray : nullptr;
    int32_t lower = 0, upper = -1;
    VARTYPE type = defaultElementType(kind);
    if (existing) {
        SafeArrayGetLBound(existing, 1, &lower);
        SafeArrayGetUBound(existing, 1, &upper);
        VARTYPE own = VT_EMPTY;
        if (SUCCEEDED(SafeArrayGetVartype(existing, &own)) && elementSize(own) > 0) type = own;
    }
    const int64_t held = static_cast<int64_t>(upper) - lower + 1;
    SAFEARRAY* filled = nullptr;
    if (held < count || elementSize(type) == 0) {
        type = elementSize(type) > 0 ? type : defaultElementType(kind);
        filled = SafeArrayCreateVector(type, 0, static_cast<uint32_t>(count));
        lower = 0;
        upper = count - 1;
    } else if (FAILED(SafeArrayCopy(existing, &filled))) {
        filled = nullptr;
    }
    if (!filled) return count;
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(filled, &data))) {
        auto* bytes = static_cast<uint8_t*>(data);
        for (int64_t i = lower; i <= upper; ++i) {
            VARIANT value = valueAt(list, kind, static_cast<int32_t>(i));
            store(bytes + static_cast<size_t>(i - lower) * elementSize(type), type, value, kind);
            VariantClear(&value);
        }
        SafeArrayUnaccessData(filled);
        VARIANT out;
        VariantInit(&out);
        out.vt = static_cast<VARTYPE>(VT_ARRAY | type);
        out.parray = filled;
        arguments.setOut(index, out);
    }
    SafeArrayDestroy(filled);
    return count;
}

}  // namespace scanvelt
