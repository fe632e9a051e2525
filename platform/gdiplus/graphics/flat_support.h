#pragma once
// What the flat interface's functions share: finding the object behind a
// handle, registering a new one, deleting one.
#include <memory>

#include "platform/gdiplus/graphics/object_handles.h"
#include "platform/gdiplus/memory.h"
#include "platform/gdiplus/startup.h"

namespace gdiplus {

// Runs `body` on the object behind the handle; InvalidParameter when there is none.
template <class Handle, class Object, class Body>
Status WithObject(win::HandleTable<Handle, Object>& table, Handle handle, Body&& body) {
    std::shared_ptr<Object> object = table.find(handle);
    if (!object) return InvalidParameter;
    return AnswerOutOfMemory([&] { return body(*object); });
}

// Hands out a handle for a new object; OutOfMemory when the table is full.
template <class Handle, class Object, class Made>
Status RegisterObject(win::HandleTable<Handle, Object>& table, std::unique_ptr<Made> object, Handle& handle) {
    const Handle added = table.add(std::shared_ptr<Object>(std::move(object)));
    if (added == Handle{}) return OutOfMemory;
    handle = added;
    return Ok;
}

// Makes an object with `make` (which fills a unique_ptr and answers a
// Status) and registers it, once the layer is started.
template <class Handle, class Object, class Made, class Make>
Status CreateObject(win::HandleTable<Handle, Object>& table, Handle& handle, Make&& make) {
    if (!IsStarted()) return GdiplusNotInitialized;
    return AnswerOutOfMemory([&] {
        std::unique_ptr<Made> object;
        if (Status s = make(object); s != Ok) return s;
        return RegisterObject(table, std::move(object), handle);
    });
}

template <class Handle, class Object>
Status DeleteObject(win::HandleTable<Handle, Object>& table, Handle handle) {
    return table.remove(handle) ? Ok : InvalidParameter;
}

}  // namespace gdiplus
