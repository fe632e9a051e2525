#include "platform/com/safearray.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/com/bstr.h"
#include "platform/com/interfaces.h"
#include "platform/com/variant.h"

namespace com {
namespace {

// The element type sits just before the array descriptor, as FADF_HAVEVARTYPE says.
struct ArrayBlock {
    uint32_t reserved;
    uint32_t vt;
    SAFEARRAY array;
};

constexpr uint64_t kMaxArrayBytes = uint64_t{1} << 31;

uint32_t elementSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_R4: case VT_INT: case VT_UINT: case VT_ERROR: return 4;
        case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
        case VT_BSTR: case VT_UNKNOWN: case VT_DISPATCH: return sizeof(void*);
        case VT_VARIANT: return sizeof(VARIANT);
        default: return 0;
    }
}

ArrayBlock* blockOf(const SAFEARRAY* array) {
    return reinterpret_cast<ArrayBlock*>(reinterpret_cast<uint8_t*>(const_cast<SAFEARRAY*>(array)) -
                                         offsetof(ArrayBlock, array));
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, int32_t lowerBound, uint32_t count) {
    uint32_t size = elementSize(vt);
    if (size == 0 || uint64_t{size} * count > kMaxArrayBytes) return nullptr;
    auto* block = static_cast<ArrayBlock*>(std::calloc(1, sizeof(ArrayBlock)));
    if (!block) return nullptr;
    void* data = std::calloc(count ? count : 1, size);
    if (!data) {
        std::free(block);
        return nullptr;
    }
    block->vt = vt;
    SAFEARRAY& a = block->array;
    a.cDims = 1;
    a.fFeatures = FADF_HAVEVARTYPE | (vt == VT_BSTR ? FADF_BSTR : 0) | (vt == VT_VARIANT ? FADF_VARIANT : 0);
    a.cbElements = size;
    a.pvData = data;
    a.rgsabound[0] = {count, lowerBound};
    return &a;
}

HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt) {
    if (!array || !vt) return E_INVALIDARG;
    *vt = static_cast<VARTYPE>(blockOf(array)->vt);
    return S_OK;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (!array) return S_OK;
    if (array->cLocks) return win::makeHresult(0x8002000Du);  // DISP_E_ARRAYISLOCKED
    VARTYPE vt = static_cast<VARTYPE>(blockOf(array)->vt);
    uint32_t count = array->rgsabound[0].cElements;
    if (vt == VT_BSTR) {
        for (uint32_t i = 0; i < count; ++i) SysFreeString(static_cast<BSTR*>(array->pvData)[i]);
    } else if (vt == VT_VARIANT) {
        for (uint32_t i = 0; i < count; ++i) VariantClear(&static_cast<VARIANT*>(array->pvData)[i]);
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        for (uint32_t i = 0; i < count; ++i) {
            if (auto* u = static_cast<IUnknown**>(array->pvData)[i]) u->Release();
        }
    }
    std::free(array->pvData);
    std::free(blockOf(array));
    return S_OK;
}

HRESULT SafeArrayCopy(const SAFEARRAY* source, SAFEARRAY** copy) {
    if (!copy) return E_POINTER;
    *copy = nullptr;
    if (!source) return S_OK;
    VARTYPE vt = static_cast<VARTYPE>(blockOf(source)->vt);
    uint32_t count = source->rgsabound[0].cElements;
    SAFEARRAY* out = SafeArrayCreateVector(vt, source->rgsabound[0].lLbound, count);
    if (!out) return E_OUTOFMEMORY;
    for (uint32_t i = 0; i < count; ++i) {
        if (vt == VT_BSTR) {
            BSTR s = static_cast<BSTR*>(source->pvData)[i];
            static_cast<BSTR*>(out->pvData)[i] = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
        } else if (vt == VT_VARIANT) {
            VariantCopy(&static_cast<VARIANT*>(out->pvData)[i], &static_cast<const VARIANT*>(source->pvData)[i]);
        } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
            auto* u = static_cast<IUnknown**>(source->pvData)[i];
            if (u) u->AddRef();
            static_cast<IUnknown**>(out->pvData)[i] = u;
        }
    }
    if (vt != VT_BSTR && vt != VT_VARIANT && vt != VT_UNKNOWN && vt != VT_DISPATCH && count)
        std::memcpy(out->pvData, source->pvData, size_t{count} * source->cbElements);
    *copy = out;
    return S_OK;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* array, uint32_t dimension, int32_t* bound) {
    if (!array || !bound) return E_INVALIDARG;
    if (dimension != 1) return DISP_E_BADINDEX;
    *bound = array->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* array, uint32_t dimension, int32_t* bound) {
    if (!array || !bound) return E_INVALIDARG;
    if (dimension != 1) return DISP_E_BADINDEX;
    *bound = static_cast<int32_t>(array->rgsabound[0].lLbound + int64_t{array->rgsabound[0].cElements} - 1);
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (!array || !data) return E_INVALIDARG;
    ++array->cLocks;
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    if (!array) return E_INVALIDARG;
    if (array->cLocks == 0) return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

SAFEARRAY* ByteArrayFrom(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxArrayBytes) return nullptr;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<uint32_t>(bytes.size()));
    if (array && !bytes.empty()) std::memcpy(array->pvData, bytes.data(), bytes.size());
    return array;
}

std::vector<uint8_t> BytesOf(const SAFEARRAY* array) {
    // Arrays a host built itself carry no element type: one byte per element is enough.
    if (!array || array->cDims != 1 || array->cbElements != 1 || !array->pvData) return {};
    auto* data = static_cast<const uint8_t*>(array->pvData);
    return std::vector<uint8_t>(data, data + array->rgsabound[0].cElements);
}

}  // namespace com
