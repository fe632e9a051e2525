#pragma once
// One table per kind of handle: it owns the objects behind the handles it gave
// out. Lookups of a null, foreign-kind or freed handle find nothing.
#include "platform/win/handles.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace win {

template <class Handle, class Object>
class HandleTable {
public:
    explicit HandleTable(HandleKind kind) : kind_(kind) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // Hands out a fresh handle; the null handle when the object is null or
    // every value of the kind is in use.
    Handle add(std::shared_ptr<Object> object) {
        if (!object) return Handle{};
        std::lock_guard lock(mutex_);
        for (uint32_t tries = 0; tries < kHandleSerialMask; ++tries) {
            uint32_t serial = nextSerial_;
            nextSerial_ = serial == kHandleSerialMask ? 1 : serial + 1;
            uint32_t value = (static_cast<uint32_t>(kind_) << kHandleKindShift) | serial;
            if (objects_.try_emplace(value, std::move(object)).second) return Handle{value};
        }
        return Handle{};
    }

    std::shared_ptr<Object> find(Handle handle) const {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(handleValue(handle));
        return it == objects_.end() ? nullptr : it->second;
    }

    bool contains(Handle handle) const { return find(handle) != nullptr; }

    // Takes the object out; its handle is refused from then on.
    std::shared_ptr<Object> remove(Handle handle) {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(handleValue(handle));
        if (it == objects_.end()) return nullptr;
        auto object = std::move(it->second);
        objects_.erase(it);
        return object;
    }

    size_t size() const {
        std::lock_guard lock(mutex_);
        return objects_.size();
    }

    HandleKind kind() const { return kind_; }

private:
    const HandleKind kind_;
    mutable std::mutex mutex_;
    std::unordered_map<uint32_t, std::shared_ptr<Object>> objects_;
    uint32_t nextSerial_ = 1;
};

}  // namespace win
