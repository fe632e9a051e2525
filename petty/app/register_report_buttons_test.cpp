// The register's export and print buttons run the reports' procedures.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "petty/register/frm_pettycash.h"
#include "petty/reports/rep_voucherprint.h"
#include "petty/shell/book_window_test_support.h"
#include "platform/vb/date_time.h"

namespace petty {
namespace {

class RegisterReportButtonsTest : public testing::BookWindowTest {
protected:
    RegisterReportButtonsTest() {
        const char* insert =
            "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Credit], [Matchrequired], [Matched],"
            " [Closed], [TermID]) VALUES (?, ?, ?, ?, 10, 'No', 'No', 'No', 2605171400)";
        const jet::Value day(*vb::DateTime::fromParts(2026, 5, 17));
        book().execute(insert, {day, "09:00:00", "Asha", "Cash transfer to PC"});
        book().execute(insert, {day, "10:00:00", "Bina", "Reimbursed from pettycash"});
        appState().registerSaved = true;
    }
};

TEST_F(RegisterReportButtonsTest, ExcelAsksForTheExportAndBothPrintButtonsOpenTheVoucherPrint) {
    frmpettycash window;
    window.show();
    ASSERT_FALSE(window.Textpcash[8].text().empty());
    const std::string current = window.Textpcash[8].text();

    ui.expectMessage("Do you want to export data belonging to a pettycash period in excel csv format ?",
                     forms::MsgResult::No);
    ASSERT_TRUE(forms::user::click(window.cmdCSV));

    const auto showsCurrent = [&current](repVoucherprint& print) {
        EXPECT_EQ(print.Text1[0].text(), current);
        EXPECT_EQ(print.Frame1.caption(), "Bina");
        forms::user::click(print.cmdclose);
    };
    host.expectModal<repVoucherprint>("repVoucherprint", showsCurrent);
    ASSERT_TRUE(forms::user::click(window.Printvoucher[1]));
    window.SSTab2.setTab(1);
    host.expectModal<repVoucherprint>("repVoucherprint", showsCurrent);
    ASSERT_TRUE(forms::user::click(window.Printvoucher[0]));

    EXPECT_EQ(host.modalsShown(), (std::vector<std::string>{"repVoucherprint", "repVoucherprint"}));
    window.datPrimaryRS.releaseRecordset();
    window.unload();
}

}  // namespace
}  // namespace petty
