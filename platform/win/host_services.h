#pragma once
// Services a host installs for every library of its process: the message
// box, dialogs, the clipboard, timers, "let pending messages run". The
// libraries are shared objects that each carry their own copy of this
// platform layer (the server library hides all of it), yet a service the host
// installs must reach all of them, as a system service would. So the
// installed value lives in one slot per name, held by the small shared object
// libscanvelthost.so that every copy asks.
//
// Every copy must name a slot with the same type: a service's header and its
// one .cpp are the only place that names it.
namespace win {
namespace detail {
using SlotFactory = void* (*)();
// The process-wide slot named `name`, made by `make` on the first request.
void* HostSlot(const char* name, SlotFactory make);
}  // namespace detail

// The process-wide value of the service `name`, default-constructed on first
// use. Looked up on every call (a short locked search): services are asked
// for rarely, and one type may serve under several names.
template <class T>
T& HostService(const char* name) {
    return *static_cast<T*>(detail::HostSlot(name, []() -> void* { return new T(); }));
}

}  // namespace win
