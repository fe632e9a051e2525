// Source handling and acquisition members of _Twain bound to their dispatch IDs.
#include "imaging/twain/acquisition_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"

namespace scanvelt {

using com::BoundArguments;

void TwainObject::bindAcquisitionMembers() {
    MemberBinder b([this](com::DISPID id, com::MemberHandler handler) { Bind(id, std::move(handler)); });
    using A = const BoundArguments&;
    namespace s = twain_source;
    namespace q = twain_acquisition;

    b.Long("TwainGetState", [](A) { return s::GetState(); });
    b.Bool("TwainIsAvailable", [](A) { return s::IsAvailable(); });
    b.Bool("TwainSelectSource", [](A a) { return s::SelectSource(a.i4(0)); });
    b.Bool("TwainOpenDefaultSource", [](A) { return s::OpenDefaultSource(); });
    b.Bool("TwainOpenSource", [](A a) { return s::OpenSource(Utf8Argument(a, 0)); });
    b.Bool("TwainCloseSource", [](A) { return s::CloseSource(); });
    b.Bool("TwainCloseSourceManager", [](A a) { return s::CloseSourceManager(a.i4(0)); });
    b.Bool("TwainUnloadSourceManager", [](A) { return s::UnloadSourceManager(); });
    b.Bool("TwainDisableSource", [](A) { return s::DisableSource(); });
    b.Bool("TwainShowSetupDialogSource", [this](A a) { return s::ShowSetupDialogSource(control_, a.i4(0)); });
    b.None("TwainSetApplicationInfo", [](A a) {
        s::SetApplicationInfo(a.i4(0), a.i4(1), a.i4(2), a.i4(3), Utf8Argument(a, 4), Utf8Argument(a, 5),
                              Utf8Argument(a, 6), Utf8Argument(a, 7));
    });
    b.Long("TwainGetSourceCount", [](A) { return s::GetSourceCount(); });
    b.Text("TwainGetSourceName", [](A a) { return s::GetSourceName(a.i4(0)); });

    b.None("TwainSetHideUI", [](A a) { s::SetHideUI(a.boolean(0)); });
    b.Bool("TwainSetIndicators", [](A a) { return s::SetIndicators(a.boolean(0)); });
    b.None("TwainSetErrorMessage", [](A a) { s::SetErrorMessage(a.boolean(0)); });
    b.None("TwainSetMultiTransfer", [](A a) { s::SetMultiTransfer(a.boolean(0)); });
    b.Bool("TwainSetXferCount", [](A a) { return s::SetXferCount(a.i4(0)); });
    b.Bool("TwainEnableDuplex", [](A a) { return s::EnableDuplex(a.boolean(0)); });
    b.None("TwainDisableAutoSourceClose", [](A a) { s::DisableAutoSourceClose(a.boolean(0)); });
    b.Bool("TwainUserClosedSource", [](A) { return s::UserClosedSource(); });
    b.Bool("TwainLastXferFail", [](A) { return s::LastXferFail(); });
    b.Bool("TwainEndXfer", [](A) { return s::EndXfer(); });
    b.Bool("TwainEndAllXfers", [](A) { return s::EndAllXfers(); });
    b.Bool("TwainResetImageLayout", [](A) { return s::ResetImageLayout(); });
    b.Long("TwainGetLastConditionCode", [](A) { return s::GetLastConditionCode(); });
    b.Long("TwainGetLastResultCode", [](A) { return s::GetLastResultCode(); });
    b.Bool("TwainLogStart", [](A a) { return s::LogStart(Utf8Argument(a, 0)); });
    b.None("TwainLogStop", [](A) { s::LogStop(); });

    b.Long("TwainAcquireToDib", [this](A a) { return static_cast<int32_t>(q::AcquireToDib(control_, a.i4(0))); });
    b.Long("TwainAcquireToMorvalenImage", [this](A a) { return q::AcquireToMorvalenImage(control_, a.i4(0)); });
    b.Long("TwainAcquireToFile", [this](A a) { return q::AcquireToFile(control_, Utf8Argument(a, 0), a.i4(1)); });
}

}  // namespace scanvelt
