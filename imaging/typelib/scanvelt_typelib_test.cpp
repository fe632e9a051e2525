#include "imaging/typelib/scanvelt_typelib.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "platform/com/typelib_binary.h"

namespace scanvelt::typelib {
namespace {

using namespace com;

const TypeLibModel& lib() { return ScanveltTypeLib(); }

const TypeInfoModel& type(const char* name) {
    const TypeInfoModel* t = FindType(lib(), name);
    EXPECT_NE(t, nullptr) << name;
    return *t;
}

int32_t constant(const char* enumeration, const char* name) {
    for (const auto& c : type(enumeration).constants) {
        if (c.name == name) return c.value;
    }
    ADD_FAILURE() << enumeration << "." << name << " missing";
    return 0x7FFFFFFF;
}

TEST(ScanveltTypeLib, LibraryIdentity) {
    EXPECT_EQ(lib().name, "Scanvelt");
    EXPECT_EQ(win::FormatGuid(lib().libid), "{730F43B9-5CFC-4D83-A779-D7ED538F2AE8}");
    EXPECT_EQ(lib().major, 1);
    EXPECT_EQ(lib().minor, 10);
    EXPECT_EQ(lib().lcid, 0x409u);
    EXPECT_EQ(lib().flags, 0x2);
    EXPECT_EQ(lib().doc, "Scanvelt - TWAIN ActiveX");
}

TEST(ScanveltTypeLib, SeventyEightEntriesInOrder) {
    std::vector<std::string> expected = {"_Twain", "Twain"};
    for (int i = 0; i < 8; ++i) expected.push_back("Twain___v" + std::to_string(i));
    expected.insert(expected.end(), {"_MvViewer", "MvViewer"});
    for (int i = 0; i < 9; ++i) expected.push_back("MvViewer___v" + std::to_string(i));
    expected.insert(expected.end(), {"_dummy", "dummy", "__MvViewer", "__Twain", "ViewerMouseWheelMode"});
    ASSERT_EQ(lib().types.size(), 78u);
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lib().types[i].name, expected[i]) << i;
    EXPECT_EQ(lib().types.back().name, "Barcode1DReaderType");
    for (size_t i = 25; i < 78; ++i) EXPECT_EQ(lib().types[i].kind, TKIND_ENUM) << lib().types[i].name;
}

TEST(ScanveltTypeLib, ClassesAndInterfacesCarryTheirGuidsAndFlags) {
    struct Row { const char* name; TYPEKIND kind; const char* guid; uint16_t flags; };
    const Row rows[] = {
        {"_Twain", TKIND_DISPATCH, "{E88070E3-5582-4BA6-A34E-3AB5188857D3}", 0x11d0},
        {"__Twain", TKIND_DISPATCH, "{64C13E5E-A5F2-4205-93D7-AE1D2FA1F69B}", 0x1090},
        {"Twain", TKIND_COCLASS, "{06E482ED-A0CF-41AD-A6CE-0C2C7961D7CA}", 0x20},
        {"_MvViewer", TKIND_DISPATCH, "{2E660E5C-8024-4E78-A237-1D86BBADF6D5}", 0x11d0},
        {"__MvViewer", TKIND_DISPATCH, "{CAF35BA2-AF39-496A-B1E4-EC4DCE8D02D8}", 0x1090},
        {"MvViewer", TKIND_COCLASS, "{F4D3F1FC-A6AB-41E3-8A76-0EEE16CE2BE4}", 0x20},
        {"_dummy", TKIND_DISPATCH, "{1F279EEB-B778-41A0-B1CB-F3A66D02F5ED}", 0x11d0},
        {"dummy", TKIND_COCLASS, "{17DAEECC-41E0-4BEA-B940-DC2B7D54FBF9}", 0x0},
        {"Twain___v0", TKIND_ALIAS, "{27E191E7-8F21-4ED8-B804-46253B50AFA7}", 0x10},
        {"MvViewer___v8", TKIND_ALIAS, "{843E841D-B768-4A70-A747-3002C52E3C25}", 0x10},
    };
    for (const auto& r : rows) {
        const auto& t = type(r.name);
        EXPECT_EQ(t.kind, r.kind) << r.name;
        EXPECT_EQ(win::FormatGuid(t.guid), r.guid) << r.name;
        EXPECT_EQ(t.flags, r.flags) << r.name;
    }
    EXPECT_EQ(type("Twain").implTypes,
              (std::vector<ImplTypeModel>{{"_Twain", IMPLTYPEFLAG_FDEFAULT}, {"__Twain", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}));
    EXPECT_EQ(type("Twain___v5").aliasOf, "_Twain");
    EXPECT_EQ(type("MvViewer___v3").aliasOf, "_MvViewer");
    EXPECT_TRUE(type("__Twain").members.empty());
    EXPECT_EQ(type("__MvViewer").members.size(), 25u);
    EXPECT_EQ(type("__MvViewer").members.back().name, "PdfPasswordRequest");
}

TEST(ScanveltTypeLib, InterfaceIdentityListsEndWithTheCurrentInterface) {
    EXPECT_EQ(TwainInterfaceIds().size(), 9u);
    EXPECT_EQ(TwainInterfaceIds().back(), TwainInterfaceId());
    EXPECT_EQ(TwainInterfaceIds().front(), type("Twain___v0").guid);
    EXPECT_EQ(MvViewerInterfaceIds().size(), 10u);
    EXPECT_EQ(MvViewerInterfaceIds().back(), MvViewerInterfaceId());
    EXPECT_EQ(DummyInterfaceIds(), std::vector<IID>{DummyInterfaceId()});
    EXPECT_EQ(TwainSourceInterfaceIds().size(), 9u);
    EXPECT_EQ(TwainSourceInterfaceIds().back(), TwainEventsId());
    EXPECT_EQ(win::FormatGuid(TwainSourceInterfaceIds().front()), "{FE056F9A-55BC-4478-ACE6-44679206C632}");
    EXPECT_EQ(MvViewerSourceInterfaceIds().size(), 10u);
}

// The members a host binds to by number, with their parameters.
struct Bound {
    DISPID id;
    const char* control;
    const char* name;
    std::vector<std::string> params;
    VARTYPE result;
    const char* resultType;
};

TEST(ScanveltTypeLib, TheMembersOstrelleBindsToResolveByNumber) {
    const Bound bound[] = {
        {0x60030010, "_Twain", "AutoDeskew", {}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030015, "_Twain", "CropBorders", {}, VT_USERDEFINED, "MorvalenStatus"},
        {0x6003002a, "_Twain", "FxSepia", {}, VT_USERDEFINED, "MorvalenStatus"},
        {0x6003002b, "_Twain", "FxStretchContrast", {}, VT_USERDEFINED, "MorvalenStatus"},
        {0x6003002c, "_Twain", "FxNegative", {}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030043, "_Twain", "TiffSaveAsNativeMultiPage", {"sFilePath", "nModeCompression"}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030044, "_Twain", "TiffCloseNativeMultiPage", {}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030045, "_Twain", "TiffAddToNativeMultiPage", {"nImageID"}, VT_USERDEFINED, "MorvalenStatus"},
        {0x6003004f, "_Twain", "Rotate", {"nRotation"}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030051, "_Twain", "CloseImage", {"nImageID"}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030058, "_Twain", "SaveAsPDF", {"sFilePath", "sTitle", "sCreator", "sAuthor", "sProducer"}, VT_BOOL, ""},
        {0x6003005d, "_Twain", "SaveAsJPEG", {"sFilePath", "nQuality"}, VT_USERDEFINED, "MorvalenStatus"},
        {0x6003006a, "_Twain", "GetNativeImage", {}, VT_I4, ""},
        {0x60030075, "_Twain", "TwainPdfStart", {"sFilePath", "sTitle", "sCreator", "sAuthor", "sProducer"}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030076, "_Twain", "TwainAddMorvalenImageToPdf", {"nImageID"}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030077, "_Twain", "TwainPdfStop", {}, VT_USERDEFINED, "MorvalenStatus"},
        {0x60030078, "_Twain", "TwainAcquireToMorvalenImage", {"hwnd"}, VT_I4, ""},
        {0x6003007d, "_Twain", "TwainCloseSource", {}, VT_BOOL, ""},
        {0x6003007e, "_Twain", "TwainCloseSourceManager", {"hwnd"}, VT_BOOL, ""},
        {0x60030081, "_Twain", "TwainEnableDuplex", {"bDuplex"}, VT_BOOL, ""},
        {0x600300ce, "_Twain", "TwainGetState", {}, VT_USERDEFINED, "TwainStatus"},
        {0x600300d3, "_Twain", "TwainOpenDefaultSource", {}, VT_BOOL, ""},
        {0x600300d6, "_Twain", "TwainSelectSource", {"hwnd"}, VT_BOOL, ""},
        {0x600300d7, "_Twain", "TwainSetAutoBrightness", {"bAutoBrightness"}, VT_BOOL, ""},
        {0x600300d8, "_Twain", "TwainSetAutoFeed", {"bAutoFeed"}, VT_BOOL, ""},
        {0x600300eb, "_Twain", "TwainSetAutoScan", {"bAutoScan"}, VT_BOOL, ""},
        {0x600300ec, "_Twain", "TwainSetCurrentBitDepth", {"nBitDepth"}, VT_BOOL, ""},
        {0x600300ed, "_Twain", "TwainSetCurrentBrightness", {"nBrightnessValue"}, VT_BOOL, ""},
        {0x600300ee, "_Twain", "TwainSetCurrentContrast", {"nContrastValue"}, VT_BOOL, ""},
        {0x600300ef, "_Twain", "TwainSetCurrentPixelType", {"nPixelType"}, VT_BOOL, ""},
        {0x600300f0, "_Twain", "TwainSetCurrentResolution", {"nResolution"}, VT_BOOL, ""},
        {0x600300f4, "_Twain", "TwainSetHideUI", {"bHide"}, VT_EMPTY, ""},
        {0x600300f5, "_Twain", "TwainSetIndicators", {"bShowIndicator"}, VT_BOOL, ""},
        {0x600300f9, "_Twain", "TwainShowSetupDialogSource", {"hwnd"}, VT_BOOL, ""},
        {0x600300fa, "_Twain", "TwainUnloadSourceManager", {}, VT_BOOL, ""},
        {0x6003003e, "_MvViewer", "ImageClosed", {}, VT_EMPTY, ""},
        {0x60030077, "_MvViewer", "SetNativeImage", {"nImageID"}, VT_USERDEFINED, "MorvalenStatus"},
    };
    ASSERT_EQ(std::size(bound), 37u);
    for (const auto& b : bound) {
        const MemberModel* m = FindMember(type(b.control), b.id, DISPATCH_METHOD);
        ASSERT_NE(m, nullptr) << b.name;
        EXPECT_EQ(m->name, b.name);
        std::vector<std::string> names;
        for (const auto& p : m->params) names.push_back(p.name);
        EXPECT_EQ(names, b.params) << b.name;
        EXPECT_EQ(m->result, b.result) << b.name;
        EXPECT_EQ(m->resultTypeName, b.resultType) << b.name;
    }
    // The defaults a host leaves out.
    const auto* tiff = FindMember(type("_Twain"), 0x60030043, DISPATCH_METHOD);
    EXPECT_EQ(tiff->params[1].typeName, "TifCompression");
    EXPECT_EQ(tiff->params[1].defaultValue, DefaultValue{int32_t{2}});
    EXPECT_EQ(FindMember(type("_Twain"), 0x6003005d, DISPATCH_METHOD)->params[1].defaultValue, DefaultValue{int32_t{75}});
    EXPECT_EQ(FindMember(type("_Twain"), 0x60030078, DISPATCH_METHOD)->params[0].defaultValue, DefaultValue{int32_t{0}});
    const auto* pdf = FindMember(type("_Twain"), 0x60030058, DISPATCH_METHOD);
    EXPECT_FALSE(pdf->params[0].optional);
    EXPECT_EQ(pdf->params[2].defaultValue, DefaultValue{std::string("Morvalen ToolKit")});
    EXPECT_EQ(FindMember(type("_Twain"), 0x600300ef, DISPATCH_METHOD)->params[0].typeName, "TwainPixelType");
}

TEST(ScanveltTypeLib, TwainMembersFollowTheDispatchIdRule) {
    const auto& members = type("_Twain").members;
    std::set<DISPID> seen;
    DISPID last = 0;
    for (const auto& m : members) {
        EXPECT_GE(m.id, 0x60030000) << m.name;
        EXPECT_LE(m.id, 0x60030162) << m.name;
        EXPECT_GT(m.id, last) << m.name << " out of order";
        EXPECT_EQ(m.kind, INVOKE_FUNC) << m.name;
        last = m.id;
        EXPECT_TRUE(seen.insert(m.id).second) << m.name;
    }
    EXPECT_EQ(members.front().name, "SetBrightness");
    EXPECT_EQ(members.back().name, "BarcodeDataMatrixReaderClear");
    EXPECT_EQ(FindMemberId(type("_Twain"), u"getversion"), kDispidGetVersion);
    EXPECT_EQ(FindMemberId(type("_Twain"), u"GETSTAT"), kDispidGetStat);
}

TEST(ScanveltTypeLib, MembersAreFoundByNameInTheirOwnControl) {
    // One number, two members: each control answers with its own.
    EXPECT_EQ(TwainMemberId("TwainPdfStop"), 0x60030077);
    EXPECT_EQ(MvViewerMemberId("setnativeimage"), 0x60030077);
    EXPECT_EQ(TwainMemberId("GETSTAT"), kDispidGetStat);
    EXPECT_EQ(TwainMemberId("SetNativeImage"), DISPID_UNKNOWN);
    EXPECT_EQ(MvViewerMemberId("TwainPdfStop"), DISPID_UNKNOWN);
}

TEST(ScanveltTypeLib, EnumerationsHaveTheirConstants) {
    const std::pair<const char*, size_t> counts[] = {
        {"ViewerMouseWheelMode", 3}, {"ViewerImagePosition", 9}, {"ViewerImageAlignment", 9}, {"ViewerBackStyleMode", 2},
        {"ViewerZoomMode", 6}, {"ViewerPdfRenderingMode", 3}, {"ViewerRectBorderStyle", 5}, {"ViewerRectDrawMode", 16},
        {"ViewerMouseMode", 4}, {"ViewerAppearance", 2}, {"ViewerBorderStyle", 2}, {"TifCompression", 5},
        {"ExrCompression", 8}, {"PrinterStatus", 8}, {"JPEGTransformations", 5}, {"RotateFlipType", 16},
        {"FontStyle", 6}, {"SmoothingMode", 5}, {"InterpolationMode", 8}, {"UnitMode", 7}, {"TwainStatus", 8},
        {"TwainBarCodeType", 20}, {"TwainBarCodeRotation", 5}, {"TwainPixelType", 14}, {"TwainResultCode", 10},
        {"TwainConditionCode", 27}, {"TwainPaperSize", 58}, {"TwainItemTypes", 16}, {"TwainLanguage", 129},
        {"TwainCountry", 239}, {"TwainCompression", 13}, {"TwainImageFileFormats", 16}, {"TwainCapabilities", 136},
        {"TagTypes", 9}, {"Tags", 238}, {"Colors", 146}, {"ViewerQuality", 5}, {"PrintQuality", 4},
        {"ColorPaletteType", 4},
        {"PixelFormats", 15}, {"MousePointers", 15}, {"ImageColorSpaces", 6}, {"Operators", 3},
        {"TesseractDictionary", 10}, {"FillMode", 2}, {"DocumentType", 3}, {"MouseButton", 3}, {"PdfEncryption", 3},
        {"PdfRight", 10}, {"Barcode1DReaderScanMode", 2}, {"BarcodeDataMatrixReaderScanMode", 2},
        {"Barcode1DReaderType", 19}, {"MorvalenStatus", 59},
    };
    for (const auto& [name, count] : counts) EXPECT_EQ(type(name).constants.size(), count) << name;
    EXPECT_EQ(win::FormatGuid(type("MorvalenStatus").guid), "{8093DFBD-5476-4360-958E-D9A5937854A0}");
}

TEST(ScanveltTypeLib, ConstantsWithUnusualNamesOrValues) {
    EXPECT_EQ(constant("Barcode1DReaderScanMode", "BestSpeed"), 0);
    EXPECT_EQ(constant("Barcode1DReaderScanMode", "BestQuality"), 1);
    EXPECT_EQ(constant("BarcodeDataMatrixReaderScanMode", "BestSpeed"), 0);
    EXPECT_EQ(constant("BarcodeDataMatrixReaderScanMode", "BestQuality"), 1);
    EXPECT_EQ(constant("Barcode1DReaderType", "Barcode1DReaderEAN13"), -32768);
    EXPECT_EQ(constant("PixelFormats", "PixelFormat64bpppARGB"), 1851406);
    EXPECT_EQ(constant("TwainImageFileFormats", "TWPT_PDF"), 10);
    EXPECT_EQ(constant("RotateFlipType", "Rotate180FlipXY"), 0);
    EXPECT_EQ(constant("TwainPaperSize", "JISB5"), 2);
    EXPECT_EQ(constant("MorvalenStatus", "BarcodeReaderDataMatrixPluginNotLoaded"), 700);
    // A missing or outdated OCR plug-in has a status of its own, apart from a missing dictionary.
    EXPECT_EQ(constant("MorvalenStatus", "OCRPluginNotLoaded"), 510);
    EXPECT_EQ(constant("TwainCapabilities", "CAP_CUSTOMBASE"), -32768);
    EXPECT_EQ(constant("TwainCapabilities", "ICAP_AUTOSIZE"), 4438);
    EXPECT_EQ(constant("TwainCapabilities", "ICAP_AUTOMATICBORDERDETECTION"), 4432);
    EXPECT_EQ(constant("TwainLanguage", "TWLG_USERLOCALE"), -1);
    EXPECT_EQ(constant("TwainLanguage", "TWLG_AFRIKAANS"), 14);
    EXPECT_EQ(constant("TwainLanguage", "TWLG_ENGLISH_USA"), 13);
    EXPECT_EQ(constant("TwainLanguage", "TWLG_FRENCH_CANADIAN"), 3);
    EXPECT_EQ(constant("TwainCountry", "TWCY_AFGHANISTAN"), 1001);
    EXPECT_EQ(constant("TwainCountry", "TWCY_CAMAROON"), 237);
    EXPECT_EQ(constant("TwainCountry", "TWCY_GIBRALTER"), 350);
    EXPECT_EQ(constant("TwainCountry", "TWCY_BRITAIN"), 6);
    EXPECT_EQ(constant("Tags", "TagArtist"), 315);
    EXPECT_EQ(constant("Tags", "TagExifDTOrig"), 36867);
    EXPECT_EQ(constant("Tags", "TagExifIFD"), 34665);
    EXPECT_EQ(constant("Tags", "TagGpsAltitude"), 6);
    EXPECT_EQ(constant("Tags", "TagGpsDateStamp"), 29);
    EXPECT_EQ(constant("Tags", "TagRelatedImageFileFormat"), 4096);
    EXPECT_EQ(constant("Tags", "TagRelatedImageHeight"), 4098);
    EXPECT_EQ(constant("Colors", "AliceBlue"), -984833);
    EXPECT_EQ(constant("Colors", "Black"), -16777216);
    EXPECT_EQ(constant("Colors", "White"), -1);
    EXPECT_EQ(constant("Colors", "Transparent"), 16777215);
    EXPECT_EQ(constant("Colors", "XPGoldLight"), -198205);
    EXPECT_EQ(constant("Colors", "DarkBrown"), -8372160);
}

TEST(ScanveltTypeLib, TheImageWrittenAtBuildTimeReadsBackAsTheModel) {
    std::ifstream file(SCANVELT_TYPELIB_FILE, std::ios::binary);
    ASSERT_TRUE(file) << SCANVELT_TYPELIB_FILE;
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(image.size(), 4u);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "MSFT");
    std::string error;
    auto read = ReadTypeLibImage(image, &error);
    ASSERT_TRUE(read) << error;
    EXPECT_TRUE(*read == lib());
    EXPECT_EQ(read->types.size(), 78u);
    const TypeInfoModel* tags = FindType(*read, "Tags");
    ASSERT_NE(tags, nullptr);
    EXPECT_EQ(tags->constants.size(), 238u);
}

}  // namespace
}  // namespace scanvelt::typelib
