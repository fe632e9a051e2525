// The DataMatrix reader's exports: a table of scanners over the decoder.
#include "platform/win/version_note.h"
#include "plugins/barcode_scanner/scanner_table.h"
#include "plugins/mvbarcodedm/datamatrix_records.h"
#include "plugins/mvbarcodedm/mvbarcodedm.h"

#ifndef MVBARCODEDMREADER_VERSION
#define MVBARCODEDMREADER_VERSION 100
#endif

WIN_FILE_VERSION_NOTE(1, 0, 0, 0);

namespace {

barcode::ScannerTable& scanners() {
    static auto* table = new barcode::ScannerTable();  // lives as long as the process: callers may outlive statics
    return *table;
}

std::vector<barcode::BarcodeRecord> decode(const barcode::GreyImage& picture, const barcode::Scanner& scanner) {
    return mvbarcodedm::ReadDataMatrixCodes(picture, scanner.maxCodes);
}

template <class T, class Read>
T fromCode(int32_t code, T fallback, Read read) {
    return scanners().WithCode(code, fallback, read);
}

int32_t cornerX(int32_t code, size_t i) { return scanners().CornerX(code, i); }
int32_t cornerY(int32_t code, size_t i) { return scanners().CornerY(code, i); }

}  // namespace

extern "C" {

int32_t MVBARCODEDMREADER_GetVersion(void) { return MVBARCODEDMREADER_VERSION; }

int32_t MVBARCODEDMREADER_NewBarScanner(int32_t maxCodes, int32_t reserved1, int32_t reserved2) {
    if (reserved1 != 0 || reserved2 != 0) return 0;
    return scanners().Create(maxCodes);
}

int32_t MVBARCODEDMREADER_SetDibSource(int32_t scanner, uint32_t dibBlock) {
    return scanners().SetDibSource(scanner, dibBlock) ? 1 : 0;
}

int32_t MVBARCODEDMREADER_ScanBar(int32_t scanner) { return scanners().Scan(scanner, decode) ? 1 : 0; }

uint8_t MVBARCODEDMREADER_GetBarcodeCount(int32_t scanner) { return scanners().CodeCount(scanner); }

int32_t MVBARCODEDMREADER_GetBarcode(int32_t scanner, int32_t index) { return scanners().CodeHandle(scanner, index); }

const char* MVBARCODEDMREADER_GetBarcodeValue(int32_t code) {
    return fromCode(code, static_cast<const char*>(nullptr),
                    [](const barcode::BarcodeRecord& r) { return r.value.c_str(); });
}

int32_t MVBARCODEDMREADER_GetBarcodeX1(int32_t code) { return cornerX(code, 0); }
int32_t MVBARCODEDMREADER_GetBarcodeY1(int32_t code) { return cornerY(code, 0); }
int32_t MVBARCODEDMREADER_GetBarcodeX2(int32_t code) { return cornerX(code, 1); }
int32_t MVBARCODEDMREADER_GetBarcodeY2(int32_t code) { return cornerY(code, 1); }
int32_t MVBARCODEDMREADER_GetBarcodeX3(int32_t code) { return cornerX(code, 2); }
int32_t MVBARCODEDMREADER_GetBarcodeY3(int32_t code) { return cornerY(code, 2); }
int32_t MVBARCODEDMREADER_GetBarcodeX4(int32_t code) { return cornerX(code, 3); }
int32_t MVBARCODEDMREADER_GetBarcodeY4(int32_t code) { return cornerY(code, 3); }

int32_t MVBARCODEDMREADER_GetBarcodeRows(int32_t code) {
    return fromCode(code, 0, [](const barcode::BarcodeRecord& r) { return r.rows; });
}

int32_t MVBARCODEDMREADER_GetBarcodeColumns(int32_t code) {
    return fromCode(code, 0, [](const barcode::BarcodeRecord& r) { return r.columns; });
}

void MVBARCODEDMREADER_FreeBarScanner(int32_t scanner) { scanners().Free(scanner); }

}  // extern "C"
