#include "petty/shell/pettycash_config_small.h"

#include <gtest/gtest.h>

#include "petty/shell/pettycash_main.h"
#include "petty/shell/settings_test_support.h"

namespace petty {
namespace {

using forms::vbChecked;
using forms::vbUnchecked;
using Window = frmpettycashconfigSmall;

class QuickConfigurationTest : public testing::SettingsWindowTest {
protected:
    void work(std::function<void(Window&)> script) {
        open<Window>(CommandWindow::QuickConfiguration, "frmpettycashconfigSmall", std::move(script));
    }
    // The options as the log-in read them from the row.
    void logInOptions(bool noAdvanceMode, bool costCentreEnabled) {
        appState().noAdvanceMode = noAdvanceMode;
        appState().costCentreEnabled = costCentreEnabled;
        appState().firstRun = true;
    }
};

TEST_F(QuickConfigurationTest, AsksTheTwoQuestions) {
    setSetting("enablecostcentre", true);
    work([](Window& w) {
        EXPECT_EQ(w.caption(), "Quick configuration");
        EXPECT_EQ(w.Label5.caption(), "Do you need a cost-centre/project column ?");
        EXPECT_EQ(w.Label4.caption(), "Do you issue pettycash amount in advance?");
        EXPECT_EQ(w.Check1[4].caption(), "Add cost centre column for all expense transactions");
        EXPECT_EQ(w.Check1[4].value(), vbChecked);
        EXPECT_EQ(w.Check1[0].value(), vbUnchecked);
        EXPECT_EQ(w.Check1[1].value(), vbChecked);
        EXPECT_EQ(w.cmdupdate.caption(), "Continue");
        EXPECT_EQ(w.cmdupdate.backColor(), forms::vbWhite);
        EXPECT_EQ(w.cmdquickhelp.backColor(), forms::vbWhite);
        EXPECT_EQ(w.cmdquickhelp.toolTip(), "Quick help on this screen");
        EXPECT_TRUE(w.Check1[4].hasFocus());
        forms::user::click(w.cmdclose);
    });
}

TEST_F(QuickConfigurationTest, ContinueStoresBothOptionsAndSetsThem) {
    struct Case {
        const char* what;
        bool storedNoAdvance, storedAdvance;  // the advance pair as stored
        bool logInNoAdvance;                  // noAdvanceMode as the log-in set it
        std::vector<int> clicks;
        bool noAdvanceMode, costCentreEnabled;
    };
    const Case cases[] = {
        {"as offered", false, true, false, {}, false, false},
        {"no advances, cost centres", false, true, false, {0, 4}, true, true},
        {"advances again", true, false, true, {1}, false, false},
        {"neither advance box ticked", false, false, true, {}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(bookPath(folder.path()));
        createBook(folder.path(), testing::kNormalPassword, testing::kApprovalPassword);
        setSetting("NOADVANCE", c.storedNoAdvance);
        setSetting("yesadvance", c.storedAdvance);
        logInOptions(c.logInNoAdvance, false);
        work([&c](Window& w) {
            for (int index : c.clicks) forms::user::click(w.Check1[index]);
            forms::user::click(w.cmdupdate);
            EXPECT_FALSE(w.isLoaded());
        });
        EXPECT_TRUE(ui.journal().empty());  // no question and no message
        EXPECT_EQ(appState().noAdvanceMode, c.noAdvanceMode);
        EXPECT_EQ(appState().costCentreEnabled, c.costCentreEnabled);
        EXPECT_EQ(stored("enablecostcentre").asBool(), c.costCentreEnabled);
        if (!c.clicks.empty()) EXPECT_EQ(stored("NOADVANCE").asBool(), c.noAdvanceMode);
        EXPECT_TRUE(optionsStored());
        EXPECT_FALSE(appState().firstRun);
    }
}

TEST_F(QuickConfigurationTest, CloseSetsTheAdvanceOptionForThisRunOnly) {
    setSetting("NOADVANCE", true);
    setSetting("yesadvance", false);
    logInOptions(true, false);
    const std::vector<jet::Value> before = settingsRow();
    work([](Window& w) {
        forms::user::click(w.Check1[1]);
        forms::user::click(w.Check1[4]);
        EXPECT_EQ(w.Check1[0].value(), vbUnchecked);
        forms::user::click(w.cmdclose);
    });
    EXPECT_FALSE(appState().noAdvanceMode);
    EXPECT_FALSE(appState().costCentreEnabled);
    EXPECT_EQ(settingsRow(), before);
    EXPECT_FALSE(optionsStored());
    EXPECT_TRUE(appState().firstRun);
}

TEST_F(QuickConfigurationTest, TheTitleBarClosesWithoutChangingAnything) {
    const std::vector<jet::Value> before = settingsRow();
    logInOptions(false, false);
    work([](Window& w) {
        forms::user::click(w.Check1[0]);
        forms::user::click(w.Check1[4]);
        EXPECT_TRUE(forms::user::closeForm(w));
    });
    EXPECT_FALSE(appState().noAdvanceMode);
    EXPECT_FALSE(appState().costCentreEnabled);
    EXPECT_EQ(settingsRow(), before);
}

TEST_F(QuickConfigurationTest, AFailedWriteIsReportedAndTheWindowStays) {
    refuseSettingsWrites();
    const std::vector<jet::Value> before = settingsRow();
    logInOptions(false, false);
    const std::string failure = "The settings could not be saved: Error 3000 - Reserved error (refused).";
    work([this, &failure](Window& w) {
        forms::user::click(w.Check1[4]);
        forms::user::click(w.Check1[0]);
        ui.expectMessage(failure);
        forms::user::click(w.cmdupdate);
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: " + failure}));
        EXPECT_TRUE(w.visible());
        EXPECT_FALSE(appState().costCentreEnabled);
        EXPECT_FALSE(appState().noAdvanceMode);
        EXPECT_EQ(w.Check1[4].value(), vbChecked);  // the choice is still on the screen

        allowSettingsWrites();
        forms::user::click(w.cmdupdate);
        EXPECT_FALSE(w.isLoaded());
    });
    EXPECT_NE(settingsRow(), before);
    EXPECT_TRUE(stored("enablecostcentre").asBool());
    EXPECT_TRUE(stored("NOADVANCE").asBool());
    EXPECT_TRUE(appState().costCentreEnabled);
    EXPECT_TRUE(appState().noAdvanceMode);
}

TEST_F(QuickConfigurationTest, QuickHelpExplainsAdvances) {
    work([this](Window& w) {
        ui.expectMessage(
            "Advance pettyash : Before the expense actually happens, an employee may ask for advance amount to manage "
            "expenses. In this case, the employee comes back, gives you the bills and then settles the amount. Till "
            "the settlement is done completely, the advance amount entry and other settlement entries made against "
            "this advance amount will be marked as unsettled. You cannot close pettycash (closing "
            "week/monthly/bi-monthly or any other interval) without settling advances.");
        forms::user::click(w.cmdquickhelp);
        forms::user::click(w.cmdclose);
    });
}

// The main window shows it before the register while the book was never
// configured, and no more once Continue has stored the options.
TEST_F(QuickConfigurationTest, OpensAtStartUntilTheOptionsAreStored) {
    std::vector<std::string> registerSaw;  // the cost-centre option when the register opened
    registerCommandWindow(CommandWindow::Register, [&registerSaw] {
        registerSaw.push_back(appState().costCentreEnabled ? "cost centres" : "none");
    });
    const auto start = [this] {
        formInstances().releaseAll();
        appState().firstRun = firstRunOf(bookPath(folder.path()));
        appState().costCentreEnabled = false;
        formInstances().get<Pettycashmain>().show();
    };

    host.expectModal<Window>("frmpettycashconfigSmall", [](Window& w) { forms::user::click(w.cmdclose); });
    start();
    host.expectModal<Window>("frmpettycashconfigSmall", [](Window& w) {
        forms::user::click(w.Check1[4]);
        forms::user::click(w.cmdupdate);
    });
    start();
    start();
    EXPECT_EQ(host.modalsShown(), (std::vector<std::string>{"frmpettycashconfigSmall", "frmpettycashconfigSmall"}));
    EXPECT_EQ(registerSaw, (std::vector<std::string>{"none", "cost centres", "none"}));
    EXPECT_TRUE(stored("enablecostcentre").asBool());  // read by the log-in at the next start
}

}  // namespace
}  // namespace petty
