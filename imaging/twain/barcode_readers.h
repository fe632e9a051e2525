#pragma once
// The two barcode readers each control owns for its whole life: the linear
// reader and the DataMatrix reader, each over its outside plug-in
// (barcode_plugins.h). A reader scans a region of an image, keeps the count
// of codes its last scan found, and answers per-code questions by 1-based
// number in pixels of the scanned region.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "imaging/twain/barcode_plugins.h"

namespace scanvelt {

inline constexpr int32_t kBarcodeBestSpeed = 0;
inline constexpr int32_t kBarcodeBestQuality = 1;

// What both readers share; each reader below picks its plug-in and adds the
// questions only its plug-in answers.
class BarcodeReader {
public:
    BarcodeReader(const BarcodeReader&) = delete;
    BarcodeReader& operator=(const BarcodeReader&) = delete;
    ~BarcodeReader();

    int32_t GetBarcodeCount() const { return count_; }
    std::string GetBarcodeValue(int32_t n) const;
    // Corners 1 to 4 of code n, divided by the scale of the scanned copy and
    // rounded half to even; relative to the scanned region.
    int32_t GetBarcodeX1(int32_t n) const { return corner(n, 0); }
    int32_t GetBarcodeY1(int32_t n) const { return corner(n, 1); }
    int32_t GetBarcodeX2(int32_t n) const { return corner(n, 2); }
    int32_t GetBarcodeY2(int32_t n) const { return corner(n, 3); }
    int32_t GetBarcodeX3(int32_t n) const { return corner(n, 4); }
    int32_t GetBarcodeY3(int32_t n) const { return corner(n, 5); }
    int32_t GetBarcodeX4(int32_t n) const { return corner(n, 6); }
    int32_t GetBarcodeY4(int32_t n) const { return corner(n, 7); }

    // Scans the region (left, top, width, height) of the image; a region of
    // zeros or the whole image scans the image itself. With `enlarge` the
    // region (a width or height of 0: the image's, written back) is scanned
    // as an enlarged copy. A careful scan that finds nothing in a small or
    // low-resolution region tries once more enlarged. 600 (linear) or 700
    // (DataMatrix) when the plug-in check fails, 2 for image 0, else the
    // status of a copy, conversion or export that failed, else 0.
    MorvalenStatus ReadBarcodes(int32_t imageId, int32_t left, int32_t& top, int32_t& width, int32_t& height,
                                int32_t scanMode, bool enlarge);
    // Frees the scanner in the plug-in; count 0, scale 1.
    void ClearScanner();

    // The factor the last scanned copy was enlarged by (1, 2 or 3).
    double scale() const { return scale_; }

protected:
    explicit BarcodeReader(BarcodePluginKind kind) : kind_(kind) {}
    // The plug-in's code for n, or 0 without asking it when n is not 1 to count.
    int32_t code(int32_t n) const;
    const BarcodePlugin* plugin() const { return plugin_; }

private:
    int32_t corner(int32_t n, int axis) const;
    bool prepareScanner(int32_t scanMode);
    MorvalenStatus scanImage(int32_t imageId, int32_t left, int32_t top, int32_t width, int32_t height, bool enlarge,
                             float resolution);

    BarcodePluginKind kind_;
    const BarcodePlugin* plugin_ = nullptr;  // the plug-in of the current scanner
    int32_t scanner_ = 0;
    int32_t count_ = 0;
    double scale_ = 1.0;
};

class Barcode1DReader : public BarcodeReader {
public:
    Barcode1DReader() : BarcodeReader(BarcodePluginKind::Linear) {}
    // The symbology value (Barcode1DReaderType).
    int32_t GetBarcodeType(int32_t n) const;
    // 360 minus the plug-in's counter-clockwise angle, 0 instead of 360.
    double GetBarcodeSkewAngle(int32_t n) const;
    bool HasCheckSum(int32_t n) const;
};

class BarcodeDMReader : public BarcodeReader {
public:
    BarcodeDMReader() : BarcodeReader(BarcodePluginKind::DataMatrix) {}
    int32_t GetBarcodeRows(int32_t n) const;
    int32_t GetBarcodeColumns(int32_t n) const;
};

}  // namespace scanvelt
