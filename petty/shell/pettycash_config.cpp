#include "petty/shell/pettycash_config.h"

#include <cstdint>
#include <limits>
#include <string>

#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/program_cursor.h"
#include "petty/shell/program_info.h"
#include "petty/shell/settings_row.h"
#include "petty/shell/skip_on_failure.h"
#include "platform/vb/text_functions.h"
#include "platform/vb/numeric_text.h"

namespace petty {

namespace {

// The boxes by their index.
constexpr int kPassword = 0;
constexpr int kUserName = 1;
constexpr int kSuperUserName = 2;
constexpr int kSuperUserPassword = 3;
using settings_box::kBackupFolder;
constexpr int kRemindDays = 5;
constexpr int kCompany = 10;
constexpr int kCompanyLabel = 11;

using settings_box::kAdvances;
using settings_box::kCostCentres;
using settings_box::kNoAdvances;
constexpr int kApproval = 2;
constexpr int kDailySummary = 3;
constexpr int kFormat1 = 5;
constexpr int kFormat2 = 6;

constexpr const char* kSameUserNames =
    "User name for normal operations and user name for editing an existing record cannot be same!!";

std::string helpText(int index) {
    switch (index) {
        case 1:
            return std::string("This is the log-in user name and password for all operations of petty cash, except ") +
                   "making any changes (editing) to a petty cash entry before petty cash entries are closed. "
                   "(Pettycash is closed every week/month or any other period and started after afresh after "
                   "carrying over the balance amount)";
        case 0:
            return "Super-user log-in and password is used for only editing (making changes to) an already entered "
                   "pettycash record. This way it is possible to know if any changes are made to a record after the "
                   "record is saved, since entered by column will change to the editor user name. User name for "
                   "editing and user name for normal operations cannot be same";
        case 3:
            return "Some businesses would want a project/cost-centre to be associated with some or all expenses. If "
                   "this column is required, then you can enable this option. Cost-centre wise reports would also get "
                   "enabled along with this.";
        case 4:
            return "There are two formats provided for printing vouchers. You can select either one of them for "
                   "printing vouchers.";
        default:
            return "If advance is given to somebody before the expense happens, then the expense amount will have to "
                   "be settled with the advance. Till the settlement is done completely, the advance amount entry and "
                   "other settlement entries made against this advance amount will be marked as unsettled. You "
                   "cannot close pettycash (closing week/monthly/bi-monthly or any other interval) without settling "
                   "advances.";
    }
}

// The log-in reads the remind days into a 16-bit number and refuses every
// log-in when it cannot: only such whole numbers of days may be stored.
bool remindDaysReadableAtLogIn(const std::string& text) {
    const auto days = vb::currencyFromText(text);
    return days && days->units() % vb::Currency::kScale == 0 && *days >= vb::Currency::fromWhole(0) &&
           *days <= vb::Currency::fromWhole(std::numeric_limits<int16_t>::max());
}

bool blank(const forms::TextBox& box) { return vb::trim(box.text()).empty(); }

// Layout, in twips.
constexpr int kWindowWidth = 12600;
constexpr int kFullWidth = 12120;
constexpr int kHalfWidth = 5940;
constexpr int kLeft = 240;
constexpr int kRight = 6420;
constexpr int kLabelLeft = 180;
constexpr int kBoxLeft = 1860;
constexpr int kHelpLeft = 10560;

}  // namespace

frmpettycashconfig::frmpettycashconfig() : Form("frmpettycashconfig") {
    layOut();
    bindToSettingsRow();
    wireEvents();
}

void frmpettycashconfig::layOut() {
    setCaption("Configuration");
    move(0, 0, kWindowWidth, 9540);
    lblHeading.setCaption(std::string(kProgramName) + " Configuration");
    lblHeading.move(kLeft, 150, kFullWidth, 420);

    const auto frame = [](forms::Frame& f, const char* caption, int left, int top, int width, int height) {
        f.setCaption(caption);
        f.move(left, top, width, height);
    };
    frame(fraLogin, "User name and password to log into this application, and enter data", kLeft, 720, kFullWidth,
          1260);
    frame(fraSuperUser, "Super-user name and  password for editing saved records in open period", kLeft, 2100,
          kFullWidth, 1680);
    frame(fraAdvances, "Issuing pettycash in advance for expected expenses", kLeft, 3900, kFullWidth, 2820);
    frame(fraReminder, "Reminder - Unsettled", kLeft, 6840, kHalfWidth, 780);
    frame(fraCostCentre, "Project / cost centre", kRight, 6840, kHalfWidth, 780);
    frame(fraVoucherFormat, "Voucher format", kLeft, 7740, kHalfWidth, 780);
    frame(fraBackup, settings_caption::kBackupFrame, kRight, 7740, kHalfWidth, 780);
    frame(fraCompany, "Company", kLeft, 8640, kHalfWidth, 780);

    // A caption and its box in a frame, in the order the user tabs through them.
    const auto labelledBox = [this](forms::Frame& in, int index, const char* caption, int top, int boxWidth,
                                    int labelIndex = -1) {
        forms::Label& label = lblLabels.add(labelIndex < 0 ? index : labelIndex);
        label.setContainer(in);
        label.setCaption(caption);
        label.move(kLabelLeft, top + 30, kBoxLeft - kLabelLeft - 60, 285);
        forms::TextBox& box = txtFields.add(index);
        box.setContainer(in);
        box.move(kBoxLeft, top, boxWidth, 315);
    };
    const auto checkBox = [this](forms::Frame& in, int index, const char* caption, int left, int top, int width) {
        forms::CheckBox& box = Check1.add(index);
        box.setContainer(in);
        box.setCaption(caption);
        box.move(left, top, width, 315);
    };
    const auto helpButton = [this](forms::Frame& in, int index, const char* caption, int left, int top, int width) {
        forms::CommandButton& button = cmdquickhelp.add(index);
        button.setContainer(in);
        button.setCaption(caption);
        button.move(left, top, width, 400);
    };

    labelledBox(fraLogin, kUserName, "User name:", 330, 3000);
    labelledBox(fraLogin, kPassword, "Password:", 750, 3000);
    txtFields[kPassword].setPasswordChar('*');
    helpButton(fraLogin, 1, "Quick help", kHelpLeft, 300, 1380);

    labelledBox(fraSuperUser, kSuperUserName, "User name editing:", 330, 3000);
    labelledBox(fraSuperUser, kSuperUserPassword, " Password:", 750, 3000);
    txtFields[kSuperUserPassword].setPasswordChar('*');
    checkBox(fraSuperUser, kApproval,
             "Each transaction has to be approved by super-user. After a record is approved, record cannot be changed "
             "at all.",
             kLabelLeft, 1200, 10200);
    helpButton(fraSuperUser, 0, "Quick help", kHelpLeft, 300, 1380);

    checkBox(fraAdvances, kNoAdvances, settings_caption::kNoAdvances, kLabelLeft, 300, 6000);
    Label2.setContainer(fraAdvances);
    Label2.setCaption(settings_caption::kNoAdvancesMeaning);
    Label2.move(480, 630, 9900, 285);
    checkBox(fraAdvances, kAdvances, settings_caption::kAdvances, kLabelLeft, 1020, 6000);
    Label1.setContainer(fraAdvances);
    Label1.setCaption(
        "Receiver comes back with details of expenses and settle the account. If the net expense > advance, "
        "settlement amount is  given to him/her.  If the net expense is < advance, settlement amount is taken back.  "
        "       If net expense = advance then no settlement is required.");
    Label1.move(480, 1350, 9900, 600);
    forms::Label& remindLabel = lblLabels.add(kRemindDays);
    remindLabel.setContainer(fraAdvances);
    remindLabel.setCaption("Remind me on unsettled advances not settled in ");
    remindLabel.move(kLabelLeft, 2250, 3600, 285);
    forms::TextBox& remindDays = txtFields.add(kRemindDays);
    remindDays.setContainer(fraAdvances);
    remindDays.setToolTip(
        "If advances are not settled in certain number of days, there will be a pop-up warning when user logs in.");
    remindDays.move(3840, 2220, 720, 315);
    Label3.setContainer(fraAdvances);
    Label3.setCaption("days");
    Label3.move(4650, 2250, 600, 285);
    helpButton(fraAdvances, 2, "Quick help", kHelpLeft, 300, 1380);

    checkBox(fraReminder, kDailySummary, "Email the pattycash summary everyday", kLabelLeft, 330, 5580);
    checkBox(fraCostCentre, kCostCentres, settings_caption::kCostCentres, kLabelLeft, 330, 4740);
    helpButton(fraCostCentre, 3, "Help", 4980, 270, 840);
    checkBox(fraVoucherFormat, kFormat1, "Format 1", kLabelLeft, 330, 1500);
    checkBox(fraVoucherFormat, kFormat2, "Format 2", 1920, 330, 1500);
    helpButton(fraVoucherFormat, 4, "Help", 4980, 270, 840);

    labelledBox(fraBackup, kBackupFolder, settings_caption::kBackupLabel, 330, 3900);
    txtFields[kBackupFolder].setToolTip(settings_caption::kBackupToolTip);
    labelledBox(fraCompany, kCompany, "Company:", 330, 3900, kCompanyLabel);

    cmdupdate.setCaption("Save configuration settings");
    cmdupdate.move(7860, 8790, 3060, 480);
    cmdclose.setCaption("Close");
    cmdclose.move(11100, 8790, 1260, 480);
    // The two buttons come last in tab order, after the boxes of the frames.
    const int last = static_cast<int>(controls().size());
    cmdupdate.setTabIndex(last);
    cmdclose.setTabIndex(last + 1);
}

void frmpettycashconfig::bindToSettingsRow() {
    setUpSettingsData(datPrimaryRS);
    const struct {
        int index;
        const char* column;
    } boxes[] = {{kUserName, "Username"},
                 {kPassword, "Password"},
                 {kSuperUserName, "ApprovalUsername"},
                 {kSuperUserPassword, "ApprovalPassword"},
                 {kRemindDays, "Reminddays"}},
      ticks[] = {{kApproval, "Approvalrequired"},   {kNoAdvances, "Noadvance"},     {kAdvances, "yesadvance"},
                 {kDailySummary, "sendmail"},       {kCostCentres, "enablecostcentre"},
                 {kFormat1, "voucherstyle1"},       {kFormat2, "Voucherstyle2"}};
    for (const auto& box : boxes) txtFields[box.index].bind(datPrimaryRS, box.column);
    for (const auto& tick : ticks) Check1[tick.index].bind(datPrimaryRS, tick.column);
}

void frmpettycashconfig::wireEvents() {
    onLoad = [this] { Form_Load(); };
    Check1.forEach([this](forms::CheckBox& box) { box.onClick = [this, i = box.index()] { Check1_Click(i); }; });
    txtFields[kUserName].onLostFocus = [this] { userName_LostFocus(); };
    txtFields[kSuperUserName].onLostFocus = [this] { userName_LostFocus(); };
    txtFields[kRemindDays].onLostFocus = [this] { remindDays_LostFocus(); };
    cmdupdate.onClick = [this] { cmdupdate_Click(); };
    cmdupdate.onLostFocus = [this] { cmdupdate_LostFocus(); };
    cmdquickhelp.forEach(
        [this](forms::CommandButton& button) { button.onClick = [this, i = button.index()] { cmdquickhelp_Click(i); }; });
    cmdclose.onClick = [this] { cmdclose_Click(); };
}

void frmpettycashconfig::Form_Load() {
    reminderOffTold_ = false;
    skipOnFailure([this] { openSettingsRow(datPrimaryRS); });
    skipOnFailure([this] {
        if (!appState().companyName.empty()) txtFields[kCompany].setText(appState().companyName);
    });
    skipOnFailure([] { useProgramCursor(); });
}

void frmpettycashconfig::Check1_Click(int index) {
    const auto partner = [index]() -> int {
        switch (index) {
            case kNoAdvances: return kAdvances;
            case kAdvances: return kNoAdvances;
            case kFormat1: return kFormat2;
            case kFormat2: return kFormat1;
            default: return -1;
        }
    }();
    if (partner >= 0) keepOneOfPairTicked(Check1[index], Check1[partner]);
}

// Only two names given can be the same: a box not yet filled in is no clash,
// and emptying the super-user name ends the clash, so leaving one box for the
// other never shows the message twice.
bool frmpettycashconfig::refuseSameUserNames() {
    const std::string& userName = txtFields[kUserName].text();
    if (userName.empty() || userName != txtFields[kSuperUserName].text()) return false;
    forms::ui().beep();
    forms::ui().msgBox(kSameUserNames);
    txtFields[kSuperUserName].setText("");
    return true;
}

void frmpettycashconfig::userName_LostFocus() {
    if (!refuseSameUserNames()) return;
    skipOnFailure([this] { txtFields[kSuperUserName].setFocus(); });
}

void frmpettycashconfig::remindDays_LostFocus() {
    forms::TextBox& days = txtFields[kRemindDays];
    if (blank(days)) days.setText("0");
    if (!vb::isNumeric(days.text())) days.setText("0");
    // Told once for each time the reminder is turned off, not each time the focus passes the box.
    const bool off = days.text() == "0" && Check1[kAdvances].value() == forms::vbChecked;
    if (off && !reminderOffTold_) forms::ui().msgBox("Reminder would be turned off, since remind days = 0 !");
    reminderOffTold_ = off;
}

bool frmpettycashconfig::logInFieldsAccepted() {
    const auto refuse = [](const std::string& message, forms::TextBox& box, int beeps) {
        for (int i = 0; i < beeps; ++i) forms::ui().beep();
        forms::ui().msgBox(message);
        skipOnFailure([&box] { box.setFocus(); });
        return false;
    };
    forms::TextBox& password = txtFields[kPassword];
    forms::TextBox& userName = txtFields[kUserName];
    forms::TextBox& superUserName = txtFields[kSuperUserName];
    forms::TextBox& superUserPassword = txtFields[kSuperUserPassword];
    if (blank(password) || blank(userName))
        return refuse("Invalid username/password! ", blank(password) ? password : userName, 2);
    if (blank(superUserName) || blank(superUserPassword))
        return refuse("Invalid username/password for editing pettycash records! ",
                      blank(superUserName) ? superUserName : superUserPassword, 2);
    if (refuseSameUserNames()) return false;
    // Passwords the log-in could never match (it trims what is typed and
    // tries the normal password first) would lock a user out.
    if (const std::string problem = logInPasswordProblem(password.text(), superUserPassword.text()); !problem.empty())
        return refuse(problem, password, 1);
    if (!remindDaysReadableAtLogIn(txtFields[kRemindDays].text()))
        return refuse("Remind days must be a whole number from 0 to 32767!", txtFields[kRemindDays], 1);
    return true;
}

void frmpettycashconfig::cmdupdate_Click() {
    if (!logInFieldsAccepted()) return;
    AppState& state = appState();
    const bool noAdvanceMode = noAdvanceModeFrom(Check1[kNoAdvances], Check1[kAdvances], state.noAdvanceMode);
    const bool costCentreEnabled = Check1[kCostCentres].value() == forms::vbChecked;
    // The options change only once the row holding them is stored.
    if (!storeSettingsRow(datPrimaryRS)) return;
    state.firstRun = false;
    if (noAdvanceMode != state.noAdvanceMode) {
        state.noAdvanceMode = noAdvanceMode;
        forms::ui().beep();
        forms::ui().msgBox(
            "You have changed the advance payment option. This change will be reflected the next time you log-in !");
    }
    if (costCentreEnabled != state.costCentreEnabled) {
        state.costCentreEnabled = costCentreEnabled;
        forms::ui().beep();
        forms::ui().msgBox(
            "You have changed the cost-centre/project option. This change will be reflected the next time you log-in "
            "!");
    }
}

void frmpettycashconfig::cmdupdate_LostFocus() { refuseSameUserNames(); }

void frmpettycashconfig::cmdquickhelp_Click(int index) { forms::ui().msgBox(helpText(index)); }

void frmpettycashconfig::cmdclose_Click() {
    datPrimaryRS.releaseRecordset();
    unload();
}

}  // namespace petty
