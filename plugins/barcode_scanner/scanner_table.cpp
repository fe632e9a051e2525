#include "plugins/barcode_scanner/scanner_table.h"

#include "plugins/barcode_scanner/packed_dib.h"

namespace barcode {
namespace {

// A code handle is the scanner's handle shifted past an index byte, so
// scanner handles stay below 2^23.
constexpr int32_t kMaxScannerHandle = (1 << 23) - 1;

}  // namespace

int32_t ScannerTable::Create(int32_t maxCodes) {
    std::lock_guard lock(mutex_);
    if (scanners_.size() >= size_t(kMaxScannerHandle)) return 0;
    while (scanners_.count(next_)) next_ = next_ == kMaxScannerHandle ? 1 : next_ + 1;
    const int32_t handle = next_;
    next_ = next_ == kMaxScannerHandle ? 1 : next_ + 1;
    scanners_[handle].maxCodes = maxCodes < 1 || size_t(maxCodes) > kMaxCodesPerScan ? kMaxCodesPerScan : size_t(maxCodes);
    return handle;
}

bool ScannerTable::Free(int32_t handle) {
    std::lock_guard lock(mutex_);
    return scanners_.erase(handle) == 1;
}

Scanner* ScannerTable::scanner(int32_t handle) {
    auto it = scanners_.find(handle);
    return it == scanners_.end() ? nullptr : &it->second;
}

bool ScannerTable::SetPerformance(int32_t handle, uint8_t mode) {
    std::lock_guard lock(mutex_);
    Scanner* s = scanner(handle);
    if (s) s->performance = mode;
    return s != nullptr;
}

bool ScannerTable::SetDibSource(int32_t handle, uint32_t dibBlock) {
    std::lock_guard lock(mutex_);
    Scanner* s = scanner(handle);
    if (!s) return false;
    s->source = GreyFromGlobalDib(dibBlock);
    return s->source.has_value();
}

bool ScannerTable::Scan(int32_t handle, const Decoder& decode) {
    std::lock_guard lock(mutex_);
    Scanner* s = scanner(handle);
    if (!s) return false;
    s->codes.clear();
    if (!s->source) return false;
    s->codes = decode(*s->source, *s);
    if (s->codes.size() > s->maxCodes) s->codes.resize(s->maxCodes);
    return true;
}

uint8_t ScannerTable::CodeCount(int32_t handle) {
    std::lock_guard lock(mutex_);
    Scanner* s = scanner(handle);
    return s ? uint8_t(s->codes.size()) : 0;
}

int32_t ScannerTable::CodeHandle(int32_t handle, int32_t index) {
    std::lock_guard lock(mutex_);
    Scanner* s = scanner(handle);
    if (!s || index < 0 || size_t(index) >= s->codes.size()) return 0;
    return handle << 8 | index;
}

const BarcodeRecord* ScannerTable::find(int32_t code) const {
    if (code <= 0) return nullptr;
    auto it = scanners_.find(code >> 8);
    if (it == scanners_.end()) return nullptr;
    const size_t index = size_t(code & 0xFF);
    return index < it->second.codes.size() ? &it->second.codes[index] : nullptr;
}

}  // namespace barcode
