// The colour members called by dispatch ID: the colour values built from and
// taken into parts (every part different, so a swap shows), and the filters
// on a page of 40 x 30 pixels at 300 x 200 dpi, proven by its pixels.
#include <gtest/gtest.h>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/com/safearray.h"

namespace scanvelt::testing {
namespace {

using namespace com;

// ---- Colour values --------------------------------------------------------

struct ValueRow {
    const char* member;
    std::vector<RowArgument> args;
    int32_t expected;
};

const ValueRow kValueRows[] = {
    {"argb", {int32_t{0x80}, int32_t{0x11}, int32_t{0x22}, int32_t{0x33}}, static_cast<int32_t>(0x80112233u)},
    {"GetRGB", {int32_t{0x11}, int32_t{0x22}, int32_t{0x33}}, 0x00332211},
};
const bool kValueRowsRegistered = RegisterMemberTable("_Twain", kValueRows);

// The parts handed back through the host's references, as bytes or as Longs.
struct PartsRow {
    const char* member;
    int32_t value;
    VARTYPE partType;
    std::vector<int32_t> parts;  // in the member's order
};

const PartsRow kPartsRows[] = {
    {"ColorGetRGBFromRGBValue", 0x00332211, VT_UI1, {0x11, 0x22, 0x33}},
    {"ColorGetRGBFromRGBValuel", 0x00332211, VT_I4, {0x11, 0x22, 0x33}},
    {"ColorGetARGBFromARGBValue", static_cast<int32_t>(0x80112233u), VT_UI1, {0x80, 0x11, 0x22, 0x33}},
    {"ColorGetARGBFromARGBValuel", static_cast<int32_t>(0x80112233u), VT_I4, {0x80, 0x11, 0x22, 0x33}},
};
const bool kPartsRowsRegistered = RegisterMemberTable("_Twain", kPartsRows);

class ColourValueTable : public TwainTable {};

TEST_F(ColourValueTable, ValuesAreBuiltFromAndTakenIntoTheirOwnParts) {
    ASSERT_TRUE(kValueRowsRegistered && kPartsRowsRegistered);
    for (const ValueRow& row : kValueRows) {
        std::vector<VARIANT> arguments;
        for (const auto& a : row.args) arguments.push_back(VariantOfArgument(a));
        VARIANT result = call(row.member, std::move(arguments));
        EXPECT_EQ(result.lVal, row.expected) << row.member;
    }
    for (const PartsRow& row : kPartsRows) {
        std::vector<int32_t> longs(row.parts.size(), -1);
        std::vector<uint8_t> bytes(row.parts.size(), 0xEE);
        std::vector<VARIANT> arguments{MakeI4(row.value)};
        for (size_t i = 0; i < row.parts.size(); ++i) {
            VARIANT ref;
            VariantInit(&ref);
            ref.vt = static_cast<VARTYPE>(VT_BYREF | row.partType);
            if (row.partType == VT_I4) ref.plVal = &longs[i];
            else ref.pbVal = &bytes[i];
            arguments.push_back(ref);
        }
        VARIANT result = call(row.member, std::move(arguments));
        VariantClear(&result);
        for (size_t i = 0; i < row.parts.size(); ++i)
            EXPECT_EQ(row.partType == VT_I4 ? longs[i] : bytes[i], row.parts[i]) << row.member << " part " << i;
    }
}

// ---- Filters on the page ---------------------------------------------------

int32_t channel(uint32_t argb, int shift) { return static_cast<int32_t>((argb >> shift) & 0xFF); }

const ImageRow kFilterRows[] = {
    {"FxNegative", {},
     [](const ImageEffect& e) {
         EXPECT_EQ(e.result.lVal, 0);
         for (const auto [x, y] : {std::pair{0, 0}, std::pair{39, 0}, std::pair{0, 29}, std::pair{17, 11}})
             EXPECT_EQ(PixelAt(e.after, x, y) & 0xFFFFFF, ~PageAt(x, y) & 0xFFFFFF) << x << "," << y;
         EXPECT_EQ(testing_support::ResolutionOf(e.after), (std::pair<float, float>{300.0f, 200.0f}));
     }},
    // Brighter in every channel, the page's channels lying within 30..220.
    {"SetBrightness", {int32_t{20}},
     [](const ImageEffect& e) {
         EXPECT_EQ(e.result.lVal, 0);
         for (const auto [x, y] : {std::pair{0, 0}, std::pair{39, 29}, std::pair{17, 11}})
             for (int shift : {0, 8, 16})
                 EXPECT_GT(channel(PixelAt(e.after, x, y), shift), channel(PageAt(x, y), shift)) << x << "," << y;
     }},
};
const bool kFilterRowsRegistered = RegisterMemberTable("_Twain", kFilterRows);

class ColourFilterTable : public ImageMemberTable {};

TEST_F(ColourFilterTable, EachFilterChangesThePixelsItsOwnWay) {
    ASSERT_TRUE(kFilterRowsRegistered);
    for (const ImageRow& row : kFilterRows) run(row);
}

// The other filters: each leaves the pixels the engine's own filter gives
// with the member's code and amount on an identical page, and those differ
// from the page, so a member that runs another filter or passes another
// amount shows.
struct EngineFilterRow {
    const char* member;
    std::vector<RowArgument> args;
    int32_t code;
    double amount;
    float hue = 0.0f, saturation = 0.5f, lightness = 1.0f;
};

const EngineFilterRow kEngineFilterRows[] = {
    {"SetContrast", {int32_t{40}}, 17, 40},
    {"SetGammaCorrection", {int32_t{50}}, 31, 150},  // a percentage of 1 above it
    {"SetSaturation", {int32_t{-60}}, 30, -60},
    {"FxSepia", {}, 34, 0, 0.5f, 0.25f, 1.0f},
    {"FxStretchContrast", {}, 28, 0},
    {"FxSoften", {int32_t{150}}, 33, 100},  // at most 100
    {"FxDespeckle", {}, 61, 0},
    {"FxSmooth", {}, 5, 0},
};
const bool kEngineFilterRowsRegistered = RegisterMemberTable("_Twain", kEngineFilterRows);

TEST_F(ColourFilterTable, EachFilterRunsItsOwnCodeAndAmount) {
    ASSERT_TRUE(kEngineFilterRowsRegistered);
    for (const EngineFilterRow& row : kEngineFilterRows) {
        SCOPED_TRACE(row.member);
        const int32_t reference = testing_support::MakePage(kWidth, kHeight);
        double unused = 0;
        ASSERT_EQ(ApplyFilter(row.code, reference, row.amount, RoiRect{0, 0, kWidth, kHeight}, row.hue, row.saturation,
                              row.lightness, 0, 0, 0, unused),
                  OK);
        const std::vector<uint32_t> expected = testing_support::PixelsOf(reference);
        ReleaseImage(reference);
        const int32_t untouched = testing_support::MakePage(kWidth, kHeight);
        EXPECT_NE(expected, testing_support::PixelsOf(untouched)) << "the filter changes the page";
        ReleaseImage(untouched);
        static std::vector<uint32_t> wanted;
        wanted = expected;
        run(ImageRow{row.member, row.args, [](const ImageEffect& e) {
                         EXPECT_EQ(e.result.lVal, 0);
                         EXPECT_EQ(testing_support::PixelsOf(e.after), wanted);
                     }});
    }
}

// ---- The palette of an indexed page -----------------------------------------------------

const struct {
    const char* member;
} kPaletteRows[] = {{"ColorPaletteSet"}, {"ColorPaletteGet"}, {"ColorPaletteGetColorsCount"}};
const bool kPaletteRowsRegistered = RegisterMemberTable("_Twain", kPaletteRows);

class PaletteTable : public TwainTable {
protected:
    void TearDown() override {
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
        if (page) ReleaseImage(page);
    }
    void show(int32_t format) {
        page = testing_support::MakePage(8, 4, format);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(page);
    }
    // The palette as ColorPaletteGet gives it back through the host's references.
    std::vector<int32_t> palette(int32_t& status) {
        SAFEARRAY* array = nullptr;
        int32_t count = -1;
        VARIANT args[2];
        VariantInit(&args[0]);
        args[0].vt = VT_BYREF | VT_ARRAY | VT_I4;
        args[0].pparray = &array;
        VariantInit(&args[1]);
        args[1].vt = VT_BYREF | VT_I4;
        args[1].plVal = &count;
        status = call("ColorPaletteGet", {args[0], args[1]}).lVal;
        std::vector<int32_t> colours;
        if (array) {
            const auto* data = static_cast<const int32_t*>(array->pvData);
            colours.assign(data, data + array->rgsabound[0].cElements);
            SafeArrayDestroy(array);
        }
        EXPECT_EQ(static_cast<size_t>(count), colours.size());
        return colours;
    }
    int32_t page = 0;
};

TEST_F(PaletteTable, AColourTableSetIsReadBackInItsOrder) {
    ASSERT_TRUE(kPaletteRowsRegistered);
    show(gdiplus::PixelFormat1bppIndexed);
    EXPECT_EQ(call("ColorPaletteGetColorsCount").lVal, 2);
    const std::vector<int32_t> wanted{static_cast<int32_t>(0xFF112233u), static_cast<int32_t>(0xFF445566u)};
    VARIANT list;
    VariantInit(&list);
    list.vt = VT_ARRAY | VT_I4;
    list.parray = SafeArrayCreateVector(VT_I4, 0, 2);
    std::copy(wanted.begin(), wanted.end(), static_cast<int32_t*>(list.parray->pvData));
    EXPECT_EQ(call("ColorPaletteSet", {list}).lVal, 0);
    int32_t status = -1;
    EXPECT_EQ(palette(status), wanted);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(call("ColorPaletteGetColorsCount").lVal, 2);
}

TEST_F(PaletteTable, APageWithoutAPaletteHasNoColoursToGiveOrTake) {
    show(gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(call("ColorPaletteGetColorsCount").lVal, 0);
    EXPECT_EQ(call("GetStat").lVal, NotIndexedPixelFormat);
    int32_t status = -1;
    EXPECT_TRUE(palette(status).empty());
    EXPECT_EQ(status, NotIndexedPixelFormat);
}

}  // namespace
}  // namespace scanvelt::testing
