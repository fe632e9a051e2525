#pragma once
// The viewer control MvViewer as a COM object: its members by dispatch ID,
// its events, the object-safety answers, the property bag (IPersistPropertyBag)
// and the face a host window shows (IControlSurface, control_site.h).
#include "imaging/viewer/viewer_control.h"
#include "platform/com/control_site.h"
#include "platform/com/dispatch_control.h"

namespace scanvelt {

class ViewerObject final : public com::DispatchControl,
                           public com::IControlSurface,
                           public com::IPersistPropertyBag {
public:
    static com::HRESULT Create(com::REFIID iid, void** object);

    com::HRESULT QueryInterface(com::REFIID iid, void** object) override;
    uint32_t AddRef() override { return DispatchControl::AddRef(); }
    uint32_t Release() override { return DispatchControl::Release(); }

    // IControlSurface
    com::HRESULT SetSite(com::IControlSite* site) override;
    com::HRESULT Show(int32_t visible) override;
    com::HRESULT Resize(int32_t width, int32_t height) override;
    com::HRESULT GetBackBuffer(com::ControlBackBuffer* buffer) override;
    com::HRESULT MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    com::HRESULT MouseMove(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    com::HRESULT MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    com::HRESULT DoubleClick(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    com::HRESULT MouseWheel(int32_t delta, int32_t shift, int32_t x, int32_t y) override;
    com::HRESULT KeyDown(int32_t keyCode, int32_t shift) override;
    com::HRESULT KeyUp(int32_t keyCode, int32_t shift) override;
    com::HRESULT KeyPress(int32_t character) override;
    com::HRESULT FocusIn() override;
    com::HRESULT FocusOut() override;
    com::HRESULT TimerFired(uint32_t id) override;
    com::HRESULT FilesDropped(const com::OLECHAR* const* paths, uint32_t count, int32_t x, int32_t y) override;

    // IPersistPropertyBag
    com::HRESULT GetClassID(com::CLSID* clsid) override;
    com::HRESULT InitNew() override;
    com::HRESULT Load(com::IPropertyBag* bag, com::IErrorLog* log) override;
    com::HRESULT Save(com::IPropertyBag* bag, int32_t clearDirty, int32_t saveAll) override;

    ViewerControl& control() { return control_; }

private:
    ViewerObject();
    ~ViewerObject() override;
    void bindFrameMembers();
    void bindDocumentMembers();
    void bindViewMembers();
    void bindPictureMembers();    // viewer_object_view_members.cpp
    void bindSelectionMembers();  // viewer_object_view_members.cpp
    void bindPdfAndFrameMembers();
    void bindInternetMembers();
    void bindPrintingMembers();
    void propertyChanged(const std::string& key);

    com::IControlSite* site_ = nullptr;
    ViewerControl control_;
};

}  // namespace scanvelt
