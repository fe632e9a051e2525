// The members of _Twain with their dispatch IDs, in dispatch-ID order.
#include <algorithm>

#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {
namespace {

using namespace com;

std::vector<ParamModel> pdfInfo() {
    return {Text("sFilePath"), TextOr("sTitle", ""), TextOr("sCreator", "Morvalen ToolKit"),
            TextOr("sAuthor", "Morvalen ToolKit"), TextOr("sProducer", "")};
}

std::vector<ParamModel> pdfInfoEx() {
    return {Text("sFilePath"), TextOr("sTitle", ""), TextOr("sAuthor", ""), TextOr("sSubject", ""),
            TextOr("sKeywords", ""), TextOr("sCreator", ""),
            WithDefault(EnumParam("nPdfEncryption", "PdfEncryption"), DefaultValue{int32_t{0}}),
            WithDefault(EnumParam("nPDFRight", "PdfRight"), DefaultValue{int32_t{-1}}), TextOr("sUserpassWord", ""),
            TextOr("sOwnerPassword", "")};
}

ParamModel hwnd() { return LongOr("hwnd", 0); }
ParamModel dictionary() { return EnumParam("nDictionary", "TesseractDictionary"); }

std::vector<MemberModel> build() {
    std::vector<MemberModel> m = {
        StatusMethod(0x60030000, "SetBrightness", {Long("nBrightnessPct")}),
        StatusMethod(0x60030010, "AutoDeskew"),
        StatusMethod(0x60030015, "CropBorders"),
        StatusMethod(0x6003002a, "FxSepia"),
        StatusMethod(0x6003002b, "FxStretchContrast"),
        StatusMethod(0x6003002c, "FxNegative"),
        StatusMethod(0x60030043, "TiffSaveAsNativeMultiPage",
                     {Text("sFilePath"), WithDefault(EnumParam("nModeCompression", "TifCompression"), DefaultValue{int32_t{2}})}),
        StatusMethod(0x60030044, "TiffCloseNativeMultiPage"),
        StatusMethod(0x60030045, "TiffAddToNativeMultiPage", {Long("nImageID")}),
        StatusMethod(0x6003004f, "Rotate", {EnumParam("nRotation", "RotateFlipType")}),
        StatusMethod(0x60030051, "CloseImage", {Long("nImageID")}),
        Method(0x60030058, "SaveAsPDF", pdfInfo(), VT_BOOL),
        Method(0x60030059, "SaveAsPDFA", pdfInfo(), VT_BOOL),
        StatusMethod(0x6003005d, "SaveAsJPEG", {Text("sFilePath"), LongOr("nQuality", 75)}),
        Method(0x6003006a, "GetNativeImage", {}, VT_I4),
        StatusMethod(0x60030075, "TwainPdfStart", pdfInfo()),
        StatusMethod(0x60030076, "TwainAddMorvalenImageToPdf", {Long("nImageID")}),
        StatusMethod(0x60030077, "TwainPdfStop"),
        Method(0x60030078, "TwainAcquireToMorvalenImage", {hwnd()}, VT_I4),
        Method(0x6003007d, "TwainCloseSource", {}, VT_BOOL),
        Method(0x6003007e, "TwainCloseSourceManager", {hwnd()}, VT_BOOL),
        Method(0x60030081, "TwainEnableDuplex", {Flag("bDuplex")}, VT_BOOL),
        EnumMethod(0x600300ce, "TwainGetState", {}, "TwainStatus"),
        Method(0x600300d3, "TwainOpenDefaultSource", {}, VT_BOOL),
        Method(0x600300d6, "TwainSelectSource", {hwnd()}, VT_BOOL),
        Method(0x600300d7, "TwainSetAutoBrightness", {Flag("bAutoBrightness")}, VT_BOOL),
        Method(0x600300d8, "TwainSetAutoFeed", {Flag("bAutoFeed")}, VT_BOOL),
        Method(0x600300eb, "TwainSetAutoScan", {Flag("bAutoScan")}, VT_BOOL),
        Method(0x600300ec, "TwainSetCurrentBitDepth", {Long("nBitDepth")}, VT_BOOL),
        Method(0x600300ed, "TwainSetCurrentBrightness", {Long("nBrightnessValue")}, VT_BOOL),
        Method(0x600300ee, "TwainSetCurrentContrast", {Long("nContrastValue")}, VT_BOOL),
        Method(0x600300ef, "TwainSetCurrentPixelType", {EnumParam("nPixelType", "TwainPixelType")}, VT_BOOL),
        Method(0x600300f0, "TwainSetCurrentResolution", {Long("nResolution")}, VT_BOOL),
        Method(0x600300f4, "TwainSetHideUI", {Flag("bHide")}, VT_EMPTY),
        Method(0x600300f5, "TwainSetIndicators", {Flag("bShowIndicator")}, VT_BOOL),
        Method(0x600300f9, "TwainShowSetupDialogSource", {hwnd()}, VT_BOOL),
        Method(0x600300fa, "TwainUnloadSourceManager", {}, VT_BOOL),
        Method(0x6003010f, "SaveAsPDFOCR",
               {Text("sFilePath"), dictionary(), Text("sDictionaryPath"), TextOr("sCharWhiteList", ""), TextOr("sTitle", ""),
                TextOr("sCreator", "Morvalen ToolKit"), TextOr("sAuthor", "Morvalen ToolKit"), TextOr("sProducer", "")},
               VT_BSTR),
        StatusMethod(0x60030110, "TwainPdfOCRStart", pdfInfo()),
        Method(0x60030111, "TwainAddMorvalenImageToPdfOCR",
               {Long("nImageID"), dictionary(), Text("sDictionaryPath"), TextOr("sCharWhiteList", "")}, VT_BSTR),
        StatusMethod(0x60030112, "TwainPdfOCRStop"),
        Method(0x60030114, "OCRTesseractGetCharConfidence", {Long("nCharNo")}, VT_R4),
        Method(0x60030115, "OCRTesseractGetCharSpaces", {Long("nCharNo")}, VT_I4),
        Method(0x60030116, "OCRTesseractGetCharLine", {Long("nCharNo")}, VT_I4),
        Method(0x60030117, "OCRTesseractGetCharCode", {Long("nCharNo")}, VT_I4),
        Method(0x60030118, "OCRTesseractGetCharLeft", {Long("nCharNo")}, VT_I4),
        Method(0x60030119, "OCRTesseractGetCharRight", {Long("nCharNo")}, VT_I4),
        Method(0x6003011a, "OCRTesseractGetCharBottom", {Long("nCharNo")}, VT_I4),
        Method(0x6003011b, "OCRTesseractGetCharTop", {Long("nCharNo")}, VT_I4),
        Method(0x6003011c, "OCRTesseractGetCharCount", {}, VT_I4),
        Method(0x6003011d, "OCRTesseractDoOCR", {dictionary(), Text("sDictionaryPath"), TextOr("sCharWhiteList", "")}, VT_BSTR),
        Method(0x6003011e, "OCRTesseractClear", {}, VT_EMPTY),
        Method(0x60030130, "SaveAsPDFEx", pdfInfoEx(), VT_BOOL),
        Method(0x60030131, "SaveAsPDFAEx",
               {Text("sFilePath"), TextOr("sTitle", ""), TextOr("sAuthor", ""), TextOr("sSubject", ""),
                TextOr("sKeywords", ""), TextOr("sCreator", "")},
               VT_BOOL),
        Method(0x60030132, "SaveAsPDFOCREx",
               {Text("sFilePath"), dictionary(), Text("sDictionaryPath"), TextOr("sCharWhiteList", ""), TextOr("sTitle", ""),
                TextOr("sAuthor", ""), TextOr("sSubject", ""), TextOr("sKeywords", ""), TextOr("sCreator", ""),
                WithDefault(EnumParam("nPdfEncryption", "PdfEncryption"), DefaultValue{int32_t{0}}),
                WithDefault(EnumParam("nPDFRight", "PdfRight"), DefaultValue{int32_t{-1}}), TextOr("sUserpassWord", ""),
                TextOr("sOwnerPassword", "")},
               VT_BSTR),
        StatusMethod(0x60030133, "TwainPdfStartEx", pdfInfoEx()),
        StatusMethod(0x60030134, "TwainPdfOCRStartEx", pdfInfoEx()),
        EnumMethod(0x6003013a, "OCRTesseractGetOrientation", {dictionary(), Text("sDictionaryPath")}, "RotateFlipType"),
        EnumMethod(0x6003013b, "PdfCreateRights",
                   {Flag("bCanPrint"), Flag("bCanModify"), Flag("bCanCopy"), Flag("bCanAddNotes"), Flag("bCanFillFields"),
                    Flag("bCanCopyAccess"), Flag("bCanAssemble"), Flag("bCanprintFull")},
                   "PdfRight"),
        EnumMethod(0x60030140, "OCRTesseractGetOrientationEx",
                   {dictionary(), Text("sDictionaryPath"), Param("nAccuracyLevel", VT_R4)}, "RotateFlipType"),
        StatusMethod(0x60030143, "Barcode1DReaderDoScan", {EnumParam("ScanMode", "Barcode1DReaderScanMode")}),
        Method(0x60030144, "Barcode1DReaderGetBarcodeCount", {}, VT_I4),
        EnumMethod(0x60030145, "Barcode1DReaderGetBarcodeType", {Long("BarCodeNo")}, "Barcode1DReaderType"),
        Method(0x60030146, "Barcode1DReaderGetBarcodeValue", {Long("BarCodeNo")}, VT_BSTR),
        Method(0x60030147, "Barcode1DReaderGetBarcodeSkewAngle", {Long("BarCodeNo")}, VT_R8),
        Method(0x60030148, "Barcode1DReaderBarcodeHasChecksum", {Long("BarCodeNo")}, VT_BOOL),
    };
    const char* corners[] = {"X1", "Y1", "X2", "Y2", "X3", "Y3", "X4", "Y4"};
    for (int i = 0; i < 8; ++i)
        m.push_back(Method(0x60030149 + i, std::string("Barcode1DReaderGetBarcode") + corners[i], {Long("BarCodeNo")}, VT_I4));
    m.push_back(Method(0x60030151, "Barcode1DReaderClear", {}, VT_EMPTY));
    m.push_back(StatusMethod(0x60030155, "BarcodeDataMatrixReaderDoScan", {EnumParam("ScanMode", "BarcodeDataMatrixReaderScanMode")}));
    m.push_back(Method(0x60030156, "BarcodeDataMatrixReaderGetBarcodeCount", {}, VT_I4));
    m.push_back(Method(0x60030157, "BarcodeDataMatrixReaderGetBarcodeValue", {Long("BarCodeNo")}, VT_BSTR));
    for (int i = 0; i < 8; ++i)
        m.push_back(Method(0x60030158 + i, std::string("BarcodeDataMatrixReaderGetBarcode") + corners[i], {Long("BarCodeNo")}, VT_I4));
    m.push_back(Method(0x60030160, "BarcodeDataMatrixReaderGetBarcodeRows", {Long("BarCodeNo")}, VT_I4));
    m.push_back(Method(0x60030161, "BarcodeDataMatrixReaderGetBarcodeColumns", {Long("BarCodeNo")}, VT_I4));
    m.push_back(Method(0x60030162, "BarcodeDataMatrixReaderClear", {}, VT_EMPTY));

    // The published member list leaves the numbers of the frame's own members
    // open; they take free numbers of the range, fixed here for good.
    std::vector<MemberModel> frame = {
        Method(kDispidGetVersion, "GetVersion", {}, VT_R8),
        StatusMethod(kDispidGetStat, "GetStat"),
        Method(0x60030137, "SetROI", {Long("nLeft"), Long("nTop"), Long("nWidth"), Long("nHeight")}, VT_EMPTY),
        Method(0x60030138, "ResetROI", {}, VT_EMPTY),
        Method(0x60030139, "IsBlank", {WithDefault(Param("nConfidence", VT_R4), DefaultValue{99.0})}, VT_BOOL),
        Method(0x6003013c, "Encode64String", {Text("sStringToEncode")}, VT_BSTR),
        Method(0x6003013d, "Decode64String", {Text("sStringToDecode")}, VT_BSTR),
        Method(0x6003013e, "SetHttpTransfertBufferSize", {Long("nBuffersize")}, VT_EMPTY),
        Method(0x6003013f, "SetFtpPassiveMode", {Flag("bPassiveMode")}, VT_EMPTY),
        Method(0x60030141, "GetDesktopHwnd", {}, VT_I4),
    };
    m.insert(m.end(), frame.begin(), frame.end());
    for (auto&& family : {TwainColourMembers(), TwainConversionMembers(), TwainFileOutputMembers(),
                          TwainDeskewMembers(), TwainImageInfoMembers(), TwainTextMembers(), TwainFormatsMembers(),
                          TwainAcquisitionMembers(), TwainCapabilityMembers(), TwainFeatureMembers()})
        m.insert(m.end(), family.begin(), family.end());
    std::stable_sort(m.begin(), m.end(), [](const MemberModel& a, const MemberModel& b) { return a.id < b.id; });
    return m;
}

}  // namespace

std::vector<com::MemberModel> TwainMembers() { return build(); }

}  // namespace scanvelt::typelib
