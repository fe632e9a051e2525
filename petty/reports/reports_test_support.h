#pragma once
// The report windows' fixture: a book made by createBook (so it holds the
// shipped report files) with vouchers of two periods, and a report output
// that keeps what the report control sent it.
#include "petty/shell/book_window_test_support.h"
#include "platform/report/test_support.h"

namespace petty::testing {

inline constexpr int64_t kClosedPeriod = 2404010900;
inline constexpr int64_t kOpenPeriod = 2405151430;

class ReportsTest : public BookWindowTest {
protected:
    ReportsTest() {
        report::testing::qtApplication();
        appState().companyName = "Rao & D'Souza";
        fillBook();
    }

    // Voucher numbers 9001 to 9010 stand out in a report's text.
    void fillBook() const {
        jet::Database db = book();
        db.execute("INSERT INTO employeemaster ([Name]) VALUES ('Asha'), ('Bina'), ('O''Brien')");
        const char* insert =
            "INSERT INTO pettycash ([VoucherID], [Date], [Time], [Employee], [TransType], [Head], [Debit], [Credit],"
            " [expensefromadvance], [Matchwith], [Matchrequired], [Matched], [Projectcode], [Closed], [TermID],"
            " [Enteredby], [Narration]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'Ravi', ?)";
        struct Row {
            int id, month, day;
            const char *time, *employee, *type, *head;
            double in, out, spent;
            int matchwith;
            const char *matchRequired, *matched, *costCentre;
        };
        const Row rows[] = {
            {9001, 4, 2, "09:10", "Asha", "Cash transfer to PC", nullptr, 1000, 0, 0, 0, "No", "No", nullptr},
            {9002, 4, 3, "10:00", "Asha", "Reimbursed from pettycash", "Travel", 0, 120.5, 0, 0, "No", "No", "Site 4"},
            {9003, 4, 5, "11:00", "O'Brien", "Advance Issued from PC", nullptr, 0, 300, 0, 0, "Yes", "Yes", nullptr},
            {9004, 4, 6, "12:00", "O'Brien", "Spent from Advance issued", "Fuel", 0, 0, 250, 9003, "Yes", "Yes",
             "Expo's"},
            {9005, 4, 6, "12:05", "O'Brien", "Cash received for settlement", nullptr, 50, 0, 0, 9003, "Yes", "Yes",
             nullptr},
            {9006, 5, 15, "14:30", "", "Carryover", nullptr, 629.5, 0, 0, 0, "No", "No", nullptr},
            {9007, 5, 16, "09:00", "Bina", "Reimbursed from pettycash", "Stationery", 0, 45.25, 0, 0, "No", "No",
             "Site 4"},
            {9008, 5, 17, "09:30", "Bina", "Advance Issued from PC", nullptr, 0, 200, 0, 0, "Yes", "No", nullptr},
            {9009, 5, 18, "10:15", "Bina", "Spent from Advance issued", "Travel", 0, 0, 80, 9008, "Yes", "No",
             "Site 4"},
            {9010, 5, 18, "16:00", "O'Brien", "Reimbursed from pettycash", "Fuel", 0, 60, 0, 0, "No", "No", "Expo's"},
        };
        for (const Row& r : rows) {
            const bool open = r.month == 5;
            db.execute(insert, {r.id, *vb::DateTime::fromParts(2024, r.month, r.day), r.time, r.employee, r.type,
                                r.head ? jet::Value(r.head) : jet::Value(), r.in, r.out, r.spent,
                                r.matchwith ? jet::Value(r.matchwith) : jet::Value(), r.matchRequired, r.matched,
                                r.costCentre ? jet::Value(r.costCentre) : jet::Value(), open ? "No" : "Yes",
                                open ? kOpenPeriod : kClosedPeriod, std::string("voucher ") + std::to_string(r.id)});
        }
    }

    report::testing::RecordingOutput output;
};

}  // namespace petty::testing
