#include "plugins/mvbarcodedm/datamatrix_records.h"

#include <dmtx.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "plugins/mvbarcodedm/candidate_areas.h"

namespace mvbarcodedm {
namespace {

// Half to even; values a 32-bit coordinate cannot hold are pinned to its
// range (a broken fit must not become undefined behaviour).
int32_t pixel(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= -2147483648.0) return INT32_MIN;
    if (rounded >= 2147483647.0) return INT32_MAX;
    return static_cast<int32_t>(rounded);
}

struct Decoder {
    DmtxImage* image = nullptr;
    DmtxDecode* decode = nullptr;
    ~Decoder() {
        if (decode) dmtxDecodeDestroy(&decode);
        if (image) dmtxImageDestroy(&image);
    }
};

}  // namespace

barcode::BarcodeRecord BuildDataMatrixRecord(std::span<const uint8_t> decoded, const std::array<RawPoint, 4>& corners,
                                             int32_t pictureHeight, int32_t rows, int32_t columns) {
    barcode::BarcodeRecord record;
    const auto end = std::find(decoded.begin(), decoded.end(), uint8_t{0});
    record.value.assign(decoded.begin(), end);
    for (size_t i = 0; i < 4; ++i)
        record.corners[i] = {pixel(corners[i].x), pixel(double(pictureHeight) - 1.0 - corners[i].y)};
    record.rows = rows;
    record.columns = columns;
    return record;
}

namespace {

// The decoder's search over the whole of `picture`.
std::vector<barcode::BarcodeRecord> searchWhole(const barcode::GreyImage& picture, size_t maxCodes) {
    std::vector<barcode::BarcodeRecord> records;
    Decoder d;
    // The decoder never writes the pixels it is given.
    d.image = dmtxImageCreate(const_cast<uint8_t*>(picture.pixels.data()), picture.width, picture.height,
                              DmtxPack8bppK);
    if (!d.image) return records;
    dmtxImageSetProp(d.image, DmtxPropImageFlip, DmtxFlipNone);
    d.decode = dmtxDecodeCreate(d.image, 1);
    if (!d.decode) return records;
    while (records.size() < maxCodes) {
        DmtxRegion* region = dmtxRegionFindNext(d.decode, nullptr);
        if (!region) break;
        if (DmtxMessage* message = dmtxDecodeMatrixRegion(d.decode, region, DmtxUndefined)) {
            // Symbol space: (0, 0) is the finder's corner at the bottom left, y up.
            std::array<DmtxVector2, 4> unit{{{0.0, 1.0}, {1.0, 1.0}, {1.0, 0.0}, {0.0, 0.0}}};
            std::array<RawPoint, 4> corners;
            for (size_t i = 0; i < 4; ++i) {
                dmtxMatrix3VMultiplyBy(&unit[i], region->fit2raw);
                corners[i] = {unit[i].X, unit[i].Y};
            }
            const size_t length = std::min(size_t(std::max(message->outputIdx, 0)), message->outputSize);
            records.push_back(BuildDataMatrixRecord(
                {message->output, length}, corners, picture.height,
                dmtxGetSymbolAttribute(DmtxSymAttribSymbolRows, region->sizeIdx),
                dmtxGetSymbolAttribute(DmtxSymAttribSymbolCols, region->sizeIdx)));
            dmtxMessageDestroy(&message);
        }
        dmtxRegionDestroy(&region);
    }
    return records;
}

}  // namespace

std::vector<barcode::BarcodeRecord> ReadDataMatrixCodes(const barcode::GreyImage& picture, size_t maxCodes) {
    if (picture.width < 1 || picture.height < 1 || maxCodes == 0) return {};
    const std::vector<Area> areas = CandidateAreas(picture);
    if (areas.empty()) return {};
    // The search runs over the whole picture, where nothing but the
    // candidate areas is left to follow.
    return searchWhole(KeepAreas(picture, areas), maxCodes);
}

}  // namespace mvbarcodedm
