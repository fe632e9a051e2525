// The members of _Twain for source handling, transfer options and acquisition, with their dispatch IDs.
#include "imaging/typelib/model_builders.h"
#include "imaging/typelib/scanvelt_typelib.h"

namespace scanvelt::typelib {

using namespace com;

std::vector<MemberModel> TwainAcquisitionMembers() {
    return {
        Method(0x60030079, "TwainIsAvailable", {}, VT_BOOL),
        Method(0x6003007a, "TwainOpenSource", {Text("sSourceName")}, VT_BOOL),
        Method(0x6003007b, "TwainDisableSource", {}, VT_BOOL),
        Method(0x6003007c, "TwainSetApplicationInfo",
               {Long("nMajorNumVersion"), Long("nMinorNumVersion"), EnumParam("nLanguageID", "TwainLanguage"),
                EnumParam("nCountryID", "TwainCountry"), Text("sVersionInfo"), Text("sCompanyName"),
                Text("sProductFamily"), Text("sProductName")},
               VT_EMPTY),
        Method(0x6003007f, "TwainGetSourceCount", {}, VT_I4),
        Method(0x60030080, "TwainGetSourceName", {Long("nSourceNo")}, VT_BSTR),
        Method(0x60030082, "TwainSetErrorMessage", {Flag("bShowErrors")}, VT_EMPTY),
        Method(0x60030083, "TwainSetMultiTransfer", {Flag("bMultiTransfer")}, VT_EMPTY),
        Method(0x60030084, "TwainSetXferCount", {Long("nXfers")}, VT_BOOL),
        Method(0x60030085, "TwainDisableAutoSourceClose", {Flag("bDisableAutoSourceClose")}, VT_EMPTY),
        Method(0x60030086, "TwainUserClosedSource", {}, VT_BOOL),
        Method(0x60030087, "TwainLastXferFail", {}, VT_BOOL),
        Method(0x60030088, "TwainEndXfer", {}, VT_BOOL),
        Method(0x60030089, "TwainEndAllXfers", {}, VT_BOOL),
        Method(0x6003008a, "TwainResetImageLayout", {}, VT_BOOL),
        EnumMethod(0x6003008b, "TwainGetLastConditionCode", {}, "TwainConditionCode"),
        EnumMethod(0x6003008c, "TwainGetLastResultCode", {}, "TwainResultCode"),
        Method(0x6003008d, "TwainLogStart", {Text("sLogPath")}, VT_BOOL),
        Method(0x6003008e, "TwainLogStop", {}, VT_EMPTY),
        Method(0x6003008f, "TwainAcquireToDib", {LongOr("hwnd", 0)}, VT_I4),
        StatusMethod(0x60030090, "TwainAcquireToFile", {Text("sFilePath"), LongOr("hwnd", 0)}),
    };
}

}  // namespace scanvelt::typelib
