#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdiplus/graphics/font.h"
#include "platform/gdiplus/graphics/font_family.h"
#include "platform/gdiplus/graphics/testing/fontconfig_leak_suppression.h"
#include "platform/gdiplus/graphics/windows_font_names.h"
#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

using testing_support::StartedTest;

class FontFamilyTest : public StartedTest {};

TEST_F(FontFamilyTest, WindowsFamilyNamesResolveToInstalledFamilies) {
    struct Case {
        const char* windows;
        const char* standIn;
    };
    const std::vector<Case> cases = {
        {"Arial", "Liberation Sans"},          {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},    {"Verdana", "DejaVu Sans"},
        {"Tahoma", "DejaVu Sans"},             {"Microsoft Sans Serif", "Liberation Sans"},
        {"arial", "Liberation Sans"},          {"COURIER NEW", "Liberation Mono"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windows);
        EXPECT_EQ(StandInFamily(c.windows), std::string_view(c.standIn));
        std::unique_ptr<FontFamily> family;
        ASSERT_EQ(FontFamily::FromName(c.windows, family), Ok);
        // A machine that has the Windows family itself draws with it.
        EXPECT_TRUE(family->Name() == c.standIn || family->Name() == c.windows) << family->Name();
        EXPECT_FALSE(family->Faces().empty());
    }
}

TEST_F(FontFamilyTest, InstalledFamiliesAreFoundByTheirOwnNames) {
    for (const char* name : {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans", "DejaVu Serif",
                             "DejaVu Sans Mono", "dejavu sans"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<FontFamily> family;
        ASSERT_EQ(FontFamily::FromName(name, family), Ok);
        EXPECT_EQ(family->Name(), name);
        for (std::int32_t style = FontStyleRegular; style <= FontStyleBoldItalic; ++style) {
            EXPECT_TRUE(family->IsStyleAvailable(style)) << style;
            EXPECT_TRUE(family->IsStyleAvailable(style | FontStyleUnderline | FontStyleStrikeout)) << style;
        }
    }
}

TEST_F(FontFamilyTest, TheFontListHoldsEachInstalledFamilyOnceInOrder) {
    const std::vector<std::string> names = InstalledFamilyNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    for (const char* installed : {"Liberation Sans", "DejaVu Sans Mono"})
        EXPECT_NE(std::find(names.begin(), names.end(), installed), names.end()) << installed;
    // Every name listed finds its family again.
    for (const std::string& name : names) {
        std::unique_ptr<FontFamily> family;
        EXPECT_EQ(FontFamily::FromName(name, family), Ok) << name;
    }
}

TEST_F(FontFamilyTest, UnknownFamiliesAreNotFound) {
    for (const char* name : {"No Such Family 4711", "", "Arial Unknown"}) {
        SCOPED_TRACE(name);
        std::unique_ptr<FontFamily> family;
        EXPECT_EQ(FontFamily::FromName(name, family), FontFamilyNotFound);
        EXPECT_FALSE(family);
    }
}

TEST_F(FontFamilyTest, RegularFacesAreChosenOverLightAndCondensedOnes) {
    std::unique_ptr<FontFamily> family;
    ASSERT_EQ(FontFamily::FromName("DejaVu Sans", family), Ok);
    const FaceChoice regular = ChooseFace(family->Faces(), FontStyleRegular);
    ASSERT_NE(regular.face, nullptr);
    EXPECT_EQ(regular.face->width, 100);
    EXPECT_FALSE(regular.face->bold);
    EXPECT_EQ(regular.face->weight, 80);
    const FaceChoice bold = ChooseFace(family->Faces(), FontStyleBold);
    ASSERT_NE(bold.face, nullptr);
    EXPECT_TRUE(bold.face->bold);
    EXPECT_FALSE(bold.synthesizeBold);
}

TEST(ChooseFaceTest, StylesAreMadeUpOnlyFromFacesThatLackThem) {
    const FontFace regular{"r.ttf", 0, false, false, 80, 100};
    const FontFace bold{"b.ttf", 0, true, false, 200, 100};
    const FontFace italic{"i.ttf", 0, false, true, 80, 100};
    struct Case {
        const char* name;
        std::vector<FontFace> faces;
        std::int32_t style;
        const char* file;  // null: the style cannot be drawn
        bool makeBold;
        bool makeItalic;
    };
    const std::vector<Case> cases = {
        {"regular only, bold italic made up", {regular}, FontStyleBoldItalic, "r.ttf", true, true},
        {"regular only, underline needs nothing", {regular}, FontStyleUnderline, "r.ttf", false, false},
        {"bold only cannot be regular", {bold}, FontStyleRegular, nullptr, false, false},
        {"bold only cannot be italic", {bold}, FontStyleItalic, nullptr, false, false},
        {"bold only, bold italic slanted", {bold}, FontStyleBoldItalic, "b.ttf", false, true},
        {"italic only cannot be bold upright", {italic}, FontStyleBold, nullptr, false, false},
        {"exact face beats making up", {regular, bold, italic}, FontStyleItalic, "i.ttf", false, false},
        {"bold italic from the nearer face", {regular, italic}, FontStyleBoldItalic, "i.ttf", true, false},
        {"no faces", {}, FontStyleRegular, nullptr, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FaceChoice choice = ChooseFace(c.faces, c.style);
        if (c.file == nullptr) {
            EXPECT_EQ(choice.face, nullptr);
            continue;
        }
        ASSERT_NE(choice.face, nullptr);
        EXPECT_EQ(choice.face->file, c.file);
        EXPECT_EQ(choice.synthesizeBold, c.makeBold);
        EXPECT_EQ(choice.synthesizeItalic, c.makeItalic);
    }
}

TEST_F(FontFamilyTest, FontsRefuseSizesAndUnitsThatCannotBeDrawn) {
    std::unique_ptr<FontFamily> family;
    ASSERT_EQ(FontFamily::FromName("Liberation Sans", family), Ok);
    std::unique_ptr<Font> font;
    EXPECT_EQ(Font::Create(*family, 0, FontStyleRegular, UnitPoint, font), InvalidParameter);
    EXPECT_EQ(Font::Create(*family, -3, FontStyleRegular, UnitPoint, font), InvalidParameter);
    EXPECT_EQ(Font::Create(*family, 10, FontStyleRegular, UnitDisplay, font), InvalidParameter);
    EXPECT_EQ(Font::Create(*family, 10, FontStyleRegular, static_cast<Unit>(7), font), InvalidParameter);
    ASSERT_EQ(Font::Create(*family, 10, FontStyleBoldItalic | FontStyleUnderline, UnitPoint, font), Ok);
    EXPECT_EQ(font->FamilyName(), "Liberation Sans");
    EXPECT_EQ(font->Style(), FontStyleBoldItalic | FontStyleUnderline);
}

}  // namespace
}  // namespace gdiplus
