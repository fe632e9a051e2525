#include "petty/reports/frm_empbalance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/reports/book_rows_test_support.h"
#include "platform/forms/test_support.h"

namespace petty {
namespace {

class PendingSettlementsTest : public testing::ViewWindowTest<frmEmpbalance> {
protected:
    int64_t advance(const char* employee, const char* amount, const char* matched = "No", const char* closed = "No") {
        testing::Row row;
        row.employee = employee;
        row.transType = "Advance Issued from PC";
        row.credit = testing::money(amount);
        row.matchRequired = "Yes";
        row.matched = matched;
        row.closed = closed;
        row.narration = std::string("advance to ") + employee;
        return insert(row);
    }
    int64_t entry(int64_t against, const char* type, jet::Value debit, jet::Value credit, jet::Value spent,
                  const char* closed = "No") {
        testing::Row row;
        row.transType = type;
        row.head = "Travel";
        row.debit = debit;
        row.credit = credit;
        row.expenseFromAdvance = spent;
        row.matchWith = against;
        row.closed = closed;
        return insert(row);
    }
    int64_t spent(int64_t against, const char* amount, const char* closed = "No") {
        return entry(against, "Spent from Advance issued", nullptr, nullptr, testing::money(amount), closed);
    }
};

TEST_F(PendingSettlementsTest, ListsTheOpenUnsettledAdvancesByEmployeeWithWhatRemains) {
    const int64_t bina = advance("Bina", "1000");
    spent(bina, "700");
    spent(bina, "250", "Yes");  // an entry of a closed period counts for nothing
    const int64_t asha = advance("Asha", "1000");
    spent(asha, "1200");
    entry(asha, "Cash given for settlement", nullptr, testing::money("200"), nullptr);
    const int64_t chen = advance("Chen", "500");
    spent(chen, "700.5");
    const int64_t dsouza = advance("D'Souza", "300");
    advance("Eli", "50", "Yes");         // settled
    advance("Farah", "80", "No", "Yes"); // of a closed period

    window.show();
    EXPECT_EQ(window.caption(), "Pending settlements");
    EXPECT_TRUE(forms::testing::controlsCutOff(window).empty());
    EXPECT_EQ(headings(window.DBGrid1), (std::vector<std::string>{"Employee", "VoucherID", "Date", "Time",
                                                                  "Transaction  type", "Advance", "Settled",
                                                                  "Narration"}));
    EXPECT_EQ(headings(window.DBGrid2), (std::vector<std::string>{"Employee", "Date", "Type", "Head", "Cash Out",
                                                                  "Cash In", "SFA", "VoucherNo", "match with"}));
    EXPECT_EQ(window.DBGrid2.caption(), "Pettycash entries made for settlement against the advance");
    EXPECT_EQ(column(window.DBGrid1, 0), (std::vector<std::string>{"Asha", "Bina", "Chen", "D'Souza"}));
    EXPECT_EQ(column(window.DBGrid1, 1), (std::vector<std::string>{std::to_string(asha), std::to_string(bina),
                                                                   std::to_string(chen), std::to_string(dsouza)}));
    EXPECT_EQ(window.Label1.caption(), "Pettycash entries made against advance voucher");

    struct Case {
        int row;
        std::string balance;
        std::vector<std::string> entryTypes;
    };
    const auto number = [](int64_t voucher) { return std::to_string(voucher); };
    const Case cases[] = {
        {0, "Unsettled amount for voucher: " + number(asha) + " is  0",
         {"Spent from Advance issued", "Cash given for settlement"}},
        {1, "Unsettled amount for voucher: " + number(bina) + " is  300 (300 to be collected from Bina)",
         {"Spent from Advance issued"}},
        {2, "Unsettled amount for voucher: " + number(chen) + " is  -200.5 (200.5 to be returned to Chen)",
         {"Spent from Advance issued"}},
        {3, "Unsettled amount for voucher: " + number(dsouza) + " is  300 (300 to be collected from D'Souza)", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        if (c.row != 0) {
            ASSERT_TRUE(forms::user::selectGridRow(window.DBGrid1, c.row));
        }
        EXPECT_EQ(window.DBGrid1.caption(),
                  "Advance voucher: " + std::to_string(c.row + 1) + "  of  4 records");
        EXPECT_TRUE(window.Label2.visible());
        EXPECT_EQ(window.Label2.caption(), c.balance);
        EXPECT_EQ(column(window.DBGrid2, 2), c.entryTypes);
    }
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(PendingSettlementsTest, NoPendingAdvanceHidesTheBalanceAndShowsTheUnmatchedOpenRows) {
    advance("Eli", "50", "Yes");
    testing::Row unmatched;
    unmatched.transType = "Reimbursed from pettycash";
    unmatched.matchWith = 0;
    insert(unmatched);
    unmatched.closed = "Yes";
    insert(unmatched);

    window.show();
    EXPECT_EQ(window.DBGrid1.rowCount(), 0);
    EXPECT_EQ(window.DBGrid1.caption(), "Advance voucher: 0  of  0 records");
    EXPECT_EQ(window.Label1.caption(), "Pettycash entries made against advance voucher");
    EXPECT_FALSE(window.Label2.visible());
    EXPECT_EQ(column(window.DBGrid2, 2), (std::vector<std::string>{"Reimbursed from pettycash"}));
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(PendingSettlementsTest, ADoubleClickOnTheListClosesTheWindow) {
    advance("Bina", "1000");
    advance("Asha", "400");
    window.show();
    ASSERT_TRUE(forms::user::doubleClickGridRow(window.DBGrid1, 1));
    EXPECT_FALSE(window.isLoaded());
    for (const forms::DataControl* data : {&window.datPrimaryRS, &window.Datacommon, &window.Datasettlements})
        EXPECT_FALSE(data->hasRecordset()) << data->name();
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(PendingSettlementsTest, CancelClosesTheWindow) {
    window.show();
    ASSERT_TRUE(forms::user::click(window.cmdclose));
    EXPECT_FALSE(window.isLoaded());
}

}  // namespace
}  // namespace petty
