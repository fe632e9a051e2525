// The pointer and context-menu members of _MvViewer, called by dispatch ID:
// where the pointer is on the image (96 x 72 dpi, so an image pixel is 4/3
// of a face pixel high, and scrolled by unequal amounts), the pointer's own
// picture, and the menu items a host renames or disables.
#include <gtest/gtest.h>

#include "imaging/engine/save_gdiplus.h"
#include "imaging/viewer/testing/viewer_tables.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/control_site.h"
#include "platform/files/testing/scratch_folder.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr int32_t kRotate90Item = 9;

const ViewerControl::MenuEntry& menuItem(ViewerTable& t, int32_t index) {
    return static_cast<ViewerObject*>(static_cast<DispatchControl*>(t.viewer))->control().menuItem(index);
}

// At 100 %, scrolled 120 face pixels across and 80 down, the pointer at (130, 68) of the face:
// image pixel (250, 111).
void pointerOverTheImage(ViewerTable& t) {
    VARIANT r = t.call("SetZoom100");
    VariantClear(&r);
    r = t.call("SetHVScrollBarPosition", {MakeI4(120), MakeI4(80)});
    VariantClear(&r);
    t.surface->MouseMove(0, 0, 130, 68);
}

class ViewerPointerMembers : public ViewerTable {
public:
    files::testing::ScratchFolder scratch{"viewer-pointer-table"};
    std::string cursorFile;
};

// A 5 x 3 image file, white in its first column.
void aCursorFile(ViewerTable& t) {
    auto& fixture = static_cast<ViewerPointerMembers&>(t);
    const int32_t picture = ViewerTable::makeImage(5, 3, [](int32_t x, int32_t) { return x ? 0xFF000000u : 0xFFFFFFFFu; });
    fixture.cursorFile = fixture.scratch.file("pointer.png");
    ASSERT_EQ(SaveImageAsPng(picture, fixture.cursorFile), 0);
    ReleaseImage(picture);
}

const ViewerRow kPointerRows[] = {
    {"GetMouseX", kMethod, {}, pointerOverTheImage, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 250); }},
    {"GetMouseY", kMethod, {}, pointerOverTheImage, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 111); }},
    // The picture of a 5 x 3 image file becomes the host's pointer, its hot spot at the corner.
    {"SetMouseIcon", kMethod, {}, aCursorFile,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.site.cursor, kControlCursorCustom);
         EXPECT_EQ(t.site.cursorHotSpot, (std::pair<int32_t, int32_t>{0, 0}));
         EXPECT_EQ(t.get("MousePointer").lVal, kControlCursorCustom);
     },
     [](ViewerTable& t) {
         return std::vector<VARIANT>{MakeBstrUtf8(static_cast<ViewerPointerMembers&>(t).cursorFile)};
     }},
    {"SetItemMenuCaption", kMethod, {int32_t{kRotate90Item}, std::string("Turn a quarter")}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(menuItem(t, kRotate90Item).caption, "Turn a quarter");
         EXPECT_NE(menuItem(t, kRotate90Item + 1).caption, "Turn a quarter");
     }},
    // Out of the menu's range: nothing changes and nothing breaks.
    {"SetItemMenuCaption", kMethod, {int32_t{10000}, std::string("Nowhere")}, nullptr,
     [](ViewerTable& t, const VARIANT&) { EXPECT_NE(menuItem(t, kRotate90Item).caption, "Nowhere"); }},
    {"SetItemMenuEnabled", kMethod, {int32_t{kRotate90Item}, false}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_FALSE(menuItem(t, kRotate90Item).enabled);
         EXPECT_TRUE(menuItem(t, kRotate90Item + 1).enabled);
     }},
};
const bool kPointerRowsRegistered = RegisterMemberTable("_MvViewer", kPointerRows);

TEST_F(ViewerPointerMembers, EachPointerAndMenuMemberActsOnItsOwnPart) {
    ASSERT_TRUE(kPointerRowsRegistered);
    for (const ViewerRow& row : kPointerRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
