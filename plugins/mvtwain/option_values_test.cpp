#include "plugins/mvtwain/option_values.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mvtwain {
namespace {

OptionInfo range(double minimum, double maximum, double quantum, OptionUnit unit = OptionUnit::None,
                 OptionType type = OptionType::Int) {
    OptionInfo o;
    o.type = type;
    o.unit = unit;
    o.constraint = ConstraintKind::Range;
    o.minimum = minimum;
    o.maximum = maximum;
    o.quantum = quantum;
    return o;
}

OptionInfo words(std::vector<double> numbers) {
    OptionInfo o;
    o.constraint = ConstraintKind::WordList;
    o.numbers = std::move(numbers);
    return o;
}

TEST(OptionValues, AllowedNumbersOfEachConstraint) {
    EXPECT_EQ(AllowedNumbers(range(0, 10, 5)), (std::vector<double>{0, 5, 10}));
    EXPECT_EQ(AllowedNumbers(words({16, 1, 8, 8})), (std::vector<double>{1, 8, 16}));
    OptionInfo toggle;
    toggle.type = OptionType::Bool;
    EXPECT_EQ(AllowedNumbers(toggle), (std::vector<double>{0, 1}));
    // A wide resolution range lists the usual resolutions within it, with its ends.
    EXPECT_EQ(AllowedNumbers(range(1, 1200, 1, OptionUnit::Dpi)),
              (std::vector<double>{1, 50, 75, 100, 150, 200, 240, 300, 400, 600, 800, 1200}));
    // Any other long range is thinned to the limit.
    auto thinned = AllowedNumbers(range(0, 100000, 1));
    EXPECT_LE(thinned.size(), kMaxListedValues);
    EXPECT_EQ(thinned.front(), 0);
    EXPECT_TRUE(AllowedNumbers(OptionInfo{}).empty());
}

TEST(OptionValues, MalformedConstraintsGiveNothing) {
    EXPECT_TRUE(AllowedNumbers(range(10, 0, 1)).empty());
    EXPECT_TRUE(AllowedNumbers(range(0, NAN, 1)).empty());
    EXPECT_EQ(AllowedNumbers(words({NAN, 3, INFINITY})), (std::vector<double>{3}));
    EXPECT_FALSE(NearestAllowed(range(0, INFINITY, 1), 3));
    EXPECT_FALSE(NearestAllowed(words({}), 3));
}

TEST(OptionValues, NearestAllowedSnapsWithinAndRefusesOutside) {
    struct Case {
        OptionInfo option;
        double wanted;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {range(0, 200, 1), 150, 150.0},
        {range(0, 200, 1), 149.6, 150.0},
        {range(0, 200, 1), 201, std::nullopt},
        {range(0, 200, 1), -1, std::nullopt},
        {range(50, 600, 50), 120, 100.0},
        {words({75, 150, 300}), 300, 300.0},
        {words({75, 150, 300}), 200, 150.0},
        {words({75, 150, 300}), 600, std::nullopt},
        {range(0, 200, 1), NAN, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(NearestAllowed(c.option, c.wanted), c.expected) << c.wanted;
}

TEST(OptionValues, ModesNamedAsPixelTypes) {
    EXPECT_EQ(PixelTypeOfMode("Lineart"), 0);
    EXPECT_EQ(PixelTypeOfMode("Binary"), 0);
    EXPECT_EQ(PixelTypeOfMode("Gray"), 1);
    EXPECT_EQ(PixelTypeOfMode("Grayscale"), 1);
    EXPECT_EQ(PixelTypeOfMode("Color"), 2);
    EXPECT_EQ(PixelTypeOfMode("24bit Color"), 2);
    EXPECT_EQ(PixelTypeOfMode("Infrared"), -1);
    EXPECT_EQ(ModeForPixelType({"Gray", "Color"}, 2), "Color");
    EXPECT_EQ(ModeForPixelType({"Gray", "Color"}, 0), "");
}

}  // namespace
}  // namespace mvtwain
