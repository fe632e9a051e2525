#pragma once
// One-dimensional SAFEARRAYs: byte arrays for image data, and the other
// plain element types late-bound hosts pass (numbers, BSTRs, VARIANTs).
#include <cstdint>
#include <span>
#include <vector>

#include "platform/com/abi.h"

namespace com {

constexpr uint16_t FADF_BSTR = 0x100;
constexpr uint16_t FADF_VARIANT = 0x800;
constexpr uint16_t FADF_HAVEVARTYPE = 0x80;

// Null when the type has no fixed element size or memory runs out. Elements
// start zeroed.
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, int32_t lowerBound, uint32_t count);
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayCopy(const SAFEARRAY* source, SAFEARRAY** copy);
HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt);
HRESULT SafeArrayGetLBound(const SAFEARRAY* array, uint32_t dimension, int32_t* bound);
HRESULT SafeArrayGetUBound(const SAFEARRAY* array, uint32_t dimension, int32_t* bound);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);

// A new VT_UI1 array holding the bytes, and the bytes of one (empty for null
// or another element type).
SAFEARRAY* ByteArrayFrom(std::span<const uint8_t> bytes);
std::vector<uint8_t> BytesOf(const SAFEARRAY* array);

}  // namespace com
