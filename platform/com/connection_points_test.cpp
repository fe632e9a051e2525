#include "platform/com/connection_points.h"

#include <gtest/gtest.h>

namespace com {
namespace {

constexpr IID kOldEvents = {1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
constexpr IID kEvents = {2, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};

// A container and a sink that count their references.
class Counted : public IConnectionPointContainer, public IDispatch {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            ++references;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++references; }
    uint32_t Release() override { return --references; }
    HRESULT EnumConnectionPoints(IUnknown**) override { return E_NOTIMPL; }
    HRESULT FindConnectionPoint(REFIID, IConnectionPoint**) override { return E_NOTIMPL; }
    HRESULT GetTypeInfoCount(uint32_t*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(uint32_t, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, OLECHAR**, uint32_t, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, uint16_t, DISPPARAMS*, VARIANT*, EXCEPINFO*, uint32_t*) override { return E_NOTIMPL; }
    int references = 0;
};

TEST(ConnectionPoints, EveryListedEventInterfaceReachesTheSameSinks) {
    Counted container, sink;
    {
        ConnectionPoints points(static_cast<IConnectionPointContainer*>(&container), {kOldEvents, kEvents});
        IConnectionPoint* point = nullptr;
        ASSERT_EQ(points.FindConnectionPoint(kOldEvents, &point), S_OK);
        EXPECT_EQ(container.references, 1);
        IID current{};
        point->GetConnectionInterface(&current);
        EXPECT_EQ(current, kEvents);
        uint32_t cookie = 0;
        ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&sink), &cookie), S_OK);
        EXPECT_EQ(points.Sinks().size(), 1u);
        EXPECT_EQ(sink.references, 1);
        EXPECT_EQ(point->Unadvise(cookie + 7), CONNECT_E_NOCONNECTION);
        EXPECT_EQ(point->Unadvise(cookie), S_OK);
        EXPECT_EQ(sink.references, 0);
        ASSERT_EQ(point->Advise(static_cast<IDispatch*>(&sink), &cookie), S_OK);
        point->Release();
        EXPECT_EQ(container.references, 0);
        IConnectionPoint* none = nullptr;
        EXPECT_EQ(points.FindConnectionPoint(IID_IDispatch, &none), CONNECT_E_NOCONNECTION);
    }
    EXPECT_EQ(sink.references, 0);  // the points released the sink still advised
}

}  // namespace
}  // namespace com
