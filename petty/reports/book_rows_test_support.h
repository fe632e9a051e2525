#pragma once
// Shared by the tests of the reports and views: a fixture book in a program
// folder, vouchers written straight into it, and a stand-in for the register
// window holding the two data sources the export and voucher printing read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/book_window_test_support.h"
#include "platform/forms/forms.h"
#include "platform/jet/value.h"
#include "platform/vb/currency.h"
#include "platform/vb/date_time.h"
#include "platform/vb/locale.h"

namespace petty::testing {

// One voucher row; what a test leaves out is Null (or the usual default).
struct Row {
    jet::Value date = *vb::DateTime::fromIso("2015-05-17");
    jet::Value time = "10:00:00";
    jet::Value employee = "Asha";
    jet::Value transType = "Reimbursed from pettycash";
    jet::Value head{};
    jet::Value debit{};
    jet::Value credit{};
    jet::Value expenseFromAdvance{};
    jet::Value runningBalance{};
    jet::Value narration{};
    jet::Value matchWith{};
    jet::Value matchRequired = "No";
    jet::Value matched = "No";
    jet::Value enteredBy = "Ravi";
    jet::Value closed = "No";
    jet::Value billNo{};
    jet::Value projectCode{};
    jet::Value termId = int64_t{1505171400};
};

inline jet::Value money(const char* text) { return *vb::Currency::fromDecimalText(text); }

// The register's data sources as the export and voucher printing reach them.
class RegisterStandIn : public forms::Form {
public:
    RegisterStandIn() : Form("frmpettycash") {}
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};
    forms::DataControl Datacommon{*this, "Datacommon"};
};

// Puts the user's regional settings back when the test ends.
class ScopedLocale {
public:
    explicit ScopedLocale(const vb::Locale& locale) : previous_(vb::currentLocale()) { vb::setCurrentLocale(locale); }
    ~ScopedLocale() { vb::setCurrentLocale(previous_); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    vb::Locale previous_;
};

// A fixture book whose voucher rows the test writes.
class ReportsBookTest : public BookWindowTest {
protected:
    // Inserts the row and returns its voucher number.
    int64_t insert(const Row& r) {
        jet::Database db = book();
        db.execute(
            "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Head], [Debit], [Credit],"
            " [expensefromadvance], [runningbalance], [Narration], [Matchwith], [Matchrequired], [Matched],"
            " [Enteredby], [Closed], [Billno], [Projectcode], [TermID])"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {r.date, r.time, r.employee, r.transType, r.head, r.debit, r.credit, r.expenseFromAdvance,
             r.runningBalance, r.narration, r.matchWith, r.matchRequired, r.matched, r.enteredBy, r.closed, r.billNo,
             r.projectCode, r.termId});
        return db.openRecordset("SELECT max(VoucherID) AS id FROM pettycash").field("id").asLong();
    }

    // The user's regional settings the expected texts are written for.
    ScopedLocale dayMonthYear{vb::Locale{}};
};

// The register's data sources beside the book, with nothing unsaved in the register.
class RegisterStandInTest : public ReportsBookTest {
protected:
    RegisterStandInTest() { appState().registerSaved = true; }
    void TearDown() override {
        register_.datPrimaryRS.releaseRecordset();
        register_.Datacommon.releaseRecordset();
        register_.unload();
        ReportsBookTest::TearDown();
    }

    // The register shown with the open period, its query source pointed at the book.
    void showRegister() {
        pointAtBook(register_.datPrimaryRS, "select * from pettycash where Closed = 'No' order by VoucherID");
        pointAtBook(register_.Datacommon, "");
        register_.show();
        register_.datPrimaryRS.refresh();
    }

    RegisterStandIn register_;
};

// A view window of the reports over the fixture book, closed without writing when the test ends.
template <class Window>
class ViewWindowTest : public ReportsBookTest {
protected:
    void TearDown() override {
        window.unload();
        ReportsBookTest::TearDown();
    }
    // The texts of one grid column, top to bottom.
    static std::vector<std::string> column(const forms::Grid& grid, int index) {
        std::vector<std::string> out;
        for (int row = 0; row < grid.rowCount(); ++row) out.push_back(grid.cellText(row, index));
        return out;
    }
    static std::vector<std::string> headings(const forms::Grid& grid) {
        std::vector<std::string> out;
        for (int i = 0; i < grid.columnCount(); ++i) out.push_back(grid.column(i).caption());
        return out;
    }

    Window window;
};

}  // namespace petty::testing
