#pragma once
// The Twain control as a COM object: its frame behind the dual interface
// _Twain, answered by dispatch ID from the type library.
#include "imaging/twain/twain_control.h"
#include "platform/com/dispatch_control.h"

namespace scanvelt {

class TwainObject final : public com::DispatchControl {
public:
    // A new instance with one reference, answering `iid` (S_OK) or not.
    static com::HRESULT Create(com::REFIID iid, void** object);

    TwainControl& control() { return control_; }

private:
    TwainObject();
    ~TwainObject() override = default;
    void bindFrameMembers();
    void bindPdfMembers();
    void bindColourMembers();
    void bindConversionMembers();
    void bindFileOutputMembers();
    void bindImageInfoMembers();
    void bindTextMembers();
    void bindDeskewMembers();
    void bindOcrMembers();
    void bindBarcodeMembers();
    void bindFormatsMembers();
    void bindAcquisitionMembers();  // twain_object_acquisition.cpp
    void bindCapabilityMembers();   // twain_object_capabilities.cpp
    void bindFeatureMembers();      // twain_object_features.cpp

    TwainControl control_;
};

}  // namespace scanvelt
