#pragma once
// A property bag held in memory: what a container keeps of a control's
// persisted properties between Save and Load. Names compare without regard
// to case; values are stored as the variants written.
#include <atomic>
#include <map>
#include <string>

#include "platform/com/interfaces.h"

namespace com {

class MemoryPropertyBag final : public IPropertyBag {
public:
    static MemoryPropertyBag* Create() { return new MemoryPropertyBag(); }
    HRESULT QueryInterface(REFIID iid, void** object) override;
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override;
    // E_INVALIDARG for a name not in the bag (the control then keeps its default).
    HRESULT Read(const OLECHAR* name, VARIANT* value, IErrorLog* log) override;
    HRESULT Write(const OLECHAR* name, VARIANT* value) override;
    size_t size() const { return values_.size(); }

private:
    MemoryPropertyBag() = default;
    ~MemoryPropertyBag();
    std::atomic<uint32_t> references_{1};
    std::map<std::u16string, VARIANT> values_;  // keyed by the folded name
};

}  // namespace com
