#include "platform/com/server_objects.h"

namespace com {
namespace {

std::atomic<int64_t> liveObjects{0};
std::atomic<int64_t> serverLocks{0};

}  // namespace

void ServerObjectCreated() { ++liveObjects; }
void ServerObjectDestroyed() { --liveObjects; }
void ServerLock(bool lock) {
    if (lock) ++serverLocks;
    else if (serverLocks > 0) --serverLocks;
}
HRESULT ServerCanUnloadNow() { return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE; }

ClassFactory::ClassFactory(Create create) : create_(std::move(create)) { ServerObjectCreated(); }
ClassFactory::~ClassFactory() { ServerObjectDestroyed(); }

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

uint32_t ClassFactory::AddRef() { return ++references_; }

uint32_t ClassFactory::Release() {
    uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, object);
}

HRESULT ClassFactory::LockServer(int32_t lock) {
    ServerLock(lock != 0);
    return S_OK;
}

}  // namespace com
