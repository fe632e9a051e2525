#pragma once
// For the viewer's tables of cases: a row names a member of _MvViewer, how it
// is called (method, property get or put) with which arguments, the state it
// starts from and the effect it must have; the fixture runs rows through
// IDispatch::Invoke by dispatch ID.
#include <vector>

#include "imaging/typelib/testing/member_tables.h"
#include "imaging/viewer/testing/viewer_fixture.h"

namespace scanvelt::testing {

class ViewerTable;

struct ViewerRow {
    const char* member;
    uint16_t call;  // com::DISPATCH_METHOD, _PROPERTYGET or _PROPERTYPUT
    std::vector<RowArgument> args;
    void (*start)(ViewerTable&);  // the starting state; null: the fixture's
    void (*effect)(ViewerTable&, const com::VARIANT& result);
    // Arguments known only once the row has started (a handle it made), in
    // place of `args`; null: `args`.
    std::vector<com::VARIANT> (*argumentsAfterStart)(ViewerTable&) = nullptr;
};

inline constexpr uint16_t kMethod = com::DISPATCH_METHOD;
inline constexpr uint16_t kGet = com::DISPATCH_PROPERTYGET;
inline constexpr uint16_t kPut = com::DISPATCH_PROPERTYPUT;

// A viewer 400 x 300 pixels without border or scroll bars, showing an image
// twice as wide as high (1200 x 600) of unequal resolutions (96 x 72 dpi);
// the image's left half is red, its right half blue.
class ViewerTable : public ViewerFixture {
public:
    void SetUp() override {
        ViewerFixture::SetUp();
        show(400, 300);
        put("ScrollBars", com::MakeBool(false));
        image = makeImage(1200, 600, [](int32_t x, int32_t) { return x < 600 ? 0xFFFF0000u : 0xFF0000FFu; }, 96, 72);
        ASSERT_EQ(callLong("SetNativeImage", {com::MakeI4(image)}), 0);
        events.events.clear();
    }
    void TearDown() override {
        ReleaseImage(image);
        ViewerFixture::TearDown();
    }

    void run(const ViewerRow& row) {
        SCOPED_TRACE(row.member);
        if (row.start) {
            row.start(*this);
            if (::testing::Test::HasFatalFailure()) return;
        }
        events.events.clear();
        std::vector<com::VARIANT> args;
        if (row.argumentsAfterStart) args = row.argumentsAfterStart(*this);
        else
            for (const auto& a : row.args) args.push_back(VariantOfArgument(a));
        com::VARIANT result = call(row.member, std::move(args), row.call);
        row.effect(*this, result);
        com::VariantClear(&result);
    }

    using ViewerFixture::call;
    using ViewerFixture::callLong;
    using ViewerFixture::events;
    using ViewerFixture::get;
    using ViewerFixture::makeImage;
    using ViewerFixture::pixel;
    using ViewerFixture::put;
    using ViewerFixture::site;
    using ViewerFixture::surface;
    using ViewerFixture::viewer;
    double number(const char* name) {
        com::VARIANT v = get(name);
        com::VARIANT d;
        com::VariantInit(&d);
        com::VariantChangeType(&d, &v, 0, com::VT_R8);
        com::VariantClear(&v);
        return d.dblVal;
    }
    int32_t image = 0;
};

}  // namespace scanvelt::testing
