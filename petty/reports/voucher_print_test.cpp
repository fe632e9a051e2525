#include "petty/reports/voucher_print.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "petty/reports/rep_voucherprint.h"
#include "petty/reports/book_rows_test_support.h"
#include "platform/forms/test_support.h"
#include "platform/report/test_support.h"
#include "platform/vb/date_text.h"

namespace petty {
namespace {

constexpr const char* kNotNumbers = "Voucher numbers must be positive whole numbers!";

// The book holds the voucher report files shipped with the program.
class VoucherPrintTest : public testing::RegisterStandInTest {
protected:
    int64_t add(const char* employee, const char* time, const char* type = "Reimbursed from pettycash",
                const char* isoDate = "2015-05-17") {
        testing::Row row;
        row.employee = employee[0] ? jet::Value(employee) : jet::Value();
        row.time = time;
        row.transType = type;
        row.date = *vb::DateTime::fromIso(isoDate);
        row.credit = testing::money("10");
        return insert(row);
    }
    int64_t addSettling(const char* employee, const char* time, jet::Value matchWith, const char* type) {
        testing::Row row;
        row.employee = employee;
        row.time = time;
        row.transType = type;
        row.matchRequired = "Yes";
        row.matchWith = matchWith;
        return insert(row);
    }

    // The register's boxes as they show a saved voucher.
    VoucherOnScreen onScreen(int64_t voucher) {
        jet::Recordset row = book().openRecordset("select * from pettycash where VoucherID = ?", {voucher});
        return {vb::formatShortDate(row.field("Date").asDate()), row.field("Time").asText(),
                std::to_string(voucher), row.field("Matchwith").asText(), row.field("Matchrequired").asText(),
                row.field("TransType").asText(), row.field("Employee").asText()};
    }

    // Prints the voucher; in the print window the user does what `work` says, then closes it.
    void print(const VoucherOnScreen& voucher, std::function<void(repVoucherprint&)> work) {
        host.expectModal<repVoucherprint>("repVoucherprint", [this, work](repVoucherprint& window) {
            work(window);
            calls = window.CrystalReport1.callTexts();
            forms::user::click(window.cmdclose);
        });
        printVoucher(register_.datPrimaryRS, voucher, register_.Datacommon);
    }

    // The vouchers of the last document the report showed or printed.
    std::vector<int64_t> lastVouchers() const {
        const std::vector<report::Document>& documents = output.previews.empty() ? output.printed : output.previews;
        std::vector<int64_t> ids;
        if (documents.empty()) return ids;
        for (const auto& row : documents.back().table.rows) ids.push_back(row.front().asLong());
        return ids;
    }

    std::string fileName(const std::string& name) const { return appState().appFolder + name; }

    report::testing::RecordingOutput output;
    std::vector<std::string> calls;
};

TEST(MinuteBoundaries, CountsTheMinutesCutNotTheSeconds) {
    const auto at = [](const char* text) { return *vb::parseTimeText(text); };
    struct Case {
        const char* a;
        const char* b;
        int64_t boundaries;
    };
    const Case cases[] = {
        {"10:00:59", "10:07:00", 7}, {"10:00:59", "10:08:00", 8}, {"10:08:00", "10:00:59", 8},
        {"10:00:00", "10:00:59", 0}, {"23:59:59", "00:00:00", 1439},
    };
    for (const Case& c : cases) EXPECT_EQ(minuteBoundariesBetween(at(c.a), at(c.b)), c.boundaries) << c.a << " " << c.b;
}

TEST_F(VoucherPrintTest, AFundVoucherPrintsAloneWithoutAnEmployeeCondition) {
    add("Asha", "09:58:00");
    const int64_t fund = add("", "10:00:00", "Cash transfer to PC");
    add("Asha", "10:02:00");
    showRegister();
    print(onScreen(fund), [&](repVoucherprint& w) {
        EXPECT_EQ(w.caption(), "Petty-cash voucher");
        EXPECT_TRUE(forms::testing::controlsCutOff(w).empty());
        EXPECT_EQ(w.Frame1.caption(), "");
        EXPECT_EQ(w.Text1[0].text(), std::to_string(fund));
        EXPECT_EQ(w.Text1[1].text(), std::to_string(fund));
        EXPECT_EQ(w.Check1.value(), forms::vbUnchecked);
        EXPECT_FALSE(w.Check1.enabled());
        EXPECT_FALSE(w.Text1[2].enabled());
        EXPECT_EQ(w.Text1[2].backColor(), forms::vbButtonFace);
        ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
    });
    const std::string book = appState().businessDbPath;
    const std::string range = std::to_string(fund);
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "112()",
                         "32[0]:=\"" + book + "\"",
                         "3:=\"" + fileName("voucher1") + "\"",
                         "3?=\"" + fileName("voucher1") + "\"",
                         "3:=\"" + fileName("voucher1.RPT") + "\"",
                         "13:=\"{pettycash.voucherID}>= " + range + " and {pettycash.voucherID} <= " + range + "\"",
                         "3?=\"" + fileName("voucher1.RPT") + "\"",
                         "29[0]:=\"company= ''\"",
                         "120:=false", "115:=false", "124:=false", "117:=false",
                         "119:=true", "121:=true", "118:=false", "125:=true",
                         "8:=\"Petty-cash voucher\"",
                         "20:=\";pwd=wobrelt\"",
                         "109?=0",
                         "24:=0",
                         "17:=1",
                     }));
    EXPECT_EQ(lastVouchers(), (std::vector<int64_t>{fund}));
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(VoucherPrintTest, AnAdvancePrintsItsSettlementGroupOfItsEmployee) {
    const int64_t advance = addSettling("Asha", "09:00:00", nullptr, "Advance Issued from PC");
    add("Asha", "09:30:00");
    testing::Row spent;
    spent.transType = "Spent from Advance issued";
    spent.matchWith = advance;
    const int64_t settled = insert(spent);
    spent.employee = "Bina";  // matched with Asha's advance by mistake: not Asha's voucher
    insert(spent);
    const int64_t returned = addSettling("Asha", "11:00:00", advance, "Cash received for settlement");
    showRegister();

    for (const int64_t current : {advance, returned}) {
        SCOPED_TRACE(current);
        output.printed.clear();
        print(onScreen(current), [&](repVoucherprint& w) {
            EXPECT_EQ(w.Frame1.caption(), "Asha");
            EXPECT_EQ(w.Check1.value(), forms::vbChecked);
            EXPECT_FALSE(w.Check1.enabled());
            EXPECT_FALSE(w.Text1[0].enabled());
            EXPECT_FALSE(w.Text1[1].enabled());
            EXPECT_EQ(w.Text1[0].backColor(), forms::vbButtonFace);
            EXPECT_TRUE(w.Text1[2].enabled());
            EXPECT_EQ(w.Text1[2].text(), std::to_string(advance));
            ASSERT_TRUE(forms::user::click(w.cmdreport[1]));
        });
        const std::string n = std::to_string(advance);
        EXPECT_NE(std::find(calls.begin(), calls.end(), "3:=\"" + fileName("voucher2.RPT") + "\""), calls.end());
        EXPECT_NE(std::find(calls.begin(), calls.end(),
                            "13:=\"{pettycash.voucherID} =  " + n + " or {pettycash.matchwith}= " + n +
                                "  and {pettycash.EMPLOYEE}= 'Asha'\""),
                  calls.end());
        EXPECT_NE(std::find(calls.begin(), calls.end(), "24:=1"), calls.end());
        ASSERT_EQ(output.printed.size(), 1u);
        EXPECT_NE(output.printed[0].text().find("Employee: Asha"), std::string::npos) << "the settlement names its employee";
        EXPECT_EQ(lastVouchers(), (std::vector<int64_t>{advance, settled, returned}));
    }
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(VoucherPrintTest, ASettlingVoucherMatchedWithNoAdvancePrintsItself) {
    const int64_t voucher = addSettling("Asha", "09:00:00", 0, "Advance Issued from PC");
    showRegister();
    print(onScreen(voucher), [&](repVoucherprint& w) {
        EXPECT_EQ(w.Text1[2].text(), std::to_string(voucher));
        ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
    });
    EXPECT_EQ(lastVouchers(), (std::vector<int64_t>{voucher}));
}

TEST_F(VoucherPrintTest, VouchersOfOneEmployeeWithinSevenMinuteBoundariesPrintTogether) {
    const int64_t first = add("Asha", "10:00:59");
    const int64_t other = add("Bina", "10:03:00");
    const int64_t second = add("Asha", "10:07:00");
    const int64_t third = add("Asha", "10:08:00");
    add("Asha", "10:01:00", "Reimbursed from pettycash", "2015-05-18");  // another day
    ASSERT_TRUE(first < other && other < second);  // numbered inside Asha's range
    showRegister();

    struct Case {
        int64_t current;
        int64_t from;
        int64_t to;
    };
    // Measured from the current voucher, not chained from one voucher to the next.
    const Case cases[] = {{first, first, second}, {second, first, third}, {third, second, third}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        print(onScreen(c.current), [&](repVoucherprint& w) {
            EXPECT_EQ(w.Frame1.caption(), "Asha");
            EXPECT_EQ(w.Text1[0].text(), std::to_string(c.from));
            EXPECT_EQ(w.Text1[1].text(), std::to_string(c.to));
            EXPECT_TRUE(w.Text1[0].enabled());
            ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
        });
        std::vector<int64_t> expected;
        for (const int64_t v : {first, second, third})
            if (v >= c.from && v <= c.to) expected.push_back(v);
        EXPECT_EQ(lastVouchers(), expected);  // Bina's voucher between them is not Asha's
    }
    EXPECT_EQ(register_.Datacommon.recordSource(),
              "select [employee], voucherid , [time] from pettycash where employee= ? and date= datevalue(?)  order "
              "by  time asc");
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(VoucherPrintTest, AnEmployeeWithOneVoucherThatDayPrintsItAlone) {
    add("Asha", "10:00:00");
    const int64_t only = add("O'Brien", "10:01:00");
    showRegister();
    print(onScreen(only), [&](repVoucherprint& w) {
        EXPECT_EQ(w.Text1[0].text(), std::to_string(only));
        EXPECT_EQ(w.Text1[1].text(), std::to_string(only));
        ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
    });
    // The quote is doubled inside the formula's text: it neither breaks nor widens the selection.
    const std::string n = std::to_string(only);
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        "13:=\"{pettycash.voucherID}>= " + n + " and {pettycash.voucherID} <= " + n +
                            "  and {pettycash.EMPLOYEE}= 'O''Brien'\""),
              calls.end());
    EXPECT_EQ(lastVouchers(), (std::vector<int64_t>{only}));
}

TEST_F(VoucherPrintTest, WithoutAdvancesEveryOtherVoucherGoesThroughTheRangeSearch) {
    appState().noAdvanceMode = true;
    appState().costCentreEnabled = true;
    const int64_t advance = addSettling("Asha", "09:00:00", nullptr, "Advance Issued from PC");
    showRegister();
    print(onScreen(advance), [&](repVoucherprint& w) {
        EXPECT_FALSE(w.Check1.visible());
        EXPECT_FALSE(w.Text1[2].visible());
        EXPECT_EQ(w.Frame1.height(), 1800);
        EXPECT_EQ(w.Text1[0].text(), std::to_string(advance));
        ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
    });
    EXPECT_NE(std::find(calls.begin(), calls.end(), "3:=\"" + fileName("voucher1c.RPT") + "\""), calls.end());
    EXPECT_EQ(lastVouchers(), (std::vector<int64_t>{advance}));
}

TEST_F(VoucherPrintTest, TheProcedureRefusesWithItsMessages) {
    const int64_t voucher = add("Asha", "10:00:00");
    const int64_t nobody = add("", "10:01:00");
    struct Case {
        std::string message;
        std::function<void(VoucherOnScreen&)> change;
    };
    showRegister();
    register_.datPrimaryRS.recordset().addNew();
    ui.expectMessage("Save the record and them print voucher!'");
    printVoucher(register_.datPrimaryRS, onScreen(voucher), register_.Datacommon);
    register_.datPrimaryRS.recordset().cancelUpdate();

    const Case cases[] = {
        {"Not a valid record!'", [](VoucherOnScreen& v) { v.voucherId.clear(); }},
        {"Receiver/employee column is blank!'", [&](VoucherOnScreen& v) { v = onScreen(nobody); }},
        {"Not a valid voucher time!", [](VoucherOnScreen& v) { v.time = "late"; }},
        {"Not a valid voucher date!", [](VoucherOnScreen& v) { v.date = "soon"; }},
    };
    for (const Case& c : cases) {
        VoucherOnScreen v = onScreen(voucher);
        c.change(v);
        ui.expectMessage(c.message);
        printVoucher(register_.datPrimaryRS, v, register_.Datacommon);
    }

    // A register that shows no row.
    register_.datPrimaryRS.setRecordSource("select * from pettycash where Closed = 'Maybe'");
    register_.datPrimaryRS.refresh();
    ui.expectMessage("No records!'");
    printVoucher(register_.datPrimaryRS, onScreen(voucher), register_.Datacommon);

    EXPECT_EQ(ui.beepCount(), 6);
    EXPECT_TRUE(host.modalsShown().empty());
}

TEST_F(VoucherPrintTest, ASearchThatFindsNothingSaysSo) {
    add("Asha", "");  // a row without a time comes first and ends the search
    const int64_t voucher = add("Asha", "10:00:00");
    showRegister();
    ui.expectMessage(kNoVoucherToPrint);
    printVoucher(register_.datPrimaryRS, onScreen(voucher), register_.Datacommon);
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + kNoVoucherToPrint}));
    EXPECT_TRUE(host.modalsShown().empty());
}

TEST_F(VoucherPrintTest, TheRangeBoxesTakeOnlyPositiveWholeNumbers) {
    add("Bina", "09:00:00");
    const int64_t voucher = add("Asha", "10:00:00");
    showRegister();
    print(onScreen(voucher), [&](repVoucherprint& w) {
        for (const char* typed : {"", "0", "-1", "1.5", "1e3", "+2", "12a", "99999999999"}) {
            SCOPED_TRACE(typed);
            forms::user::editText(w.Text1[0], typed);
            ui.expectMessage(kNotNumbers);
            ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
        }
        forms::user::editText(w.Text1[0], " " + std::to_string(voucher) + " ");
        forms::user::editText(w.Text1[1], "x");
        ui.expectMessage(kNotNumbers);
        ASSERT_TRUE(forms::user::click(w.cmdreport[1]));
        EXPECT_TRUE(w.CrystalReport1.calls().empty());
        // A range the user turned round selects nothing: said, and nothing runs.
        forms::user::editText(w.Text1[1], std::to_string(voucher - 1));
        forms::user::editText(w.Text1[0], std::to_string(voucher));
        ui.expectMessage(kNoVoucherToPrint);
        ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
        EXPECT_TRUE(w.CrystalReport1.calls().empty());
    });
    EXPECT_EQ(ui.beepCount(), 10);
    EXPECT_TRUE(output.previews.empty());
}

TEST_F(VoucherPrintTest, AMissingVoucherFileStopsTheRunWithItsMessage) {
    std::filesystem::remove(folder.path() / "voucher1.RPT");
    const int64_t voucher = add("Asha", "10:00:00");
    showRegister();
    const std::string message = fileName("voucher1.RPT") + " not found! ";
    print(onScreen(voucher), [&](repVoucherprint& w) {
        ui.expectMessage(message);
        ASSERT_TRUE(forms::user::click(w.cmdreport[0]));
    });
    EXPECT_EQ(calls.back(), "3?=\"" + fileName("voucher1.RPT") + "\"");
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: " + message}));
    EXPECT_TRUE(output.previews.empty());
}

}  // namespace
}  // namespace petty
