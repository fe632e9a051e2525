#include "petty/register/period_words.h"

#include <gtest/gtest.h>

namespace petty {
namespace {

TEST(PeriodIdInWords, TheMomentThePeriodOpened) {
    struct Case {
        const char* id;
        const char* words;
    };
    const Case cases[] = {
        {"1505171430", "2015-May-17 14:30"},
        {"2601010000", "2026-January-01 00:00"},
        {"2412312359", "2024-December-31 23:59"},
        {"2402290905", "2024-February-29 09:05"},
        {"912311200", "2009-December-31 12:00"},  // nine digits: the year's leading zero comes back
        {"903050807", "2009-March-05 08:07"},
        {"2413011200", "2024-13-01 12:00"},       // no such month: its digits as they stand
        {"2400011200", "2024-00-01 12:00"},
        {"", "20-- :"},                           // a row without a period ID
        {"0", "200-- :"},
    };
    for (const Case& c : cases) EXPECT_EQ(periodIdInWords(c.id), c.words) << c.id;
}

}  // namespace
}  // namespace petty
