#include "platform/com/connection_points.h"

#include <algorithm>
#include <atomic>

namespace com {

// One point handed to a host; it keeps the container alive while it lives.
class ConnectionPoints::Point final : public IConnectionPoint {
public:
    Point(ConnectionPoints* points, const IID& iid) : points_(points), iid_(iid) { points_->owner_->AddRef(); }
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
            *object = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        uint32_t left = --references_;
        if (left == 0) {
            points_->owner_->Release();
            delete this;
        }
        return left;
    }
    HRESULT GetConnectionInterface(IID* iid) override {
        if (!iid) return E_POINTER;
        *iid = iid_;
        return S_OK;
    }
    HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override {
        if (!container) return E_POINTER;
        *container = points_->owner_;
        (*container)->AddRef();
        return S_OK;
    }
    HRESULT Advise(IUnknown* sink, uint32_t* cookie) override { return points_->advise(sink, cookie); }
    HRESULT Unadvise(uint32_t cookie) override { return points_->unadvise(cookie); }
    HRESULT EnumConnections(IUnknown** enumerator) override {
        if (enumerator) *enumerator = nullptr;
        return E_NOTIMPL;
    }

private:
    ~Point() = default;
    ConnectionPoints* points_;
    IID iid_;
    std::atomic<uint32_t> references_{1};
};

ConnectionPoints::ConnectionPoints(IConnectionPointContainer* owner, std::vector<IID> interfaces)
    : owner_(owner), interfaces_(std::move(interfaces)) {}

COM_CALLS_HOST_SINKS ConnectionPoints::~ConnectionPoints() {
    for (auto& [cookie, sink] : sinks_) sink->Release();
}

HRESULT ConnectionPoints::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (std::find(interfaces_.begin(), interfaces_.end(), iid) == interfaces_.end()) return CONNECT_E_NOCONNECTION;
    *point = new Point(this, interfaces_.back());
    return S_OK;
}

COM_CALLS_HOST_SINKS HRESULT ConnectionPoints::advise(IUnknown* sink, uint32_t* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || !dispatch)
        return CONNECT_E_CANNOTCONNECT;
    *cookie = nextCookie_++;
    sinks_[*cookie] = dispatch;
    return S_OK;
}

COM_CALLS_HOST_SINKS HRESULT ConnectionPoints::unadvise(uint32_t cookie) {
    auto it = sinks_.find(cookie);
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    it->second->Release();
    sinks_.erase(it);
    return S_OK;
}

std::vector<IDispatch*> ConnectionPoints::Sinks() const {
    std::vector<IDispatch*> out;
    for (const auto& [cookie, sink] : sinks_) out.push_back(sink);
    return out;
}

}  // namespace com
