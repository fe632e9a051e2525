#pragma once
// Shared by the runtime's own tests: a scripted Ui and host for each test,
// checked when the test ends.
#include <gtest/gtest.h>

#include "platform/forms/forms.h"
#include "platform/forms/test_host.h"
#include "platform/forms/test_ui.h"

namespace forms::testing {

class FormsTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_NO_THROW(ui.verifyDone());
        EXPECT_NO_THROW(host.verifyDone());
    }

    TestUi ui;
    ScopedUi useUi{ui};
    TestHost host;
};

// Appends "<name>.<event>" to a log: the order events ran in.
class EventLog {
public:
    std::function<void()> record(std::string entry) {
        return [this, entry = std::move(entry)] { entries.push_back(entry); };
    }
    std::vector<std::string> entries;
};

// The visible controls on the form itself that stand partly outside its area,
// where a user would see them cut off (a control put wholly outside, as a
// button kept out of sight, is not cut off). Display names.
inline std::vector<std::string> controlsCutOff(const Form& form) {
    std::vector<std::string> cut;
    for (const Control* c : form.controls()) {
        if (c->container() || !c->visible() || c->kind() == ControlKind::Menu || c->kind() == ControlKind::Data) continue;
        const bool wholly = c->left() >= 0 && c->top() >= 0 && c->left() + c->width() <= form.width() &&
                            c->top() + c->height() <= form.height();
        const bool outside = c->left() + c->width() <= 0 || c->top() + c->height() <= 0 || c->left() >= form.width() ||
                             c->top() >= form.height();
        if (!wholly && !outside) cut.push_back(c->displayName());
    }
    return cut;
}

}  // namespace forms::testing

#include "platform/jet/database.h"
#include "platform/jet/test_support.h"

namespace forms::testing {

// A small book with a voucher table: three rows, the second without narration.
class BookTest : public FormsTest {
protected:
    BookTest() {
        db.execute(
            "CREATE TABLE pettycash (VoucherID INTEGER PRIMARY KEY AUTOINCREMENT, [Date] DATETIME, Credit CURRENCY, "
            "Narration TEXT, TransType TEXT, Matched TEXT, VoucherIDforGrouping LONG)");
        db.execute("INSERT INTO pettycash ([Date], Credit, Narration, TransType, Matched) VALUES "
                   "('2024-05-01', 10, 'tea', 'Reimbursed from pettycash', 'No'), "
                   "('2024-05-02', 0, NULL, 'Cash transfer to PC', 'Yes'), "
                   "('2024-05-03', 250.5, 'taxi', 'Advance Issued from PC', 'No')");
    }
    std::string path() const { return (folder / "business.mdb").string(); }
    // Points a Data control at the book, as the windows do before they open it.
    void point(DataControl& data, std::string source) const {
        data.setDatabaseName(path());
        data.setConnect(";pwd=wobrelt");
        data.setRecordSource(std::move(source));
    }
    jet::Value stored(int64_t voucher, const std::string& column) {
        jet::Recordset rs = db.openRecordset("select [" + column + "] from pettycash where VoucherID = ?", {voucher});
        return rs.field(size_t{0});
    }

    jet::testing::TestFolder folder;
    jet::Database db = jet::Database::create(folder / "business.mdb", "wobrelt");
};

}  // namespace forms::testing

namespace forms::testing {

// A shown form whose Data control `data` holds the voucher rows in number order.
template <class FormType>
class OpenFormTest : public BookTest {
protected:
    void SetUp() override {
        point(form.data, "select * from pettycash order by VoucherID");
        form.show();
        form.data.refresh();
    }
    void TearDown() override {
        form.data.releaseRecordset();  // the tests' handlers are gone before the form unloads
        form.unload();
        BookTest::TearDown();
    }
    FormType form;
};

}  // namespace forms::testing
