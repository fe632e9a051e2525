#include "petty/register/voucher_time.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/vb/locale.h"

namespace petty {
namespace {

class VoucherTimeTest : public ::testing::Test {
protected:
    VoucherTimeTest() { vb::setCurrentLocale(vb::Locale{}); }  // day/month/year with "/"
    ~VoucherTimeTest() override { vb::setCurrentLocale(saved); }
    const vb::Locale saved = vb::currentLocale();
};

TEST_F(VoucherTimeTest, EveryTimeTheBoxAcceptsIsStoredWithTwoDigitHoursMinutesAndSeconds) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"9:05", "09:05:00"},
        {"09:05", "09:05:00"},
        {"10:30:00", "10:30:00"},
        {" 7:5:9 ", "07:05:09"},
        {"0:00", "00:00:00"},
        {"23:59:59", "23:59:59"},
        {"9:05 pm", "21:05:00"},
        {"12:15 AM", "00:15:00"},
        {"14/03/2026 8:45", "08:45:00"},
        {"14/03/2026", "00:00:00"},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"24:00", std::nullopt},
        {"9:60", std::nullopt},
        {"9.05", std::nullopt},
        {"nine", std::nullopt},
        {"9:05 tomorrow", std::nullopt},
    };
    for (const auto& [typed, stored] : cases) {
        SCOPED_TRACE("'" + typed + "'");
        EXPECT_EQ(voucherTimeText(typed), stored);
    }
}

TEST_F(VoucherTimeTest, StoredTimesSortAsTimesOfDay) {
    EXPECT_LT(*voucherTimeText("9:05"), *voucherTimeText("10:00:00"));
    EXPECT_LT(*voucherTimeText("9:05 am"), *voucherTimeText("1:00 pm"));
}

}  // namespace
}  // namespace petty
