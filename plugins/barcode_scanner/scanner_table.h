#pragma once
// The scanners a plug-in hands out: numbered by non-zero 32-bit handles,
// never by addresses, so that a stale or made-up handle is refused rather
// than followed. A code is named by a handle of its own that carries its
// scanner and its index; it is good until that scanner scans again or is
// freed. The table serialises every call: the exports may be called from
// any thread.
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "plugins/barcode_scanner/barcode_record.h"
#include "plugins/barcode_scanner/grey_image.h"

namespace barcode {

// At most this many codes per scan: the callers keep the count in one byte.
inline constexpr size_t kMaxCodesPerScan = 255;

struct Scanner {
    size_t maxCodes = kMaxCodesPerScan;
    uint8_t performance = 0;
    std::optional<GreyImage> source;
    std::vector<BarcodeRecord> codes;
};

using Decoder = std::function<std::vector<BarcodeRecord>(const GreyImage&, const Scanner&)>;

class ScannerTable {
public:
    // A scanner keeping at most `maxCodes` codes a scan (0 or above
    // kMaxCodesPerScan: kMaxCodesPerScan); 0 when the table is full.
    int32_t Create(int32_t maxCodes);
    bool Free(int32_t scanner);
    bool SetPerformance(int32_t scanner, uint8_t mode);
    // Takes the picture of a packed DIB in global memory; false (and no
    // picture) when the block holds no DIB the scanner can read.
    bool SetDibSource(int32_t scanner, uint32_t dibBlock);
    // Runs the decoder on the picture; the scanner keeps at most its
    // maxCodes codes. False without a scanner or a picture.
    bool Scan(int32_t scanner, const Decoder& decode);
    uint8_t CodeCount(int32_t scanner);
    // The handle of code `index` (0-based); 0 when there is no such code.
    int32_t CodeHandle(int32_t scanner, int32_t index);
    // Calls `read` with the code of a handle under the table's lock; the
    // fallback when the handle names no code.
    template <class T, class Read>
    T WithCode(int32_t code, T fallback, Read read) {
        std::lock_guard lock(mutex_);
        const BarcodeRecord* record = find(code);
        return record ? read(*record) : fallback;
    }
    // Corner i (0..3) of a code's box; 0 when the handle names no code.
    int32_t CornerX(int32_t code, size_t i) {
        return WithCode(code, int32_t{0}, [i](const BarcodeRecord& r) { return r.corners[i].x; });
    }
    int32_t CornerY(int32_t code, size_t i) {
        return WithCode(code, int32_t{0}, [i](const BarcodeRecord& r) { return r.corners[i].y; });
    }

private:
    const BarcodeRecord* find(int32_t code) const;
    Scanner* scanner(int32_t handle);

    std::mutex mutex_;
    std::map<int32_t, Scanner> scanners_;
    int32_t next_ = 1;
};

}  // namespace barcode
