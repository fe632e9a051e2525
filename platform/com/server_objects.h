#pragma once
// What an in-process server counts to answer DllCanUnloadNow, and the base
// for its reference-counted objects. Each server library links its own copy,
// so the counts are per library.
#include <atomic>
#include <functional>

#include "platform/com/interfaces.h"

namespace com {

void ServerObjectCreated();
void ServerObjectDestroyed();
void ServerLock(bool lock);
// S_OK when no object lives and no lock is held, else S_FALSE.
HRESULT ServerCanUnloadNow();

// A class factory that makes objects with `create` (which answers the query
// for `iid` on the new object). Aggregation is refused.
class ClassFactory final : public IClassFactory {
public:
    using Create = std::function<HRESULT(REFIID iid, void** object)>;
    explicit ClassFactory(Create create);
    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;
    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT LockServer(int32_t lock) override;

private:
    ~ClassFactory();
    std::atomic<uint32_t> references_{1};
    Create create_;
};

}  // namespace com
