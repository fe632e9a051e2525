#include "petty/register/search_text.h"

#include <gtest/gtest.h>

namespace petty {
namespace {

TEST(SearchText, TypedValuesAreBoundNeverWrittenIntoTheText) {
    struct Case {
        SearchSettings settings;
        std::string bound;  // the text of the one value bound
    };
    const Case cases[] = {
        {{false, "O'Brien", "All", "", ""}, "O'Brien"},
        {{true, "", "All", "Narration", "' or ''='"}, "*' or ''='*"},
        {{true, "", "All", "Bill No", "B'1"}, "B'1"},
        {{true, "", "All", "Voucher No", "12"}, "12"},
    };
    for (const Case& c : cases) {
        const SearchText search = searchText(c.settings, 2405151430);
        ASSERT_TRUE(search.refusal.empty()) << c.bound;
        ASSERT_EQ(search.parameters.size(), 1u) << c.bound;
        EXPECT_EQ(search.parameters[0].asText(), c.bound);
        EXPECT_EQ(search.sql.find('\''), std::string::npos) << search.sql;
    }
}

}  // namespace
}  // namespace petty
