#include "petty/shell/startup_pettycash.h"

#include <exception>
#include <filesystem>
#include <limits>
#include <string>

#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/business_database.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/open_period_sums.h"
#include "petty/shell/pettycash_main.h"
#include "petty/shell/program_info.h"
#include "petty/shell/program_look.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/jet/error.h"
#include "platform/vb/text_functions.h"

namespace petty {

namespace {

constexpr int kMinimumScreenWidth = 1200;
constexpr int kMinimumScreenHeight = 760;

bool optionFlag(const jet::Value& value) { return !value.isNull() && value.asBool(); }

int16_t dayCount(const jet::Value& value) {
    if (value.isNull()) return 0;
    const int64_t days = value.asLong();
    if (days < std::numeric_limits<int16_t>::min() || days > std::numeric_limits<int16_t>::max())
        throw jet::errors::overflow();
    return static_cast<int16_t>(days);
}

std::string nameOrUnknown(const jet::Value& value) { return value.isNull() ? "Unknown" : value.asText(); }

// What makes the book unusable, or an empty text. A sound book made before
// it kept its status figures is given them here; one that cannot take them
// (read-only) has them summed instead. A fault of the disk is raised.
std::string damageOfBook(const std::filesystem::path& book) {
    try {
        jet::Database db = openBook(book);
        std::string damage = bookDamage(db);
        if (damage.empty()) {
            try {
                keepOpenPeriodSums(db);
            } catch (const jet::Error&) {
            }
        }
        return damage;
    } catch (const jet::Error& e) {
        if (isDiskFault(e)) throw;
        return e.description();
    }
}

}  // namespace

STARTUPpettycash::STARTUPpettycash() : Form("STARTUPpettycash") {
    setCaption(std::string(kProgramName) + " - Log in");
    move(0, 0, 7200, 3600);
    lblProgram.setCaption(std::string(kProgramName));
    lblProgram.setFont(look::kTitleFont);
    lblProgram.setForeColor(look::kTitleColour);
    lblProgram.move(600, 360, 6000, 780);
    lblSubtitle.setCaption(std::string(kProgramSubtitle));
    lblSubtitle.setFont(look::kSubtitleFont);
    lblSubtitle.move(600, 1140, 6000, 420);
    lblVersion.setCaption(std::string(kVersionLabel));
    lblVersion.setForeColor(look::kNoteColour);
    lblVersion.move(600, 1680, 1500, 300);
    lblEdition.setCaption(std::string(kEditionLabel));
    lblEdition.setForeColor(look::kNoteColour);
    lblEdition.move(2100, 1680, 3000, 300);
    lblLogin.setCaption("Log in:");
    lblLogin.setFont(look::kFieldLabelFont);
    lblLogin.move(600, 2730, 1200, 300);
    Text1.setPasswordChar('*');
    Text1.setFont(look::kFieldFont);
    Text1.move(1800, 2655, 3600, 390);
    Command1.setCaption("Log in");
    Command1.setDefault(true);
    Command1.move(-3000, 2655, 1200, 390);  // outside the window: Enter is how the user logs in
    Data1.setVisible(false);

    onLoad = [this] { Form_Load(); };
    onActivate = [this] { Form_Activate(); };
    Command1.onClick = [this] { Command1_Click(); };
}

void STARTUPpettycash::Form_Load() {
    AppState& state = appState();
    skipOnFailure([] {
        const forms::ScreenInfo screen = forms::ui().screen();
        const int width = screen.widthTwips / screen.twipsPerPixelX;
        const int height = screen.heightTwips / screen.twipsPerPixelY;
        if (width < kMinimumScreenWidth || height < kMinimumScreenHeight)
            forms::ui().msgBox("Your screen resolution set to low value (" + std::to_string(width) + " x " +
                               std::to_string(height) +
                               ") !! Set the screen resolution to higher value. Else some part of the screen may "
                               "not be visible!");
    });
    skipOnFailure([&state] {
        state.appFolder = withFolderSeparator(vb::lcase(state.programFolder));
        state.businessDbPath = state.appFolder + "BUSINESS.MDB";
    });
    // The book keeps no company name of its own; its folder is named after the business.
    skipOnFailure([&state] {
        if (state.companyName.empty()) state.companyName = folderName(state.programFolder);
    });
    skipOnFailure([&state] {
        if (state.documentsFolder.empty()) state.documentsFolder = state.programFolder + "\\documents\\";
    });
    skipOnFailure([this] { Text1.setToolTip("Enter the log-in password here."); });
}

void STARTUPpettycash::Form_Activate() {
    if (Text1.focusableNow()) Text1.setFocus();
}

void STARTUPpettycash::Command1_Click() {
    AppState& state = appState();
    skipOnFailure([this] { Text1.setFocus(); });
    state.enteredPassword = vb::ucase(vb::trim(Text1.text()));
    // A book that cannot be used is named as such; "Access denied" is for a
    // wrong password only.
    // A full or failing disk is named as such: the book itself may be sound.
    const std::filesystem::path book = resolveProgramPath(state.businessDbPath);
    std::string damage;
    std::string diskFault;
    bool accepted = false;
    try {
        damage = damageOfBook(book);
        if (damage.empty()) {
            try {
                accepted = CheckLogin();
            } catch (const jet::Error& e) {
                if (isDiskFault(e)) throw;
                damage = e.description();
            } catch (const std::exception& e) {
                damage = e.what();
            }
        }
    } catch (const jet::Error& e) {
        diskFault = diskFaultMessage(book, e);
    }
    if (!diskFault.empty()) {
        forms::ui().beep();
        forms::ui().msgBox(diskFault);
        forms::ui().endProgram();
    }
    if (!damage.empty()) {
        forms::ui().beep();
        forms::ui().msgBox(damagedBookMessage(book, damage));
        forms::ui().endProgram();
    }
    if (!accepted) {
        forms::ui().beep();
        forms::ui().msgBox("Access denied!!. Please check username and password!!");
        forms::ui().endProgram();
    }
    formInstances().get<Pettycashmain>().show();
    unload();
}

bool STARTUPpettycash::CheckLogin() {
    AppState& state = appState();
    pointAtBook(Data1, kSettingsRowSql);
    Data1.refresh();
    forms::DataRecordset& settings = Data1.recordset();
    state.noAdvanceMode = optionFlag(settings.field("NOADVANCE"));
    state.reminderDays = dayCount(settings.field("reminddays"));
    state.costCentreEnabled = optionFlag(settings.field("enablecostcentre"));

    // The typed password is a parameter: a quote in it is an ordinary character.
    jet::Database& book = Data1.database();
    jet::Recordset normal = book.openRecordset(kUserPasswordSql, {state.enteredPassword});
    if (!normal.eof()) {
        state.currentUserName = nameOrUnknown(normal.field("Username"));
        return true;
    }

    jet::Recordset approval =
        book.openRecordset(kApprovalPasswordSql, {state.enteredPassword});
    if (approval.eof()) return false;
    state.superUserLogin = true;
    const jet::Value approvalName = approval.field("ApprovalUsername");
    state.currentUserName = nameOrUnknown(approvalName);
    if (approvalName.isNull())
        forms::ui().msgBox(
            "User name is not entered in configuration for this user!! Please correct the error, log out and then "
            "log-in again!!");
    else
        forms::ui().msgBox(state.currentUserName +
                           "'s  log-in can be used only for editing existing transactions. New transactions cannot "
                           "be entered.");
    return true;
}

}  // namespace petty
