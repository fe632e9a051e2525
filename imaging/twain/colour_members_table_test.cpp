// The colour members called by dispatch ID: the colour values built from and
// taken into parts (every part different, so a swap shows), and the filters
// on a page of 40 x 30 pixels at 300 x 200 dpi, proven by its pixels.
#include <gtest/gtest.h>

#include "imaging/engine/filter_dispatch.h"
#include "imaging/engine/image_palette.h"
#include "platform/com/safearray.h"
#include "platform/gdiplus/pixel_format.h"
#include "imaging/twain/testing/twain_tables.h"

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

// ---- The palette of an indexed page -----------------------------------------

class PaletteTable;

struct PaletteRow {
    const char* member;
    void (*run)(PaletteTable&);
};

class PaletteTable : public TwainTable {
public:
    using TwainTable::call;
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }
    // Makes a page of the format current; the fixture releases it.
    int32_t page(int32_t format) {
        control().setCurrentImage(0);
        if (current_) ReleaseImage(current_);
        current_ = testing_support::MakePage(7, 5, format);
        control().setCurrentImage(current_);
        return current_;
    }
    // ColorPaletteSet with the colours as the host's array of Longs.
    int32_t set(const std::vector<int32_t>& colours) {
        VARIANT array;
        VariantInit(&array);
        array.vt = VT_ARRAY | VT_I4;
        array.parray = SafeArrayCreateVector(VT_I4, 0, static_cast<uint32_t>(colours.size()));
        std::copy(colours.begin(), colours.end(), static_cast<int32_t*>(array.parray->pvData));
        VARIANT result = call("ColorPaletteSet", {array});
        return result.lVal;
    }
    // ColorPaletteGet through the host's references: its status, the count
    // and the colours handed back (none when the array was left alone).
    int32_t get(int32_t& count, std::vector<int32_t>& colours) {
        SAFEARRAY* array = nullptr;
        VARIANT arrayRef, countRef;
        VariantInit(&arrayRef);
        arrayRef.vt = VT_BYREF | VT_ARRAY | VT_I4;
        arrayRef.pparray = &array;
        VariantInit(&countRef);
        countRef.vt = VT_BYREF | VT_I4;
        countRef.plVal = &count;
        VARIANT result = call("ColorPaletteGet", {arrayRef, countRef});
        colours.clear();
        if (array) {
            const auto* data = static_cast<const int32_t*>(array->pvData);
            colours.assign(data, data + array->rgsabound[0].cElements);
            SafeArrayDestroy(array);
        }
        return result.lVal;
    }
    ~PaletteTable() override {
        control().setCurrentImage(0);
        if (current_) ReleaseImage(current_);
    }

private:
    int32_t current_ = 0;
};

// Palettes of one entry and of several, one of them translucent.
const std::vector<int32_t> kOneColour = {static_cast<int32_t>(0xFF102030u)};
const std::vector<int32_t> kThreeColours = {static_cast<int32_t>(0xFF010203u), static_cast<int32_t>(0x80F0E0D0u),
                                            static_cast<int32_t>(0xFF090807u)};

const PaletteRow kPaletteRows[] = {
    // Each indexed format has its full palette; a page of 24 bits has none.
    {"ColorPaletteGetColorsCount",
     [](PaletteTable& t) {
         for (const auto [format, count] : {std::pair{gdiplus::PixelFormat1bppIndexed, 2},
                                            std::pair{gdiplus::PixelFormat4bppIndexed, 16},
                                            std::pair{gdiplus::PixelFormat8bppIndexed, 256},
                                            std::pair{gdiplus::PixelFormat24bppRGB, 0}}) {
             t.page(format);
             EXPECT_EQ(t.call("ColorPaletteGetColorsCount").lVal, count) << format;
         }
     }},
    // The page's palette becomes the colours given, flagged by their alpha.
    {"ColorPaletteSet",
     [](PaletteTable& t) {
         for (const auto& [colours, flags] : {std::pair{kOneColour, gdiplus::PaletteFlagsHalftone},
                                              std::pair{kThreeColours, gdiplus::PaletteFlagsHasAlpha}}) {
             const int32_t page = t.page(gdiplus::PixelFormat8bppIndexed);
             EXPECT_EQ(t.set(colours), 0);
             gdiplus::ColorPalette palette;
             ASSERT_EQ(GetImagePalette(page, palette), OK);
             ASSERT_EQ(palette.Count, colours.size());
             for (size_t i = 0; i < colours.size(); ++i)
                 EXPECT_EQ(palette.Entries[i], static_cast<uint32_t>(colours[i])) << i;
             EXPECT_EQ(palette.Flags, static_cast<uint32_t>(flags));
             EXPECT_EQ(t.call("ColorPaletteGetColorsCount").lVal, static_cast<int32_t>(colours.size()));
         }
     }},
    // What was set comes back in order; a page that is not indexed answers
    // NotIndexedPixelFormat with a count of 0 and no array.
    {"ColorPaletteGet",
     [](PaletteTable& t) {
         for (const auto& colours : {kOneColour, kThreeColours}) {
             t.page(gdiplus::PixelFormat4bppIndexed);
             ASSERT_EQ(t.set(colours), 0);
             int32_t count = -1;
             std::vector<int32_t> read;
             EXPECT_EQ(t.get(count, read), 0);
             EXPECT_EQ(count, static_cast<int32_t>(colours.size()));
             EXPECT_EQ(read, colours);
         }
         t.page(gdiplus::PixelFormat24bppRGB);
         int32_t count = 9;
         std::vector<int32_t> read;
         EXPECT_EQ(t.get(count, read), NotIndexedPixelFormat);
         EXPECT_EQ(count, 0);
         EXPECT_TRUE(read.empty());
     }},
};
const bool kPaletteRowsRegistered = RegisterMemberTable("_Twain", kPaletteRows);

TEST_F(PaletteTable, ThePaletteOfAnIndexedPageRoundTrips) {
    ASSERT_TRUE(kPaletteRowsRegistered);
    for (const PaletteRow& row : kPaletteRows) {
        SCOPED_TRACE(row.member);
        row.run(*this);
    }
}

}  // namespace
}  // namespace scanvelt::testing
