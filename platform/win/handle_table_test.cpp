#include "platform/win/handle_table.h"

#include <gtest/gtest.h>

#include <set>

namespace win {
namespace {

struct Thing {
    int value = 0;
};

TEST(HandleTable, HandlesAreNonZeroTaggedWithTheirKindAndDistinct) {
    HandleTable<HBITMAP, Thing> table(HandleKind::Bitmap);
    std::set<uint32_t> seen;
    for (int i = 0; i < 100; ++i) {
        HBITMAP h = table.add(std::make_shared<Thing>(Thing{i}));
        ASSERT_NE(handleValue(h), 0u);
        EXPECT_EQ(handleKindOf(handleValue(h)), HandleKind::Bitmap);
        EXPECT_TRUE(seen.insert(handleValue(h)).second);
        EXPECT_EQ(table.find(h)->value, i);
    }
}

TEST(HandleTable, RefusesNullForeignAndFreedHandles) {
    HandleTable<HBITMAP, Thing> bitmaps(HandleKind::Bitmap);
    HandleTable<HICON, Thing> icons(HandleKind::Icon);
    HBITMAP bitmap = bitmaps.add(std::make_shared<Thing>());
    HICON icon = icons.add(std::make_shared<Thing>());
    // Serial numbers of both tables start alike, so only the kind tells them apart.
    EXPECT_EQ(handleValue(bitmap) & kHandleSerialMask, handleValue(icon) & kHandleSerialMask);
    EXPECT_EQ(bitmaps.find(HBITMAP{handleValue(icon)}), nullptr);
    EXPECT_EQ(icons.find(HICON{handleValue(bitmap)}), nullptr);
    EXPECT_EQ(bitmaps.find(HBITMAP{}), nullptr);

    EXPECT_NE(bitmaps.remove(bitmap), nullptr);
    EXPECT_EQ(bitmaps.find(bitmap), nullptr);
    EXPECT_EQ(bitmaps.remove(bitmap), nullptr);
    EXPECT_EQ(bitmaps.size(), 0u);
}

TEST(HandleTable, AFreedValueIsNotHandedOutAgainSoon) {
    HandleTable<HDC, Thing> table(HandleKind::DeviceContext);
    HDC first = table.add(std::make_shared<Thing>());
    table.remove(first);
    for (int i = 0; i < 1000; ++i) {
        HDC next = table.add(std::make_shared<Thing>());
        ASSERT_NE(next, first);
        table.remove(next);
    }
    EXPECT_EQ(table.find(first), nullptr);
}

TEST(HandleTable, NullObjectGetsNoHandle) {
    HandleTable<HPALETTE, Thing> table(HandleKind::Palette);
    EXPECT_EQ(table.add(nullptr), HPALETTE{});
    EXPECT_EQ(table.size(), 0u);
}

}  // namespace
}  // namespace win
