#pragma once
// Shared by the tests of the register's display, navigation and activation: a
// book with voucher rows and the register window shown on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "petty/register/frm_pettycash.h"
#include "petty/shell/business_database.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/shell_test_support.h"
#include "platform/vb/date_time.h"

namespace petty::testing {

inline constexpr int64_t kOpenTerm = 2603020900;
inline constexpr int64_t kClosedTerm = 2602010800;

struct RegisterRow {
    std::string date = "2026-03-02";
    std::string employee = "Asha";
    std::string type = "Reimbursed from pettycash";
    jet::Value debit{};
    jet::Value credit{};
    jet::Value spent{};  // expensefromadvance
    jet::Value matchwith{};
    std::string matchRequired = "No";
    std::string matched = "No";
    std::string closed = "No";
    jet::Value document{};
    jet::Value termId = kOpenTerm;
};

class RegisterRowsTest : public ShellTest {
protected:
    RegisterRowsTest() {
        AppState& state = appState();
        state.appFolder = withFolderSeparator(state.programFolder);
        state.businessDbPath = state.appFolder + std::string(kBookFileName);
    }

    // Inserts the row and returns its voucher number.
    int64_t add(const RegisterRow& r) {
        jet::Database db = openBook(bookPath(folder.path()));
        db.execute("INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Debit], [Credit],"
                   " [expensefromadvance], [Matchwith], [Matchrequired], [Matched], [Closed], [document], [TermID])"
                   " VALUES (?, '09:00', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                   {*vb::DateTime::fromIso(r.date), r.employee, r.type, r.debit, r.credit, r.spent, r.matchwith,
                    r.matchRequired, r.matched, r.closed, r.document, r.termId});
        return db.openRecordset("SELECT max(VoucherID) AS id FROM pettycash").field("id").asLong();
    }

    static jet::Value money(const char* text) { return *vb::Currency::fromDecimalText(text); }

    // The register as the program shows it: loaded, first search run, active.
    frmpettycash& shown() {
        frmpettycash& w = formInstances().get<frmpettycash>();
        w.show();
        return w;
    }

    // Every row of the book in voucher order, the first one current.
    static void showAllRows(frmpettycash& w) {
        w.datPrimaryRS.setRecordSource("select * from pettycash order by VoucherID");
        w.datPrimaryRS.refresh();
    }

    // The voucher numbers the settlement grid lists.
    static std::vector<int64_t> settlementRows(frmpettycash& w) {
        std::vector<int64_t> ids;
        for (int row = 0; row < w.TDBGrid2.rowCount(); ++row) ids.push_back(std::stoll(w.TDBGrid2.cellText(row, 0)));
        return ids;
    }
};

}  // namespace petty::testing
