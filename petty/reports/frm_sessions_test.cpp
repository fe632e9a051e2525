#include "petty/reports/frm_sessions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/reports/book_rows_test_support.h"
#include "platform/forms/test_support.h"

namespace petty {
namespace {

class PeriodsWindowTest : public testing::ViewWindowTest<frmSessions> {
protected:
    void addRow(int64_t period, const char* isoDate, const char* closed) {
        testing::Row row;
        row.termId = period;
        row.date = *vb::DateTime::fromIso(isoDate);
        row.closed = closed;
        insert(row);
    }
    // A book in use: periods written out of order, one of 2005 (a nine-digit
    // ID), one half closed, one closed in lower case, one with month 13.
    void addThePeriods() {
        addRow(2605171400, "2026-05-19", "No");
        addRow(2605171400, "2026-05-17", "No");
        addRow(505171400, "2005-05-17", "yes");
        addRow(2605171400, "2026-05-18", "No");
        addRow(2212311530, "2023-01-02", "Yes");
        addRow(2212311530, "2022-12-31", "No");
        addRow(2613011200, "2026-06-01", "no");
    }
    std::string details(const std::string& creation, const std::string& status, const std::string& totals) {
        return creation + "\r\n\r\n" + status + "\r\n\r\n" + totals;
    }
};

TEST_F(PeriodsWindowTest, ListsThePeriodsInIdOrderWithTheLatestCurrent) {
    addThePeriods();
    window.show();
    EXPECT_EQ(window.caption(), "Pettycash periods");
    EXPECT_TRUE(forms::testing::controlsCutOff(window).empty());
    EXPECT_EQ(headings(window.DBGrid1), (std::vector<std::string>{"Period ID", "Closed"}));
    EXPECT_EQ(column(window.DBGrid1, 0),
              (std::vector<std::string>{"505171400", "2212311530", "2212311530", "2605171400", "2613011200"}));
    EXPECT_EQ(window.DBGrid1.row(), 4);
    EXPECT_EQ(window.DBGrid1.caption(), "5 Pettycash periods");
    EXPECT_EQ(window.Label2.caption(), "2613011200");
    EXPECT_EQ(window.Text1.text(), details("Pettycash period 2613011200 was created on 2026 - 13 - 01 at 12 : 00",
                                           "Period Status : Open",
                                           "Total number of records in this period : 1\r\n\r\n"
                                           "First transaction on : 01/06/2026"));
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(PeriodsWindowTest, TheDetailsFollowTheCurrentRow) {
    addThePeriods();
    window.show();
    struct Case {
        int row;
        std::string caption;
        std::string text;
    };
    const Case cases[] = {
        {0, "Record 1  of  5 records",
         details("Pettycash period 0505171400 was created on 2005 - May - 17 at 14 : 00", "Period Status : Closed",
                 "Total number of records in this period : 1\r\n\r\nFirst transaction on : 17/05/2005")},
        // A period with rows of both states is listed twice with the same count and dates.
        {1, "Record 2  of  5 records",
         details("Pettycash period 2212311530 was created on 2022 - December - 31 at 15 : 30", "Period Status : Open",
                 "Total number of records in this period : 2\r\n\r\nFirst transaction on : 31/12/2022\r\n\r\n"
                 "Last transaction on : 02/01/2023")},
        {2, "Record 3  of  5 records",
         details("Pettycash period 2212311530 was created on 2022 - December - 31 at 15 : 30",
                 "Period Status : Closed",
                 "Total number of records in this period : 2\r\n\r\nFirst transaction on : 31/12/2022\r\n\r\n"
                 "Last transaction on : 02/01/2023")},
        {3, "Record 4  of  5 records",
         details("Pettycash period 2605171400 was created on 2026 - May - 17 at 14 : 00", "Period Status : Open",
                 "Total number of records in this period : 3\r\n\r\nFirst transaction on : 17/05/2026\r\n\r\n"
                 "Last transaction on : 19/05/2026")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ASSERT_TRUE(forms::user::selectGridRow(window.DBGrid1, c.row));
        EXPECT_EQ(window.DBGrid1.caption(), c.caption);
        EXPECT_EQ(window.Text1.text(), c.text);
    }
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(PeriodsWindowTest, AnEmptyBookSaysSo) {
    window.show();
    EXPECT_EQ(window.Label2.caption(), "No records");
    EXPECT_EQ(window.Text1.text(), "No pettycash periods found!");
    EXPECT_EQ(window.DBGrid1.caption(), "0 Pettycash periods");
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(PeriodsWindowTest, QueryReloadsDoubleClickDoesNothingCloseCloses) {
    addRow(2605171400, "2026-05-17", "No");
    window.show();
    EXPECT_EQ(window.DBGrid1.caption(), "1 Pettycash periods");
    forms::user::setFocus(window.Text1);
    EXPECT_TRUE(window.srch.isDefault());  // Enter in the details reloads the list

    addRow(2606011000, "2026-06-01", "No");
    ASSERT_TRUE(forms::user::click(window.srch));
    EXPECT_EQ(column(window.DBGrid1, 0), (std::vector<std::string>{"2605171400", "2606011000"}));
    EXPECT_EQ(window.Label2.caption(), "2606011000");

    ASSERT_TRUE(forms::user::doubleClickGridRow(window.DBGrid1, 0));
    EXPECT_TRUE(window.isLoaded());
    EXPECT_EQ(window.Label2.caption(), "2605171400");

    ASSERT_TRUE(forms::user::click(window.cmdclose));
    EXPECT_FALSE(window.isLoaded());
    EXPECT_FALSE(window.datPrimaryRS.hasRecordset());
    EXPECT_FALSE(window.Datacommon.hasRecordset());
    EXPECT_TRUE(ui.journal().empty());
}

}  // namespace
}  // namespace petty
