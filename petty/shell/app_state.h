#pragma once
// The process-wide variables of the program: what passes between windows.
// Each has one owner that writes it (named beside it); other windows only read.
// Everything starts empty, false or zero, as when the program starts.
#include <cstdint>
#include <string>

#include "platform/vb/currency.h"

namespace petty {

struct AppState {
    // The book folder as the system reports it (an absolute path, letter case
    // kept, no trailing separator): the report files, documents and exports
    // are found below it. Set by the program before the log-in window loads.
    std::string programFolder;

    // Paths in the program's Windows form: "\" separators, matched against the
    // file system without regard to letter case (program_paths.h).
    std::string appFolder;        // log-in (lower case), then the main window (case kept); ends in a separator
    std::string businessDbPath;   // log-in, then the main window: appFolder + the book's file name
    std::string documentsFolder;  // log-in, when still empty: programFolder + "\documents\"
    // Bill scanning: the register's scan button sets the base name of the
    // bill (no extension) before the scan window opens and clears both after;
    // the window sets the full path of the file its last step saved ("" when none).
    std::string scanBaseName;
    std::string scannedFilePath;
    std::string helpFile;         // main window: appFolder + "KELVRA.HLP"

    // The log-in (STARTUPpettycash).
    std::string enteredPassword;  // typed password, trimmed and upper-cased
    std::string currentUserName;
    bool superUserLogin = false;  // true after a log-in with the approval password

    // Options of the settings row: the log-in reads them; later the configuration windows write them.
    bool noAdvanceMode = false;
    bool costCentreEnabled = false;
    int16_t reminderDays = 0;

    // Set true by the main window's load; the register sets it false while it
    // holds an unsaved addition or change. The exit command refuses while false.
    bool registerSaved = false;

    // True while the book has never had its options stored (stored_options_mark.h):
    // set by the program at start, cleared by a configuration window's save. The
    // main window then opens the quick configuration first.
    bool firstRun = false;

    // The company name the configuration window shows. The book keeps none, so
    // nothing sets it yet.
    std::string companyName;

    // Set by the employee master when it saves a new employee; the register
    // refills its employee lists and clears it.
    bool employeeListChanged = false;

    // The period picker (frmselectSession) writes the period picked, 0 when
    // none was; the register's search and the reports' export read it.
    int64_t selectedPeriodId = 0;
    // Set by the reports' export just before it opens the picker; the picker
    // reads it at load and sets it back to false.
    bool periodPickForExport = false;

    // The date picker (Frmselectdate) writes the date picked, in the short date
    // form, and never clears it: the date box that takes it over empties it.
    std::string selectedDate;
    // The project picker (frmselectProject) writes the cost centre picked,
    // trimmed; the empty text when none was.
    std::string selectedProjectCode;
    // The advance-voucher picker (frmselectvoucher): the register's match
    // button sets the employee, the picker leaves the advance picked (0 for
    // none) and what is still open on it; the match button clears all three.
    std::string voucherPickEmployee;
    int32_t selectedVoucherId = 0;
    vb::Currency selectedVoucherBalance{};
    // The employee whose settlement balances the balance window
    // (frmshowbalance) shows: set by the register's balance button, cleared by
    // the window's Close.
    std::string balanceEmployee;
};

AppState& appState();
// Back to the values of a program that has just started (tests).
void resetAppState();

}  // namespace petty
