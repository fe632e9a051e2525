#include "petty/shell/pettycash_config_small.h"

#include "petty/shell/app_state.h"
#include "petty/shell/program_cursor.h"
#include "petty/shell/settings_row.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

using settings_box::kAdvances;
using settings_box::kBackupFolder;
using settings_box::kCostCentres;
using settings_box::kNoAdvances;

// Layout, in twips.
constexpr int kLeft = 240;
constexpr int kWidth = 8520;
constexpr int kInnerLeft = 180;
constexpr int kInnerWidth = 8160;

}  // namespace

frmpettycashconfigSmall::frmpettycashconfigSmall() : Form("frmpettycashconfigSmall") {
    layOut();
    setUpSettingsData(datPrimaryRS);
    Check1[kCostCentres].bind(datPrimaryRS, "enablecostcentre");
    Check1[kNoAdvances].bind(datPrimaryRS, "NOADVANCE");
    Check1[kAdvances].bind(datPrimaryRS, "yesadvance");

    onLoad = [this] { Form_Load(); };
    Check1[kNoAdvances].onClick = [this] { keepOneOfPairTicked(Check1[kNoAdvances], Check1[kAdvances]); };
    Check1[kAdvances].onClick = [this] { keepOneOfPairTicked(Check1[kAdvances], Check1[kNoAdvances]); };
    cmdupdate.onClick = [this] { cmdupdate_Click(); };
    cmdclose.onClick = [this] { cmdclose_Click(); };
    cmdquickhelp.onClick = [this] { cmdquickhelp_Click(); };
}

void frmpettycashconfigSmall::layOut() {
    setCaption("Quick configuration");
    move(0, 0, 9000, 6420);
    const auto checkBox = [this](forms::Frame& in, int index, const char* caption, int top) {
        forms::CheckBox& box = Check1.add(index);
        box.setContainer(in);
        box.setCaption(caption);
        box.move(kInnerLeft, top, kInnerWidth, 315);
    };

    Label5.setCaption("Do you need a cost-centre/project column ?");
    Label5.move(kLeft, 180, kWidth, 285);
    fraCostCentre.setCaption("Cost-centre / Project column");
    fraCostCentre.move(kLeft, 480, kWidth, 720);
    checkBox(fraCostCentre, kCostCentres, settings_caption::kCostCentres, 300);

    fraBackup.setCaption(settings_caption::kBackupFrame);
    fraBackup.move(kLeft, 1320, kWidth, 720);
    forms::Label& backupLabel = lblLabels.add(kBackupFolder);
    backupLabel.setContainer(fraBackup);
    backupLabel.setCaption(settings_caption::kBackupLabel);
    backupLabel.move(kInnerLeft, 330, 1380, 285);
    forms::TextBox& backupFolder = txtFields.add(kBackupFolder);
    backupFolder.setContainer(fraBackup);
    backupFolder.setToolTip(settings_caption::kBackupToolTip);
    backupFolder.move(1620, 300, 6720, 315);

    Label4.setCaption("Do you issue pettycash amount in advance?");
    Label4.move(kLeft, 2220, kWidth, 285);
    fraAdvances.setCaption("Advance for future expenses");
    fraAdvances.move(kLeft, 2520, kWidth, 2580);
    checkBox(fraAdvances, kNoAdvances, settings_caption::kNoAdvances, 300);
    Label2.setContainer(fraAdvances);
    Label2.setCaption(settings_caption::kNoAdvancesMeaning);
    Label2.move(480, 630, 7860, 480);
    checkBox(fraAdvances, kAdvances, settings_caption::kAdvances, 1170);
    Label1.setContainer(fraAdvances);
    Label1.setCaption(
        "Receiver comes back to us with details of expenses and settle the account. If the net expense is  more than "
        "advance, settlement amount is  given to him/her.  If the net expense is less than advance taken, settlement "
        "amount is taken back from him/her. If  net expense is equal to advance then  no settlement is required.");
    Label1.move(480, 1500, 7860, 960);

    Label3.setCaption("Note: You can change this anytime later in configurations module.");
    Label3.move(kLeft, 5220, kWidth, 285);

    cmdquickhelp.setCaption("Quick help");
    cmdquickhelp.setToolTip("Quick help on this screen");
    cmdquickhelp.move(kLeft, 5700, 1500, 450);
    cmdupdate.setCaption("Continue");
    cmdupdate.setToolTip(
        "Save the changes, and start pettycash. You can also change this configuraion later  using the configuration "
        "button inside.");
    cmdupdate.move(5700, 5700, 1440, 450);
    cmdclose.setCaption("Close");
    cmdclose.move(7320, 5700, 1440, 450);
    // Tab order as on the screen: the boxes first, then the buttons.
    const int last = static_cast<int>(controls().size());
    cmdquickhelp.setTabIndex(last);
    cmdupdate.setTabIndex(last + 1);
    cmdclose.setTabIndex(last + 2);
}

void frmpettycashconfigSmall::Form_Load() {
    skipOnFailure([this] {
        cmdupdate.setBackColor(forms::vbWhite);
        cmdquickhelp.setBackColor(forms::vbWhite);
    });
    skipOnFailure([this] { openSettingsRow(datPrimaryRS); });
    skipOnFailure([] { useProgramCursor(); });
}

void frmpettycashconfigSmall::cmdupdate_Click() {
    const bool costCentreEnabled = Check1[kCostCentres].value() == forms::vbChecked;
    // The option changes only once the row holding it is stored; a failed
    // write keeps the window open with the choice on the screen.
    if (!storeSettingsRow(datPrimaryRS)) return;
    appState().costCentreEnabled = costCentreEnabled;
    appState().firstRun = false;
    cmdclose_Click();
}

void frmpettycashconfigSmall::cmdclose_Click() {
    AppState& state = appState();
    state.noAdvanceMode = noAdvanceModeFrom(Check1[kNoAdvances], Check1[kAdvances], state.noAdvanceMode);
    datPrimaryRS.releaseRecordset();
    unload();
}

void frmpettycashconfigSmall::cmdquickhelp_Click() {
    forms::ui().msgBox(
        "Advance pettyash : Before the expense actually happens, an employee may ask for advance amount to manage "
        "expenses. In this case, the employee comes back, gives you the bills and then settles the amount. Till the "
        "settlement is done completely, the advance amount entry and other settlement entries made against this "
        "advance amount will be marked as unsettled. You cannot close pettycash (closing week/monthly/bi-monthly or "
        "any other interval) without settling advances.");
}

}  // namespace petty
