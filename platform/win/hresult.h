#pragma once
// COM-style result codes of the OLE services (streams, pictures).
#include <cstdint>

namespace win {

using HRESULT = int32_t;

constexpr HRESULT makeHresult(uint32_t bits) { return static_cast<HRESULT>(bits); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = makeHresult(0x80004005u);
constexpr HRESULT E_POINTER = makeHresult(0x80004003u);
constexpr HRESULT E_INVALIDARG = makeHresult(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = makeHresult(0x8007000Eu);
constexpr HRESULT STG_E_INVALIDFUNCTION = makeHresult(0x80030001u);
constexpr HRESULT STG_E_INVALIDHANDLE = makeHresult(0x80030006u);
constexpr HRESULT STG_E_INVALIDPOINTER = makeHresult(0x80030009u);
constexpr HRESULT STG_E_MEDIUMFULL = makeHresult(0x80030070u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

}  // namespace win
