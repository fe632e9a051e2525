#include "petty/reports/csv_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "petty/reports/book_rows_test_support.h"

namespace petty {
namespace {

struct FieldCase {
    std::string text;
    std::string written;
};

TEST(CsvField, QuotesOnlyWhatWouldBreakTheLine) {
    const FieldCase cases[] = {
        {"", ""},
        {"taxi to airport", "taxi to airport"},
        {" padded ", " padded "},
        {"tea, snacks", "\"tea, snacks\""},
        {"the \"big\" order", "\"the \"\"big\"\" order\""},
        {"\"", "\"\"\"\""},
        {"line one\r\nline two", "\"line one\r\nline two\""},
        {"cr\ronly", "\"cr\ronly\""},
        {"lf\nonly", "\"lf\nonly\""},
    };
    for (const FieldCase& c : cases) EXPECT_EQ(csvField(c.text), c.written) << c.text;
}

TEST(CsvHeader, SixteenColumnsWithoutAdvancesNineteenWith) {
    EXPECT_EQ(csvHeaderLine(false),
              "Sl No,VoucherNo,Date,Time,Employee,Transaction type,Expense head,Cash In,Cash out,Run. Balance ,"
              "Narration,Entered by,Bill No,project,closed,Period ID");
    EXPECT_EQ(csvHeaderLine(true),
              "Sl No,VoucherNo,Date,Time,Employee,Transaction type,Expense head,Cash In,Cash out,Run. Balance,"
              "Expense from Advance ,Narration,Settle with,Settled,Entered by,Bill No,project,closed,Period ID");
    const std::string without = csvHeaderLine(false);
    const std::string with = csvHeaderLine(true);
    EXPECT_EQ(std::count(without.begin(), without.end(), ','), 15);
    EXPECT_EQ(std::count(with.begin(), with.end(), ','), 18);
}

class CsvDataLineTest : public ::testing::Test {
protected:
    std::string line(int64_t serial, bool advances) {
        return csvDataLine(serial, [this](std::string_view column) {
            const auto it = values.find(std::string(column));
            return it == values.end() ? jet::Value() : it->second;
        }, advances);
    }
    testing::ScopedLocale dayMonthYear{vb::Locale{}};
    std::map<std::string, jet::Value> values;
};

TEST_F(CsvDataLineTest, AMissingVoucherNumberIsAQuestionMarkAndOtherMissingValuesAreEmpty) {
    values = {{"Date", *vb::DateTime::fromIso("2015-05-17")}, {"TransType", "Carryover"},
              {"Debit", testing::money("250")}, {"TermID", int64_t{1505171400}}};
    EXPECT_EQ(line(3, false), "3,?,17/05/2015,,,Carryover,,250,,,,,,,,1505171400");
    EXPECT_EQ(line(3, true), "3,?,17/05/2015,,,Carryover,,250,,,,,,,,,,,1505171400");
}

TEST_F(CsvDataLineTest, AmountsKeepADecimalPointUnderACommaDecimalLocale) {
    testing::ScopedLocale germanStyle({vb::Locale::DateOrder::DayMonthYear, '.', ','});
    values = {{"VoucherID", int64_t{42}},
              {"Date", *vb::DateTime::fromIso("2015-05-17 14:05:09")},
              {"Debit", testing::money("12.5")},
              {"Credit", testing::money("-40.25")},
              {"runningbalance", testing::money("1500")},
              {"expensefromadvance", testing::money("0.0001")},
              {"Matchwith", int64_t{7}},
              {"Narration", "fuel, toll"}};
    EXPECT_EQ(line(32768, true), "32768,42,17.05.2015 14:05:09,,,,,12.5,-40.25,1500,0.0001,\"fuel, toll\",7,,,,,,");
}

}  // namespace
}  // namespace petty
