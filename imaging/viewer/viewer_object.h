#pragma once
// The viewer control MvViewer as a COM object: creatable, answering its
// interface (every version of it), its event connection points and the
// object-safety questions. Its members are in the type library and answer
// E_NOTIMPL until the viewer is built.
#include "platform/com/dispatch_control.h"

namespace scanvelt {

class ViewerObject final : public com::DispatchControl {
public:
    static com::HRESULT Create(com::REFIID iid, void** object);

private:
    ViewerObject();
    ~ViewerObject() override = default;
};

}  // namespace scanvelt
