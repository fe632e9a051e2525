// The register's save: the voucher shown is held against the ordered save
// checks, then stored, and everything that depends on a voucher follows it
// (status line, the advance's settled state, the change log of an edit, the
// running balances, the title).
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string>

#include "petty/register/advance_tally.h"
#include "petty/register/box_number.h"
#include "petty/register/carryover_date.h"
#include "petty/register/change_log_row.h"
#include "petty/register/change_log_text.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/register/period_query.h"
#include "petty/register/register_queries.h"
#include "petty/register/running_balance.h"
#include "petty/register/save_checks.h"
#include "petty/register/status_line.h"
#include "petty/register/voucher_time.h"

#include "petty/shell/voucher_types.h"
#include "petty/shell/app_state.h"
#include "petty/shell/error_report.h"
#include "petty/shell/hourglass.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/jet/error.h"
#include "platform/vb/date_format.h"
#include "platform/vb/date_text.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

constexpr int kGroupingBox = 21;  // the hidden status-frame box that carries VoucherIDforGrouping
constexpr int kChangedByAnotherUser = 3197;
constexpr const char* kReadAgainNote = "\r\nThe voucher is shown as it is stored now; make your change again.";

// The refusal of a voucher whose period was closed after it was started.
class PeriodClosedMeanwhile : public std::runtime_error {
public:
    PeriodClosedMeanwhile(const std::string& term, PeriodId open)
        : std::runtime_error("Pettycash period ID " + term +
                             " has been closed meanwhile! The running period is now " + std::to_string(open) +
                             ". This voucher is not saved: cancel it and add it again.") {}
};

SaveCheckValues saveCheckValues(frmpettycash& w) {
    SaveCheckValues v;
    v.closed = w.Textpcash[kClosedBox].text();
    v.transType = w.Combopcashtype.text();
    v.head = w.Combopcashhead.text();
    v.headLocked = w.Combopcashhead.locked();
    v.narration = w.Textpcash[kNarrationBox].text();
    v.costCentreEnabled = appState().costCentreEnabled;
    v.costCentreOpen = w.dbCombo3.visible() && w.dbCombo3.enabled() && !w.dbCombo3.locked();
    v.costCentre = w.dbCombo3.text();
    v.employee = w.DBCombo2.text();
    v.employeeLocked = w.DBCombo2.locked();
    v.entryFrameEnabled = w.Frame1.enabled();
    v.detailsFrameEnabled = w.Frame2.enabled();
    v.credit = w.Textpcash[kCreditBox].text();
    v.debit = w.Textpcash[kDebitBox].text();
    v.expenseFromAdvance = w.Textpcash[kExpenseFromAdvanceBox].text();
    v.editMode = w.editMode;
    v.date = w.Textpcash[kDateBox].text();
    v.time = w.Textpcash[kTimeBox].text();
    v.matchwith = w.Textpcash[kMatchwithBox].text();
    return v;
}

forms::Control* focusTarget(frmpettycash& w, SaveCheckField field) {
    switch (field) {
        case SaveCheckField::TransType: return &w.Combopcashtype;
        case SaveCheckField::Head: return &w.Combopcashhead;
        case SaveCheckField::Employee: return &w.DBCombo2;
        case SaveCheckField::Date: return &w.Textpcash[kDateBox];
        case SaveCheckField::Time: return &w.Textpcash[kTimeBox];
        case SaveCheckField::Narration: return &w.Textpcash[kNarrationBox];
        case SaveCheckField::None: return nullptr;
    }
    return nullptr;
}

// The stretch of rules first..last; true when the voucher passed them. A
// refusal moves the focus to the field at fault only while its frame is enabled.
bool passesRules(frmpettycash& w, int first, int last) {
    const std::optional<SaveRefusal> refusal = firstFailingSaveCheck(saveCheckValues(w), first, last);
    if (!refusal) return true;
    refuse(refusal->message);
    forms::Control* field = focusTarget(w, refusal->focus);
    const forms::Frame& frame = refusal->focus == SaveCheckField::Narration ? w.Frame2 : w.Frame1;
    if (field && frame.enabled() && field->focusableNow()) field->setFocus();
    return false;
}

// The settlement's advance must belong to the voucher's employee. A number
// that names no voucher fails the look-up (no current record), which ends the save.
bool advanceBelongsToEmployee(frmpettycash& w) {
    const std::string& matchwith = w.Textpcash[kMatchwithBox].text();
    if (!namesAdvance(matchwith) || w.DBCombo2.text().empty()) return true;
    w.Datacommon.setRecordSource(kVoucherEmployeeSql,
                                 {jet::Value(int64_t{boxWholeNumber(matchwith)})});
    w.Datacommon.refresh();
    const jet::Value owner = w.Datacommon.recordset().field("employee");
    if (const std::optional<std::string> refusal = otherEmployeeRefusal(matchwith, owner, w.DBCombo2.text())) {
        refuse(*refusal);
        return false;
    }
    return true;
}

// A second advance to an employee whose earlier ones await settlement is
// given only when the user confirms it.
bool secondAdvanceConfirmed(frmpettycash& w) {
    const std::string& employee = w.DBCombo2.text();
    const int64_t pending = pendingSettlementCount(w.datPrimaryRS.database(), employee);
    if (pending <= 0) return true;
    forms::ui().beep();
    if (forms::ui().msgBox(secondAdvanceQuestion(pending, employee), forms::MsgButtons::YesNo) ==
        forms::MsgResult::Yes)
        return true;
    forms::ui().msgBox("You can cancel the record now.");
    return false;
}

// A voucher dated ahead of its period's carry-over row is refused (both boxes hold a date and a time here).
bool datedAfterCarryover(frmpettycash& w) {
    const std::optional<vb::DateTime> day = vb::parseDateText(w.Textpcash[kDateBox].text());
    const std::optional<vb::DateTime> time = vb::parseTimeText(w.Textpcash[kTimeBox].text());
    if (!day || !time) return true;
    const vb::DateTime moment =
        day->dateOnly().addSeconds(time->hour() * 3600LL + time->minute() * 60LL + time->second());
    const std::string& periodText = w.Textpcash[kTermIdBox].text();
    PeriodId period = 0;  // a period ID is ten digits, above what a 32-bit box number holds
    std::from_chars(periodText.data(), periodText.data() + periodText.size(), period);
    if (const std::optional<std::string> refusal = beforeCarryoverRefusal(w.datPrimaryRS.database(), period, moment)) {
        refuse(*refusal);
        if (w.Frame1.enabled() && w.Textpcash[kDateBox].focusableNow()) w.Textpcash[kDateBox].setFocus();
        return false;
    }
    return true;
}

// The ordered checks; the steps between the rules fill in the period ID, apply
// the type's rules and keep an empty cost centre of a new row out of the book.
bool passesSaveChecks(frmpettycash& w) {
    if (w.CheckPendingEdit(false)) {
        refuse("You have not made any changes! Nothing to update!!");
        return false;
    }
    if (!passesRules(w, kFirstFieldRule, kLastRuleBeforePeriod)) return false;
    forms::TextBox& period = w.Textpcash[kTermIdBox];
    if (period.text().empty() || period.text() == "0")
        period.setText(std::to_string(getCurrentOrNewPeriodId(w.datPrimaryRS.database())));
    if (!passesRules(w, kEmployeeRule, kEmployeeRule)) return false;
    w.ApplyTransactionTypeRules(true);
    if (!passesRules(w, kFirstAmountRule, kLastFieldRule)) return false;
    if (!datedAfterCarryover(w)) return false;
    const bool adding = w.datPrimaryRS.addingRow();
    if (adding && w.dbCombo3.text().empty() && w.dbCombo3.dataChanged()) w.dbCombo3.setDataChanged(false);
    if (!advanceBelongsToEmployee(w)) return false;

    const bool advances = !appState().noAdvanceMode;
    const std::string& type = w.Combopcashtype.text();
    const std::string& matchwith = w.Textpcash[kMatchwithBox].text();
    if (advances && !matchwith.empty() &&
        (type == voucher_type::kCashReceivedForSettlement || type == voucher_type::kCashGivenForSettlement) &&
        !w.ValidateSettlement(boxWholeNumber(matchwith)))
        return false;
    if (advances && adding && type == voucher_type::kAdvanceIssued && !secondAdvanceConfirmed(w)) return false;
    return true;
}

// What the save writes besides the user's entries: who saved last and when,
// the emptied amounts, the grouping column and the time as "HH:MM:SS".
void completeRow(frmpettycash& w, bool isNew) {
    AppState& state = appState();
    forms::TextBox& enteredBy = w.Textpcash[kEnteredByBox];
    if (vb::trim(enteredBy.text()) != state.currentUserName) enteredBy.setText(state.currentUserName);
    w.Textpcash[kEnteredOnBox].setText(vb::generalDateText(vb::now()));

    // An emptied amount box is stored as it stands, which the book keeps as
    // Null. An emptied advance number stays Null on a saved row; a new row
    // keeps 0 there unless an amount was emptied with it.
    bool amountEmptied = false;
    for (int box : {kCreditBox, kDebitBox, kExpenseFromAdvanceBox})
        amountEmptied |= w.Textpcash[box].dataChanged() && w.Textpcash[box].text().empty();
    forms::TextBox& matchwith = w.Textpcash[kMatchwithBox];
    if (matchwith.dataChanged() && matchwith.text().empty() && isNew && !amountEmptied) matchwith.setText("0");

    if (!state.noAdvanceMode) {
        forms::TextBox& grouping = w.Textpcash[kGroupingBox];
        const std::string& voucherId = w.Textpcash[kVoucherIdBox].text();
        if (w.Combopcashtype.text() == voucher_type::kAdvanceIssued) {
            if (!voucherId.empty()) grouping.setText(voucherId);
        } else if (!grouping.text().empty() && grouping.text() != "0") {
            grouping.setText("0");
        }
    }

    forms::TextBox& time = w.Textpcash[kTimeBox];
    const std::optional<std::string> normal = voucherTimeText(time.text());
    if (normal && *normal != time.text()) time.setText(*normal);
}

// The advance whose settled state the saved row affects: the row's own
// number for an advance whose amounts changed, else the advance the row
// names when the row is new or its amounts changed.
std::optional<int32_t> advanceToTally(frmpettycash& w, bool isNew, bool amountsChangedOnSaved) {
    const std::string& voucherId = w.Textpcash[kVoucherIdBox].text();
    if (w.Combopcashtype.text() == voucher_type::kAdvanceIssued) {
        if (amountsChangedOnSaved && !voucherId.empty()) return boxWholeNumber(voucherId);
        return std::nullopt;
    }
    const std::string& matchwith = w.Textpcash[kMatchwithBox].text();
    if (namesAdvance(matchwith) && w.Textpcash[kMatchRequiredBox].text() == "Yes" &&
        w.Textpcash[kClosedBox].text() != "Yes" && (isNew || amountsChangedOnSaved))
        return boxWholeNumber(matchwith);
    return std::nullopt;
}

// A voucher started in a period that has been closed since (by another
// program on the book) would open a second period: it is refused.
void refuseIfPeriodClosedMeanwhile(frmpettycash& w, jet::Database& book) {
    if (w.Textpcash[kClosedBox].text() == "Yes") return;
    const PeriodId open = getOpenPeriodId(book);
    const std::string& term = w.Textpcash[kTermIdBox].text();
    if (open == 0 || term.empty() || term == std::to_string(open)) return;
    throw PeriodClosedMeanwhile(term, open);
}

int64_t largestVoucherId(jet::Database& book) {
    const jet::Value id = firstRowValue(book, "select max(voucherid) as lastid from pettycash", "lastid");
    return id.isNull() ? 0 : id.asLong();
}

// What a committed save leaves for the register to show.
struct StoredVoucher {
    int64_t voucherId = 0;
    std::optional<AdvanceRetally> retally;  // what the re-tally found
};

// Everything the save writes, in one transaction: the row, the re-tally of
// its advance group, the change-log row of an edit and the running balances.
// Nothing is told the user inside it.
StoredVoucher writeVoucher(frmpettycash& w, bool isNew, bool amountsChangedOnSaved) {
    jet::Database& book = w.datPrimaryRS.database();
    jet::Transaction transaction(book);
    completeRow(w, isNew);
    refuseIfPeriodClosedMeanwhile(w, book);
    // Read from the boxes before the store refills them from another row.
    const std::optional<int32_t> advance = advanceToTally(w, isNew, amountsChangedOnSaved);
    // The balances change from the earlier of the row's old and new dates on.
    const int64_t editedId = isNew ? 0 : boxWholeNumber(w.Textpcash[kVoucherIdBox].text());
    const std::optional<vb::DateTime> oldDate = isNew ? std::nullopt : storedVoucherDate(book, editedId);
    w.datPrimaryRS.updateRecord();
    std::optional<AdvanceRetally> retally;
    if (advance) retally = retallyAdvanceGroup(book, *advance);
    if (!w.changeLogText.empty() && w.editedVoucherId != 0)
        appendChangeLogRow(w.Datacommonwrite, w.changeLogText, w.editedVoucherId);
    // A new row takes the largest number the counter has given.
    const int64_t savedId = isNew ? largestVoucherId(book) : editedId;
    const std::optional<vb::DateTime> newDate = storedVoucherDate(book, savedId);
    if (isNew)
        updateRunningBalancesAfter(book, {newDate});
    else
        updateRunningBalancesAfter(book, {oldDate, newDate});
    transaction.commit();
    return {savedId, retally};
}

// What the register was doing when the save began.
struct PendingWork {
    forms::DataControl::Entry entry;
    bool editMode;
    int32_t editedVoucherId;
};

// After a write that was rolled back: the row stays pending on screen with
// the user's text. A row another program changed meanwhile is read again
// instead, so the user sees what is stored now.
void keepEntryPending(frmpettycash& w, const PendingWork& work, bool changedElsewhere) {
    w.changeLogText.clear();
    skipOnFailure([&] { w.datPrimaryRS.restoreEntry(changedElsewhere ? forms::DataControl::Entry{} : work.entry); });
    w.editMode = work.editMode;
    w.editedVoucherId = work.editedVoucherId;
}

// Everything after the checks. The save is all or nothing: when any write
// fails, the book is left as it was, the failure is told once and the row
// stays unsaved as the user left it. Only after the commit is the user told
// what the re-tally found, and the register and its status line shown anew.
void storeVoucher(frmpettycash& w) {
    HourglassWhileBusy hourglass;
    const bool isNew = w.datPrimaryRS.addingRow();
    bool amountChanged = false;
    for (int box : {kCreditBox, kDebitBox, kExpenseFromAdvanceBox}) amountChanged |= w.Textpcash[box].dataChanged();
    const bool amountsChangedOnSaved = amountChanged && !isNew;

    w.changeLogText.clear();
    if (w.editedVoucherId != 0)
        w.changeLogText = changeLogText(
            {w.snapshotDebit, w.snapshotCredit, w.snapshotExpense, w.snapshotEmployee, w.snapshotTransType},
            {w.Textpcash[kDebitBox].text(), w.Textpcash[kCreditBox].text(),
             w.Textpcash[kExpenseFromAdvanceBox].text(), w.DBCombo2.text(), w.Combopcashtype.text()});

    const PendingWork work{w.datPrimaryRS.pendingEntry(), w.editMode, w.editedVoucherId};
    StoredVoucher stored;
    const uint64_t versionBeforeSave = w.datPrimaryRS.database().version();
    try {
        stored = writeVoucher(w, isNew, amountsChangedOnSaved);
    } catch (const PeriodClosedMeanwhile& closed) {
        keepEntryPending(w, work, false);
        refuse(closed.what());
        return;
    } catch (const std::exception& error) {
        const auto* engineError = dynamic_cast<const jet::Error*>(&error);
        const bool changedElsewhere = engineError && engineError->number() == kChangedByAnotherUser;
        keepEntryPending(w, work, changedElsewhere);
        reportRunError(error, changedElsewhere ? kReadAgainNote : "");
        return;
    }
    w.changeLogText.clear();
    w.editedVoucherId = 0;
    w.editMode = false;
    appState().registerSaved = true;
    w.TDBGrid1.setEnabled(true);

    jet::Database& book = w.datPrimaryRS.database();
    skipOnFailure([&] {
        forms::DataRecordset& rows = w.datPrimaryRS.recordset();
        rows.setBookmark(rows.lastModified());
    });
    if (stored.retally) w.TellAdvanceRetally(*stored.retally);
    reportOnFailure([&] { showSavedRowInRunningOrder(book, w.datPrimaryRS, stored.voucherId, versionBeforeSave); });
    showBalanceStatus(w.Label2, book, appState().noAdvanceMode);
    if (w.noPeriodAtLoad)
        reportOnFailure([&] {
            w.setCaption(w.baseCaption + kRunningPeriodCaption + std::to_string(currentPeriodId(book)));
        });
}

}  // namespace

void frmpettycash::wireSaveAndClose() {
    cmdupdate.onClick = [this] { cmdupdate_Click(); };
    cmdClosepettycash.onClick = [this] { cmdClosepettycash_Click(); };
    Label2.onDblClick = [this] { Label2_DblClick(); };
}

void frmpettycash::Label2_DblClick() {
    skipOnFailure([this] { showBalanceStatus(Label2, datPrimaryRS.database(), appState().noAdvanceMode); });
}

void frmpettycash::cmdupdate_Click() {
    // A check that cannot be made (its look-up fails) ends the save like a
    // refusal: the row stays unsaved and the user may press Save again.
    bool passed = false;
    if (!reportOnFailure([&] { passed = passesSaveChecks(*this); }) || !passed) return;
    storeVoucher(*this);
}

}  // namespace petty
