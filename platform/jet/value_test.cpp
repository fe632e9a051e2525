#include "platform/jet/value.h"

#include <gtest/gtest.h>

#include "platform/jet/error.h"
#include "platform/jet/field_type.h"
#include "platform/jet/test_support.h"
#include "platform/vb/locale.h"
#include "platform/vb/test_support.h"

namespace jet {
namespace {

using testing::errorNumber;

using vb::testing::cur;
vb::DateTime date(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    return *vb::DateTime::fromParts(y, m, d, hh, mm, ss);
}

class ValueTest : public ::testing::Test {
protected:
    void SetUp() override { vb::setCurrentLocale(vb::Locale{}); }  // day/month/year, "/", "."
    void TearDown() override { vb::setCurrentLocale(vb::Locale{}); }
};

TEST_F(ValueTest, TextOfEachType) {
    const std::pair<Value, std::string> cases[] = {
        {Value(), ""},
        {Value(true), "True"},
        {Value(false), "False"},
        {Value(int64_t{2201010000}), "2201010000"},
        {Value(0.1), "0.1"},
        {Value(cur("12.5")), "12.5"},
        {Value(cur("-0.0001")), "-0.0001"},
        {Value(cur("100")), "100"},
        {Value(date(2026, 12, 10)), "10/12/2026"},
        {Value(date(2026, 12, 10, 9, 5, 0)), "10/12/2026 09:05:00"},
        {Value("it's"), "it's"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(value.asText(), text);
}

TEST_F(ValueTest, CurrencyTextUsesTheLocaleDecimalSeparator) {
    vb::Locale comma;
    comma.decimalSeparator = ',';
    vb::setCurrentLocale(comma);
    EXPECT_EQ(Value(cur("1234.5")).asText(), "1234,5");
    EXPECT_EQ(Value("12,5").asCurrency(), cur("12.5"));
}

TEST_F(ValueTest, SumsOfDoublesTallyAsCurrency) {
    EXPECT_EQ(Value(0.1 + 0.2).asCurrency(), cur("0.3"));
    EXPECT_EQ(Value(1234.56789).asCurrency(), cur("1234.5679"));
}

TEST_F(ValueTest, NumberTextsIgnoreTheCLibraryLocale) {
    const locale_t comma = vb::testing::commaNumericLocale();
    if (!comma) GTEST_SKIP() << "localedef could not make a German locale";
    vb::testing::ScopedThreadLocale scope(comma);
    EXPECT_EQ(Value(0.1 + 0.2).asCurrency(), cur("0.3"));  // a sum as the book hands it over
    EXPECT_EQ(Value("12.5").asDouble(), 12.5);
    EXPECT_EQ(Value(" +2.5 ").asLong(), 2);
    EXPECT_EQ(Value(0.25).asText(), "0.25");
    EXPECT_EQ(Value(1e20).asText(), "1E+20");
}

TEST_F(ValueTest, WholeNumbersRoundHalfToEvenAndTrueIsMinusOne) {
    EXPECT_EQ(Value(2.5).asLong(), 2);
    EXPECT_EQ(Value(3.5).asLong(), 4);
    EXPECT_EQ(Value(cur("-2.5")).asLong(), -2);
    EXPECT_EQ(Value(cur("2.5001")).asLong(), 3);
    EXPECT_EQ(Value(true).asLong(), -1);
    EXPECT_EQ(Value(" 2201010000 ").asLong(), 2201010000);
}

TEST_F(ValueTest, DatesFromShortDateAndIsoTexts) {
    EXPECT_EQ(Value("05/03/2014").asDate(), date(2014, 3, 5));
    EXPECT_EQ(Value("2014-03-05 10:00:00").asDate(), date(2014, 3, 5, 10));
    EXPECT_EQ(Value("05/03/2014 10:00:00").asDate(), date(2014, 3, 5, 10));
}

TEST_F(ValueTest, ConversionErrorsCarryTheRuntimeNumbers) {
    EXPECT_EQ(errorNumber([] { Value().asCurrency(); }), 94);
    EXPECT_EQ(errorNumber([] { Value().asLong(); }), 94);
    EXPECT_EQ(errorNumber([] { Value("abc").asCurrency(); }), 13);
    EXPECT_EQ(errorNumber([] { Value("12a").asLong(); }), 13);
    EXPECT_EQ(errorNumber([] { Value("31/04/2026").asDate(); }), 13);
    EXPECT_EQ(errorNumber([] { Value(1e300).asCurrency(); }), 6);
    EXPECT_EQ(errorNumber([] { Value("maybe").asBool(); }), 13);
}

TEST_F(ValueTest, DeclaredTypeNames) {
    const std::pair<const char*, std::optional<FieldType>> cases[] = {
        {"TEXT(50)", FieldType::Text},   {"text", FieldType::Text},          {"LONG", FieldType::Long},
        {"INTEGER", FieldType::Long},    {"counter", FieldType::Long},       {"CURRENCY", FieldType::Currency},
        {"DATETIME", FieldType::DateTime}, {"YESNO", FieldType::Boolean},   {"DOUBLE", FieldType::Double},
        {"", std::nullopt},              {"BLOB", std::nullopt},
    };
    for (const auto& [name, type] : cases) EXPECT_EQ(fieldTypeFromDeclared(name), type) << name;
}

TEST_F(ValueTest, ValuesAssignedToFieldsTakeTheFieldsType) {
    const std::tuple<Value, FieldType, Value> cases[] = {
        {Value(""), FieldType::Currency, Value()},
        {Value("  "), FieldType::Long, Value()},
        {Value(""), FieldType::Text, Value("")},
        {Value("12.50"), FieldType::Currency, Value(cur("12.5"))},
        {Value(0.1), FieldType::Currency, Value(cur("0.1"))},
        {Value("0"), FieldType::Long, Value(int64_t{0})},
        {Value("10/12/2026"), FieldType::DateTime, Value(date(2026, 12, 10))},
        {Value("10/12/2026 17:30:05"), FieldType::DateTime, Value(date(2026, 12, 10, 17, 30, 5))},
        {Value(true), FieldType::Text, Value("True")},
        {Value(int64_t{1}), FieldType::Boolean, Value(true)},
        {Value(cur("150")), FieldType::Text, Value("150")},
        {Value(), FieldType::Long, Value()},
    };
    for (const auto& [in, type, out] : cases) EXPECT_EQ(convertForField(in, type), out) << in.asText();
}

TEST_F(ValueTest, ValuesWithoutAReadingInTheFieldsTypeAreRefused) {
    EXPECT_EQ(errorNumber([] { convertForField(Value("abc"), FieldType::Long); }), 3421);
    EXPECT_EQ(errorNumber([] { convertForField(Value("12/13/2026"), FieldType::DateTime); }), 3421);
    EXPECT_EQ(errorNumber([] { convertForField(Value(date(2026, 1, 1)), FieldType::Currency); }), 3421);
}

}  // namespace
}  // namespace jet
