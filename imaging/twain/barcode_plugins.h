#pragma once
// The two barcode reader plug-ins as the readers reach them: each file is
// bound by name at its first use ("mvbarcode.1dreader.dll" and
// "mvbarcode.dmreader.dll", found as libmvbarcode.1dreader.so and
// libmvbarcode.dmreader.so the way every library is found) and stays loaded
// for the process; and the check every scan runs first.
#include <cstdint>
#include <string>

namespace scanvelt {

enum class BarcodePluginKind { Linear, DataMatrix };

// The functions of a plug-in; those the DataMatrix reader lacks (performance,
// type, skew, check digit) and those the linear reader lacks (rows,
// columns) stay null.
struct BarcodePlugin {
    int32_t (*GetVersion)() = nullptr;
    int32_t (*NewBarScanner)(int32_t, int32_t, int32_t) = nullptr;
    void (*SetPerformance)(int32_t, uint8_t) = nullptr;
    int32_t (*SetDibSource)(int32_t, uint32_t) = nullptr;
    int32_t (*ScanBar)(int32_t) = nullptr;
    uint8_t (*GetBarcodeCount)(int32_t) = nullptr;
    int32_t (*GetBarcode)(int32_t, int32_t) = nullptr;
    int32_t (*GetBarcodeType)(int32_t) = nullptr;
    const char* (*GetBarcodeValue)(int32_t) = nullptr;
    // X1, Y1, X2, Y2, X3, Y3, X4, Y4.
    int32_t (*Corner[8])(int32_t) = {};
    double (*GetSkewAngle)(int32_t) = nullptr;
    int32_t (*HasCheckSum)(int32_t) = nullptr;
    int32_t (*GetBarcodeRows)(int32_t) = nullptr;
    int32_t (*GetBarcodeColumns)(int32_t) = nullptr;
    void (*FreeBarScanner)(int32_t) = nullptr;
};

// "mvbarcode.1dreader.dll" or "mvbarcode.dmreader.dll".
const char* BarcodePluginDll(BarcodePluginKind kind);
// 105 for the linear reader, 100 for the DataMatrix reader.
int32_t MinimumBarcodePluginVersion(BarcodePluginKind kind);

// Points a kind at another file (tests); "" restores the default.
void SetBarcodePluginFile(BarcodePluginKind kind, std::string nameOrPath);

// The check: the plug-in file has a version, loads with every function of
// its kind, and reports the minimum version or later. A file without a
// version shows "Can't found <dll> file.", a version too low "Bad <dll>
// version." (title "Error", critical icon); a file that does not load or
// lacks a function fails silently. Null on failure; every call tests again.
const BarcodePlugin* CheckedBarcodePlugin(BarcodePluginKind kind);

}  // namespace scanvelt
