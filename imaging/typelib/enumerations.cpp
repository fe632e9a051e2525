#include "imaging/typelib/enumerations.h"

#include <map>

namespace scanvelt::typelib {
namespace {

struct Slot {
    const char* name;
    const char* guid;
};

// Library order and identity of the enumerations.
constexpr Slot kOrder[] = {
    {"ViewerMouseWheelMode", "{B928FC87-447C-4DE9-B322-CB0DE72BBF7F}"},
    {"ViewerImagePosition", "{7AEFF6F1-40E3-4BB7-A8E0-7E604C0B9C8E}"},
    {"ViewerImageAlignment", "{6CDF55C9-41C5-44BC-8B36-ED0E7D9AE2FD}"},
    {"ViewerBackStyleMode", "{81410D73-E75B-4845-9B08-E7204A43A3C7}"},
    {"ViewerZoomMode", "{A847B6D5-BC84-488E-990F-C007EAB5F767}"},
    {"ViewerPdfRenderingMode", "{C5AC0820-D778-4910-868F-E71BB091C84B}"},
    {"ViewerRectBorderStyle", "{2713BC3B-FD02-4D9B-9133-3FC51BF8F4EA}"},
    {"ViewerRectDrawMode", "{A8AFACD6-3482-4E78-B0FE-F845B1DF1B34}"},
    {"ViewerMouseMode", "{8354C72B-5348-4432-84AD-BAE169EC2375}"},
    {"ViewerAppearance", "{CF885F87-398D-4A83-B79D-588887B1AB41}"},
    {"ViewerBorderStyle", "{97877432-5C95-4B88-AE19-439462E6EC55}"},
    {"TifCompression", "{9B84A959-B6CF-4B7F-BE57-9EA2ED8D7887}"},
    {"ExrCompression", "{D7CA888C-DA50-477F-A43C-77A87A1FCA77}"},
    {"PrinterStatus", "{B274A3F2-36BF-4F5C-B91A-B501ACA556A3}"},
    {"MorvalenStatus", "{8093DFBD-5476-4360-958E-D9A5937854A0}"},
    {"JPEGTransformations", "{BC39217D-7E85-44A0-8603-6FE1AA0441AA}"},
    {"RotateFlipType", "{B5A61C65-5ADB-4526-8414-2B26D794C1F4}"},
    {"FontStyle", "{587B6E8C-0105-40FB-9B5A-AC3DE8600F9F}"},
    {"SmoothingMode", "{99917752-C8CA-4084-93AE-C5AA36187B5E}"},
    {"InterpolationMode", "{63B79792-1C85-4421-90BB-C95A829BD1C7}"},
    {"UnitMode", "{04404FAF-1794-40C3-A485-2A6519047953}"},
    {"TwainStatus", "{9550F2C9-D2F5-414B-946F-EF4B72DEF0DA}"},
    {"TwainBarCodeType", "{1AE856ED-7123-4D40-BF2C-D3DBC2AEA9ED}"},
    {"TwainBarCodeRotation", "{0081DE18-0A12-42FA-A1C1-07DFBCD62785}"},
    {"TwainPixelType", "{79ED370C-4FF7-4293-9DA9-B17AB637B1DD}"},
    {"TwainResultCode", "{FA428381-5072-45A8-9FA7-482CF9F16678}"},
    {"TwainConditionCode", "{5C7969B1-B7EF-46CF-86EC-70EDFEE1D231}"},
    {"TwainPaperSize", "{55E8AC84-6379-4EBD-BC01-0F31586BE7B5}"},
    {"TwainItemTypes", "{F9FFF8ED-CB9E-4EA4-A13F-90DD52671635}"},
    {"TwainLanguage", "{0E934620-27F8-46C0-8C47-7D61E9F381B4}"},
    {"TwainCountry", "{043740B4-7E91-48DA-A362-AFE23755724A}"},
    {"TwainCompression", "{734C6041-24F6-4FC1-AA68-F78CCBA4C9C5}"},
    {"TwainImageFileFormats", "{A604891B-3B89-453A-AA2C-5A40F90552D2}"},
    {"TwainCapabilities", "{4FEC2A3D-3D12-41CF-B6C4-28717732A4E3}"},
    {"TagTypes", "{0AB35280-B478-43C0-A98E-7F987027124C}"},
    {"Tags", "{8D253CA4-61A4-4F2B-8EB5-B92576FA4478}"},
    {"Colors", "{5836998E-5A49-4D88-80BB-75F43CED0EF9}"},
    {"ViewerQuality", "{E2CE2F8D-F3E5-4D35-AF40-48CC236C92D2}"},
    {"PrintQuality", "{12B04802-ACC8-4804-8F2C-4AA557E17FE4}"},
    {"ColorPaletteType", "{6A9CF174-4A9B-4062-A435-AE4047D35B9A}"},
    {"PixelFormats", "{0A82DD55-759D-4DB2-9CD7-FD7D8F1ED557}"},
    {"MousePointers", "{208CFC8E-2CF4-4F14-BCE7-6C2DABF27816}"},
    {"ImageColorSpaces", "{050FA633-E5EC-4287-8FD2-919CBC2FF648}"},
    {"Operators", "{D232EE97-106C-4085-A36F-F844584A4BC0}"},
    {"TesseractDictionary", "{2109CAA5-E0CF-423B-999C-660363494A0A}"},
    {"FillMode", "{E475CF52-A3CD-45CA-9F22-FDA5E67844A0}"},
    {"DocumentType", "{17CB585D-269E-4437-9867-96D27749CB1C}"},
    {"MouseButton", "{B6834B0A-67EF-4B9A-B6F0-E02CDBBB2863}"},
    {"PdfEncryption", "{CA3F50D8-C2FD-4A85-9450-93127ABCC82C}"},
    {"PdfRight", "{442DF775-5AE7-4477-83E8-D076AC2C9A76}"},
    {"Barcode1DReaderScanMode", "{4FBA4B7D-5185-4182-9D90-47E2DA8908DE}"},
    {"BarcodeDataMatrixReaderScanMode", "{5B3378CB-56F4-4A45-BC94-258B68C1A80D}"},
    {"Barcode1DReaderType", "{C1E832B0-6EF6-4B5A-A3C7-179396E093FC}"},
};

}  // namespace

const std::vector<EnumerationEntry>& Enumerations() {
    static const std::vector<EnumerationEntry> entries = [] {
        std::map<std::string, std::vector<com::ConstantModel>> constants = {
            {"TwainLanguage", TwainLanguageConstants()},
            {"TwainCountry", TwainCountryConstants()},
            {"TwainCapabilities", TwainCapabilityConstants()},
            {"Tags", TagConstants()},
            {"Colors", ColorConstants()},
        };
        for (const auto& listed : ListedEnumerations()) constants[listed.name] = listed.constants;
        std::vector<EnumerationEntry> out;
        for (const auto& slot : kOrder) out.push_back({slot.name, slot.guid, constants[slot.name]});
        return out;
    }();
    return entries;
}

}  // namespace scanvelt::typelib
