#pragma once
// Looking up 64 bytes at a time in a 256-byte table, for the filters that
// map channels through one: the table's four quarters in registers, each
// byte choosing within a half by its low seven bits and between the halves
// by its top one. Only where the processor has the byte permutes
// (HasWideByteTables); every function here is compiled for them alone.
#include <array>
#include <atomic>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>

#define SCANVELT_WIDE_TABLES __attribute__((target("avx512f,avx512bw,avx512vbmi")))

namespace scanvelt::filters {

// Tests turn the wide paths off, so that the plain ones are proven on
// processors that have the wide ones too.
inline std::atomic<bool>& WideByteTablesAllowed() {
    static std::atomic<bool> allowed{true};
    return allowed;
}

inline bool HasWideByteTables() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi");
    return has && WideByteTablesAllowed();
}

// A 256-byte table in four registers.
struct WideTable {
    __m512i quarter[4];
};

SCANVELT_WIDE_TABLES inline WideTable LoadWide(const std::array<uint8_t, 256>& table) {
    WideTable wide;
    for (int q = 0; q < 4; ++q) wide.quarter[q] = _mm512_loadu_si512(table.data() + 64 * q);
    return wide;
}

SCANVELT_WIDE_TABLES inline __m512i LookUpWide(const WideTable& t, __m512i v) {
    const __m512i low = _mm512_permutex2var_epi8(t.quarter[0], v, t.quarter[1]);
    const __m512i high = _mm512_permutex2var_epi8(t.quarter[2], v, t.quarter[3]);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
}

// The bytes of sixteen pixels of `step` (3 or 4) bytes: which are loaded,
// and which of them are blue, green and red (alpha stays).
inline __mmask64 SixteenPixelBytes(int32_t step) {
    return step == 4 ? ~__mmask64{0} : __mmask64{0x0000FFFFFFFFFFFFull};
}
inline __mmask64 SixteenPixelColours(int32_t step) {
    return step == 4 ? __mmask64{0x7777777777777777ull} : __mmask64{0x0000FFFFFFFFFFFFull};
}

}  // namespace scanvelt::filters
#endif
