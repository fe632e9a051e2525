#include "platform/gdiplus/graphics/object_handles.h"

#include <gtest/gtest.h>

#include <set>

namespace gdiplus {
namespace {

TEST(ObjectHandles, EachTableTakesTheKindThatWinReservesForIt) {
    EXPECT_EQ(GraphicsHandles().kind(), win::HandleKind::DrawingGraphics);
    EXPECT_EQ(FontFamilyHandles().kind(), win::HandleKind::DrawingFontFamily);
    EXPECT_EQ(FontHandles().kind(), win::HandleKind::DrawingFont);
    EXPECT_EQ(StringFormatHandles().kind(), win::HandleKind::DrawingStringFormat);
    EXPECT_EQ(PenHandles().kind(), win::HandleKind::DrawingPen);
    EXPECT_EQ(BrushHandles().kind(), win::HandleKind::DrawingBrush);
    EXPECT_EQ(ImageAttributesHandles().kind(), win::HandleKind::DrawingImageAttributes);
}

TEST(ObjectHandles, NoKindIsSharedWithWinsOwnTables) {
    const win::HandleKind all[] = {
        win::HandleKind::GlobalMemory,    win::HandleKind::Bitmap,          win::HandleKind::Icon,
        win::HandleKind::DeviceContext,   win::HandleKind::Palette,         win::HandleKind::Picture,
        GraphicsHandles().kind(),         FontFamilyHandles().kind(),       FontHandles().kind(),
        StringFormatHandles().kind(),     PenHandles().kind(),              BrushHandles().kind(),
        ImageAttributesHandles().kind(),
    };
    std::set<win::HandleKind> distinct(std::begin(all), std::end(all));
    EXPECT_EQ(distinct.size(), std::size(all));
    for (const win::HandleKind kind : all) {
        // The kind must fit the bits above the serial.
        EXPECT_LT(static_cast<uint32_t>(kind), 1u << (32 - win::kHandleKindShift));
    }
}

}  // namespace
}  // namespace gdiplus
