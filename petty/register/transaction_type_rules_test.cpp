#include "petty/register/transaction_type_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace petty {
namespace {

struct FlagCase {
    std::string type;
    std::string current;
    bool clearFields;
    std::optional<std::string> matchRequired;  // nullopt: stays
    std::optional<std::string> matched;        // given the same current text
};

TEST(TransactionTypeRulesTest, SettlementFlagsEachTypeSets) {
    const std::vector<FlagCase> cases = {
        // Cash transfers and cash received set the flag even on display.
        {"Cash transfer to PC", "Yes", false, "No", std::nullopt},
        {"Cash transfer to PC", "Yes", true, "No", ""},
        {"Cash transfer to PC", "No", true, std::nullopt, ""},
        {"Cash transfer to PC", "", true, "No", std::nullopt},
        {"Cash received for settlement", "No", false, "Yes", std::nullopt},
        {"Cash received for settlement", "Yes", false, std::nullopt, std::nullopt},
        {"Cash received for settlement", "", true, "Yes", "No"},
        {"Cash given for settlement", "No", false, std::nullopt, std::nullopt},
        {"Cash given for settlement", "No", true, "Yes", std::nullopt},
        {"Cash given for settlement", "", true, "Yes", "No"},
        {"Advance Issued from PC", "no", true, "Yes", std::nullopt},
        {"Advance Issued from PC", "", true, "Yes", "No"},
        // Spent from advance: only "No" or an empty flag turns into "Yes".
        {"Spent from Advance issued", "No", true, "Yes", std::nullopt},
        {"Spent from Advance issued", "", true, "Yes", "No"},
        {"Spent from Advance issued", "YES", true, std::nullopt, std::nullopt},
        {"Spent from Advance issued", "No", false, std::nullopt, std::nullopt},
        {"Reimbursed from pettycash", "Yes", true, "No", ""},
        {"Reimbursed from pettycash", "Yes", false, std::nullopt, std::nullopt},
        {"Carryover", "Yes", true, "No", ""},
        {"Carryover", "Yes", false, std::nullopt, std::nullopt},
        {"Pettycash in hand - tally count", "", true, "No", std::nullopt},
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.type + " / '" + c.current + "' / clear " + std::to_string(c.clearFields));
        const TransactionTypeRule* rule = transactionTypeRule(c.type);
        ASSERT_NE(rule, nullptr);
        const auto required = matchRequiredAfter(*rule, c.current, c.clearFields);
        EXPECT_EQ(required ? std::optional<std::string>(*required) : std::nullopt, c.matchRequired);
        const auto matched = matchedAfter(*rule, c.current, c.clearFields);
        EXPECT_EQ(matched ? std::optional<std::string>(*matched) : std::nullopt, c.matched);
    }
}

TEST(TransactionTypeRulesTest, OnlyTheExactTypeNameHasARule) {
    for (const char* other : {"", "Previous balance CF", "cash transfer to PC", " Cash transfer to PC",
                              "Cash transfer to PC ", "Carry over"})
        EXPECT_EQ(transactionTypeRule(other), nullptr) << other;
}

TEST(TransactionTypeRulesTest, TheReimbursementTipIsShortWithoutAdvances) {
    EXPECT_EQ(transactionTypeToolTip("Reimbursed from pettycash", true),
              "Full amount spent by employee is re-imbursed to him/her from petty-cash.");
    EXPECT_EQ(transactionTypeToolTip("Reimbursed from pettycash", false),
              "Full amount spent by employee is re-imbursed to him/her from petty-cash. No advance was taken at all "
              "by him/her");
    EXPECT_EQ(transactionTypeToolTip("Carryover", false), "");
}

}  // namespace
}  // namespace petty
