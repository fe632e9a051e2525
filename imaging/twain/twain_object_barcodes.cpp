// The barcode members of _Twain bound to their dispatch IDs: thin calls of
// the control's two readers.
#include "imaging/twain/barcode_members.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

DISPID idOf(const std::string& name) { return typelib::TwainMemberId(name); }

const char* const kCorners[8] = {"X1", "Y1", "X2", "Y2", "X3", "Y3", "X4", "Y4"};

}  // namespace

void TwainObject::bindBarcodeMembers() {
    Barcode1DReader& linear = control_.linearReader();
    BarcodeDMReader& matrix = control_.dataMatrixReader();
    Bind(idOf("Barcode1DReaderDoScan"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(Barcode1DReaderDoScan(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("Barcode1DReaderGetBarcodeCount"), [&linear](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(linear.GetBarcodeCount());
        return S_OK;
    });
    Bind(idOf("Barcode1DReaderGetBarcodeType"), [&linear](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(linear.GetBarcodeType(a.i4(0)));
        return S_OK;
    });
    Bind(idOf("Barcode1DReaderGetBarcodeValue"), [&linear](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBstrUtf8(linear.GetBarcodeValue(a.i4(0)));
        return S_OK;
    });
    Bind(idOf("Barcode1DReaderGetBarcodeSkewAngle"),
         [&linear](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
             result = MakeR8(linear.GetBarcodeSkewAngle(a.i4(0)));
             return S_OK;
         });
    Bind(idOf("Barcode1DReaderBarcodeHasChecksum"), [&linear](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeBool(linear.HasCheckSum(a.i4(0)));
        return S_OK;
    });
    Bind(idOf("Barcode1DReaderClear"), [&linear](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        linear.ClearScanner();
        return S_OK;
    });
    Bind(idOf("BarcodeDataMatrixReaderDoScan"), [this](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
        result = MakeI4(BarcodeDataMatrixReaderDoScan(control_, a.i4(0)));
        return S_OK;
    });
    Bind(idOf("BarcodeDataMatrixReaderGetBarcodeCount"),
         [&matrix](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
             result = MakeI4(matrix.GetBarcodeCount());
             return S_OK;
         });
    Bind(idOf("BarcodeDataMatrixReaderGetBarcodeValue"),
         [&matrix](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
             result = MakeBstrUtf8(matrix.GetBarcodeValue(a.i4(0)));
             return S_OK;
         });
    Bind(idOf("BarcodeDataMatrixReaderGetBarcodeRows"),
         [&matrix](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
             result = MakeI4(matrix.GetBarcodeRows(a.i4(0)));
             return S_OK;
         });
    Bind(idOf("BarcodeDataMatrixReaderGetBarcodeColumns"),
         [&matrix](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
             result = MakeI4(matrix.GetBarcodeColumns(a.i4(0)));
             return S_OK;
         });
    Bind(idOf("BarcodeDataMatrixReaderClear"), [&matrix](const BoundArguments&, VARIANT&, EXCEPINFO*) {
        matrix.ClearScanner();
        return S_OK;
    });
    // The corners, X1 to Y4, one getter each.
    int32_t (BarcodeReader::*const getters[8])(int32_t) const = {
        &BarcodeReader::GetBarcodeX1, &BarcodeReader::GetBarcodeY1, &BarcodeReader::GetBarcodeX2,
        &BarcodeReader::GetBarcodeY2, &BarcodeReader::GetBarcodeX3, &BarcodeReader::GetBarcodeY3,
        &BarcodeReader::GetBarcodeX4, &BarcodeReader::GetBarcodeY4};
    for (int i = 0; i < 8; ++i) {
        const auto getter = getters[i];
        for (BarcodeReader* reader : {static_cast<BarcodeReader*>(&linear), static_cast<BarcodeReader*>(&matrix)}) {
            const std::string family = reader == &linear ? "Barcode1DReader" : "BarcodeDataMatrixReader";
            Bind(idOf(family + "GetBarcode" + kCorners[i]),
                 [reader, getter](const BoundArguments& a, VARIANT& result, EXCEPINFO*) {
                     result = MakeI4((reader->*getter)(a.i4(0)));
                     return S_OK;
                 });
        }
    }
}

}  // namespace scanvelt
