#pragma once
// The rules a voucher must pass before the register stores it, in the order
// the save holds it against them. They read what the entry fields show, not
// the book; the first rule that fails ends the save with its own message.
//
// The save interleaves them with steps that change the fields or read the
// book (the period ID filled in, the type's rules applied, the advance looked
// up), so each rule carries its place in the save and the save asks for one
// stretch of them at a time.
#include <optional>
#include <string>

#include "platform/jet/value.h"

namespace petty {

// What the rules read, as the entry fields show it.
struct SaveCheckValues {
    std::string closed;
    std::string transType;
    std::string head;
    bool headLocked = false;
    std::string narration;
    bool costCentreEnabled = false;  // the log-in's option
    bool costCentreOpen = false;     // the combo is visible, enabled and not locked
    std::string costCentre;
    std::string employee;
    bool employeeLocked = false;
    bool entryFrameEnabled = true;    // type, head, employee, amounts, date, time
    bool detailsFrameEnabled = true;  // cost centre, narration, bill, document
    std::string credit;
    std::string debit;
    std::string expenseFromAdvance;
    bool editMode = false;  // a saved voucher open for change
    std::string date;
    std::string time;
    std::string matchwith;
};

// The field a refusal puts the focus on (only while its frame is enabled).
enum class SaveCheckField { None, TransType, Head, Narration, Employee, Date, Time };

struct SaveRefusal {
    int step = 0;  // the rule's place in the save
    std::string message;
    SaveCheckField focus = SaveCheckField::None;
};

// The places of the rules in the save; the steps between them change fields.
inline constexpr int kFirstFieldRule = 2;      // closed, type, head, narration, cost centre
inline constexpr int kLastRuleBeforePeriod = 6;
inline constexpr int kEmployeeRule = 8;        // after the period ID is filled in
inline constexpr int kFirstAmountRule = 10;    // after the type's rules emptied unused fields
inline constexpr int kLastFieldRule = 15;

// The first rule of steps first..last that the values fail; nullopt when all pass.
std::optional<SaveRefusal> firstFailingSaveCheck(const SaveCheckValues& values, int first, int last);

// The types whose rows settle against an advance named in `Matchwith`.
bool isSettlementType(const std::string& transType);

// The advance a settlement names belongs to another employee: the refusal
// when the advance's employee (looked up by `Matchwith`) is neither the
// voucher's employee nor that name with blanks around it.
std::optional<std::string> otherEmployeeRefusal(const std::string& matchwithText, const jet::Value& advanceEmployee,
                                                const std::string& employee);

// Whether `Matchwith` names an advance at all ("0" and empty do not).
bool namesAdvance(const std::string& matchwithText);

// The question before a second advance to an employee with rows awaiting settlement.
std::string secondAdvanceQuestion(int64_t unsettledRows, const std::string& employee);

}  // namespace petty
