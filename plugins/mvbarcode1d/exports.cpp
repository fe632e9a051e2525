// The linear reader's exports: a table of scanners over the decoder.
#include "platform/win/version_note.h"
#include "plugins/barcode_scanner/scanner_table.h"
#include "plugins/mvbarcode1d/linear_records.h"
#include "plugins/mvbarcode1d/mvbarcode1d.h"

#ifndef MVBARCODE1DREADER_VERSION
#define MVBARCODE1DREADER_VERSION 105
#endif

WIN_FILE_VERSION_NOTE(1, 5, 0, 0);

namespace {

barcode::ScannerTable& scanners() {
    static auto* table = new barcode::ScannerTable();  // lives as long as the process: callers may outlive statics
    return *table;
}

std::vector<barcode::BarcodeRecord> decode(const barcode::GreyImage& picture, const barcode::Scanner& scanner) {
    return mvbarcode1d::ReadLinearCodes(picture, scanner.performance, scanner.maxCodes);
}

template <class T, class Read>
T fromCode(int32_t code, T fallback, Read read) {
    return scanners().WithCode(code, fallback, read);
}

int32_t cornerX(int32_t code, size_t i) { return scanners().CornerX(code, i); }
int32_t cornerY(int32_t code, size_t i) { return scanners().CornerY(code, i); }

}  // namespace

extern "C" {

int32_t MVBARCODE1DREADER_GetVersion(void) { return MVBARCODE1DREADER_VERSION; }

int32_t MVBARCODE1DREADER_NewBarScanner(int32_t maxCodes, int32_t reserved1, int32_t reserved2) {
    if (reserved1 != 0 || reserved2 != 0) return 0;
    return scanners().Create(maxCodes);
}

void MVBARCODE1DREADER_SetPerformance(int32_t scanner, uint8_t mode) { scanners().SetPerformance(scanner, mode); }

int32_t MVBARCODE1DREADER_SetDibSource(int32_t scanner, uint32_t dibBlock) {
    return scanners().SetDibSource(scanner, dibBlock) ? 1 : 0;
}

int32_t MVBARCODE1DREADER_ScanBar(int32_t scanner) { return scanners().Scan(scanner, decode) ? 1 : 0; }

uint8_t MVBARCODE1DREADER_GetBarcodeCount(int32_t scanner) { return scanners().CodeCount(scanner); }

int32_t MVBARCODE1DREADER_GetBarcode(int32_t scanner, int32_t index) { return scanners().CodeHandle(scanner, index); }

int32_t MVBARCODE1DREADER_GetBarcodeType(int32_t code) {
    return fromCode(code, 0, [](const barcode::BarcodeRecord& r) { return r.type; });
}

const char* MVBARCODE1DREADER_GetBarcodeValue(int32_t code) {
    return fromCode(code, static_cast<const char*>(nullptr),
                    [](const barcode::BarcodeRecord& r) { return r.value.c_str(); });
}

int32_t MVBARCODE1DREADER_GetBarcodeX1(int32_t code) { return cornerX(code, 0); }
int32_t MVBARCODE1DREADER_GetBarcodeY1(int32_t code) { return cornerY(code, 0); }
int32_t MVBARCODE1DREADER_GetBarcodeX2(int32_t code) { return cornerX(code, 1); }
int32_t MVBARCODE1DREADER_GetBarcodeY2(int32_t code) { return cornerY(code, 1); }
int32_t MVBARCODE1DREADER_GetBarcodeX3(int32_t code) { return cornerX(code, 2); }
int32_t MVBARCODE1DREADER_GetBarcodeY3(int32_t code) { return cornerY(code, 2); }
int32_t MVBARCODE1DREADER_GetBarcodeX4(int32_t code) { return cornerX(code, 3); }
int32_t MVBARCODE1DREADER_GetBarcodeY4(int32_t code) { return cornerY(code, 3); }

double MVBARCODE1DREADER_GetSkewAngle(int32_t code) {
    return fromCode(code, 0.0, [](const barcode::BarcodeRecord& r) { return r.skewDegrees; });
}

int32_t MVBARCODE1DREADER_HasCheckSum(int32_t code) {
    return fromCode(code, 0, [](const barcode::BarcodeRecord& r) { return r.hasCheckSum ? 1 : 0; });
}

void MVBARCODE1DREADER_FreeBarScanner(int32_t scanner) { scanners().Free(scanner); }

}  // extern "C"
