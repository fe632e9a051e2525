#pragma once
// Connection points of a control: one per event interface the control
// raises, each keeping the sinks that hosts advised. A control owns one
// ConnectionPoints and answers IConnectionPointContainer through it.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/com/interfaces.h"

// For the functions that call the sinks hosts advise. A host may be written in
// C, its objects plain tables of functions without C++ type information: the
// sanitizer's check of C++ dynamic types cannot apply to calls on them.
#define COM_CALLS_HOST_SINKS __attribute__((no_sanitize("vptr")))

namespace com {

class ConnectionPoints {
public:
    // `owner` answers GetConnectionPointContainer; `interfaces` are the event
    // interface IDs accepted, the current one last (earlier versions' IDs
    // before it); every one of them reaches the same sinks.
    ConnectionPoints(IConnectionPointContainer* owner, std::vector<IID> interfaces);
    ~ConnectionPoints();
    ConnectionPoints(const ConnectionPoints&) = delete;
    ConnectionPoints& operator=(const ConnectionPoints&) = delete;

    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point);
    // The sinks, as IDispatch, for raising an event by dispatch ID.
    std::vector<IDispatch*> Sinks() const;

private:
    class Point;
    friend class Point;
    HRESULT advise(IUnknown* sink, uint32_t* cookie);
    HRESULT unadvise(uint32_t cookie);

    IConnectionPointContainer* owner_;
    std::vector<IID> interfaces_;
    std::map<uint32_t, IDispatch*> sinks_;
    uint32_t nextCookie_ = 1;
};

}  // namespace com
