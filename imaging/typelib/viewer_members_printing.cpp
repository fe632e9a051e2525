// The viewer's printing members: printer settings and print jobs of the
// shown document.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> MvViewerPrintingMembers() {
    constexpr DISPID base = 0x60030105;
    auto single = [](const char* name) { return Param(name, VT_R4); };
    auto place = [&] {
        return std::vector<ParamModel>{single("nDstX"), single("nDstY"), single("nWidth"), single("nHeight")};
    };
    auto withPrinter = [&] {
        std::vector<ParamModel> p{Text("sPrinterName")};
        for (auto& q : place()) p.push_back(q);
        return p;
    };
    return {
        Method(base + 0, "PrintSetAutoRotation", {Flag("bAutoRotation")}, VT_EMPTY),
        Method(base + 1, "PrintSetUserPaperSize", {single("nPaperWidth"), single("nPaperHeight")}, VT_EMPTY),
        Method(base + 2, "PrintSetPaperBin", {Long("nPaperBin")}, VT_BOOL),
        Method(base + 3, "PrintGetPaperBin", {}, VT_I4),
        Method(base + 4, "PrintGetPaperHeight", {}, VT_R4),
        Method(base + 5, "PrintGetPaperWidth", {}, VT_R4),
        Method(base + 6, "PrintGetImageAlignment", {}, VT_I4),
        Method(base + 7, "PrintSetImageAlignment", {Long("nImageAlignment")}, VT_EMPTY),
        Method(base + 8, "PrintSetOrientation", {Param("nOrientation", VT_I2)}, VT_EMPTY),
        Method(base + 9, "PrintGetOrientation", {}, VT_I2),
        EnumMethod(base + 10, "PrintGetQuality", {}, "PrintQuality"),
        Method(base + 11, "PrintSetQuality", {EnumParam("nQuality", "PrintQuality")}, VT_EMPTY),
        Method(base + 12, "PrintGetDocumentName", {}, VT_BSTR),
        Method(base + 13, "PrintSetDocumentName", {Text("sDocumentName")}, VT_EMPTY),
        Method(base + 14, "PrintGetColorMode", {}, VT_I4),
        Method(base + 15, "PrintSetColorMode", {Long("nColorMode")}, VT_EMPTY),
        Method(base + 16, "PrintSetCopies", {Long("nCopies")}, VT_EMPTY),
        Method(base + 17, "PrintGetCopies", {}, VT_I4),
        EnumMethod(base + 18, "PrintGetStat", {}, "PrinterStatus"),
        Method(base + 19, "PrintSetDuplexMode", {Long("nDuplexMode")}, VT_EMPTY),
        Method(base + 20, "PrintGetDuplexMode", {}, VT_I4),
        Method(base + 21, "PrintSetActivePrinter", {Text("sPrinterName")}, VT_BOOL),
        Method(base + 22, "PrintGetActivePrinter", {}, VT_BSTR),
        Method(base + 23, "PrintSetFromToPage", {Long("nFrom"), Long("nTo")}, VT_EMPTY),
        Method(base + 24, "PrintGetMargins", {ByRef(single("nLeftMargin")), ByRef(single("nTopMargin"))}, VT_EMPTY),
        Method(base + 25, "PrintGetPrintersCount", {}, VT_I4),
        Method(base + 26, "PrintGetPrinterName", {Long("nPrinterNo")}, VT_BSTR),
        Method(base + 27, "PrintSetStdPaperSize", {Long("nPaperSize")}, VT_EMPTY),
        Method(base + 28, "PrintGetPaperSize", {}, VT_I4),
        Method(base + 29, "PrintImageDialog", {}, VT_BOOL),
        Method(base + 30, "PrintImageDialogFit", {}, VT_BOOL),
        Method(base + 31, "PrintImageDialogBySize", place(), VT_BOOL),
        Method(base + 32, "PrintImage", {}, VT_EMPTY),
        Method(base + 33, "PrintImageFit", {}, VT_EMPTY),
        Method(base + 34, "PrintImageBySize", place(), VT_EMPTY),
        Method(base + 35, "PrintImage2Printer", {Text("sPrinterName")}, VT_BOOL),
        Method(base + 36, "PrintImageBySize2Printer", withPrinter(), VT_BOOL),
    };
}

}  // namespace scanvelt::typelib
