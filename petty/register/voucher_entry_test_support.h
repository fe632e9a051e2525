#pragma once
// Shared by the tests of adding, editing and deleting vouchers: a book with
// vouchers of the open period and the register shown on its voucher tab, as
// the user works it.
#include <gtest/gtest.h>

#include <string>

#include "petty/register/frm_pettycash.h"
#include "petty/register/period_test_support.h"
#include "petty/shell/form_instances.h"
#include "platform/forms/forms.h"

namespace petty::testing {

class VoucherEntryTest : public RegisterBookTest {
protected:
    void TearDown() override {
        // A row left pending by a test is dropped, not written.
        if (window_ != nullptr) window_->datPrimaryRS.releaseRecordset();
        RegisterBookTest::TearDown();
    }

    // Sets one more column of a voucher inserted by insert().
    void setColumn(int64_t voucherId, const std::string& column, const jet::Value& value) {
        db.execute("UPDATE pettycash SET [" + column + "] = ? WHERE VoucherID = ?", {value, voucherId});
    }

    // The register, loaded and shown with its voucher tab in front; the first
    // search shows the open period with its last row current.
    frmpettycash& shownRegister() {
        frmpettycash& w = formInstances().get<frmpettycash>();
        window_ = &w;
        w.show();
        forms::user::selectTab(w.SSTab2, 1);
        return w;
    }

    // Moves the register to the voucher (it must be among the rows shown).
    static void showVoucher(frmpettycash& w, int64_t voucherId) {
        forms::DataRecordset& rows = w.datPrimaryRS.recordset();
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            if (rows.field("VoucherID").asLong() == voucherId) return;
        FAIL() << "voucher " << voucherId << " is not shown";
    }

    int64_t count(const std::string& sql, const std::vector<jet::Value>& params = {}) {
        return db.openRecordset(sql, params).field(size_t{0}).asLong();
    }

private:
    frmpettycash* window_ = nullptr;
};

}  // namespace petty::testing
