#include "petty/shell/pettycash_config.h"

#include <gtest/gtest.h>

#include <map>

#include "petty/shell/pettycash_main.h"
#include "petty/shell/settings_test_support.h"

namespace petty {
namespace {

using forms::vbChecked;
using forms::vbUnchecked;
using Window = frmpettycashconfig;

constexpr const char* kSameNames =
    "User name for normal operations and user name for editing an existing record cannot be same!!";
constexpr const char* kAdvanceChanged =
    "You have changed the advance payment option. This change will be reflected the next time you log-in !";
constexpr const char* kCostCentreChanged =
    "You have changed the cost-centre/project option. This change will be reflected the next time you log-in !";

class ConfigurationTest : public testing::SettingsWindowTest {
protected:
    // Log-in names that differ, so that leaving their boxes is accepted.
    void storeUserNames() {
        setSetting("Username", "Ravi");
        setSetting("ApprovalUsername", "Meera");
    }
    void work(std::function<void(Window&)> script) {
        open<Window>(CommandWindow::Configuration, "frmpettycashconfig", std::move(script));
    }
    // Clicks Save and expects what it shows.
    void save(Window& w, const std::vector<std::string>& messages) {
        ui.clearJournal();
        for (const std::string& m : messages) ui.expectMessage(m);
        forms::user::click(w.cmdupdate);
    }
};

TEST_F(ConfigurationTest, ShowsTheSettingsRow) {
    storeUserNames();
    setSetting("reminddays", 7);
    setSetting("enablecostcentre", true);
    setSetting("sendmail", true);
    appState().companyName = "Acme Traders";
    writeFile(folder / "H_POINT.cur");
    work([this](Window& w) {
        EXPECT_EQ(w.caption(), "Configuration");
        EXPECT_EQ(w.lblHeading.caption(), "Ostrelle Configuration");
        const std::pair<int, std::string> texts[] = {{1, "Ravi"},  {0, "Secret1"}, {2, "Meera"},       {3, "Boss2"},
                                                     {5, "7"},     {4, ""},        {10, "Acme Traders"}};
        for (const auto& [index, text] : texts) EXPECT_EQ(w.txtFields[index].text(), text) << index;
        for (int index : {0, 3}) EXPECT_EQ(w.txtFields[index].passwordChar(), '*') << index;
        const std::pair<int, int> ticks[] = {{2, vbUnchecked}, {0, vbUnchecked}, {1, vbChecked}, {3, vbChecked},
                                             {4, vbChecked},   {5, vbChecked},   {6, vbUnchecked}};
        for (const auto& [index, value] : ticks) EXPECT_EQ(w.Check1[index].value(), value) << index;
        EXPECT_EQ(w.Check1[0].caption(), "We strictly do not give advances from pettycash.");
        EXPECT_EQ(w.Check1[1].caption(), "Sometimes we give advances to pettycash receivers. ");
        EXPECT_EQ(w.lblLabels[11].caption(), "Company:");
        EXPECT_EQ(w.txtFields[4].toolTip(), "Folder or drive for database back-up");
        EXPECT_TRUE(w.txtFields[1].hasFocus());
        EXPECT_EQ(ui.mouseIcon(), (folder / "H_POINT.cur").string());
        forms::user::click(w.cmdclose);
    });
    EXPECT_TRUE(ui.journal().empty());
}

// Two names given and alike are refused: the super-user name is emptied and
// takes the focus; the super-user password stays. Empty boxes are no clash.
TEST_F(ConfigurationTest, LeavingAUserNameBoxRefusesTheSameName) {
    struct Case {
        const char* what;
        bool namesStored;
        const char* typedSuperUser;  // nullptr: nothing typed, the user-name box is left
        bool refused;
    };
    const Case cases[] = {
        {"both empty", false, nullptr, false},
        {"same name", true, "Ravi", true},
        {"other letter case", true, "ravi", false},
        {"trailing blank", true, "Ravi ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setSetting("Username", c.namesStored ? jet::Value("Ravi") : jet::Value());
        setSetting("ApprovalUsername", c.namesStored ? jet::Value("Meera") : jet::Value());
        ui.clearJournal();
        work([&c, this](Window& w) {
            if (c.typedSuperUser) forms::user::editText(w.txtFields[2], c.typedSuperUser);
            if (c.refused) ui.expectMessage(kSameNames);
            forms::user::click(w.txtFields[0]);
            if (c.refused) {
                EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + kSameNames}));
                EXPECT_EQ(w.txtFields[2].text(), "");
                EXPECT_EQ(w.txtFields[3].text(), "Boss2");
                EXPECT_TRUE(w.txtFields[2].hasFocus());
            } else {
                EXPECT_TRUE(ui.journal().empty());
                EXPECT_EQ(w.txtFields[3].text(), "Boss2");
                EXPECT_TRUE(w.txtFields[0].hasFocus());
            }
            forms::user::closeForm(w);
        });
    }
}

TEST_F(ConfigurationTest, MovingTheFocusAroundShowsNoMessageAgain) {
    setSetting("Username", jet::Value());
    setSetting("ApprovalUsername", jet::Value());
    setSetting("NOADVANCE", false);
    setSetting("yesadvance", true);
    ui.clearJournal();
    work([this](Window& w) {
        // Back and forth between the two empty name boxes and the Save button: nothing to say.
        for (int round = 0; round < 3; ++round) {
            forms::user::click(w.txtFields[2]);
            forms::user::click(w.txtFields[1]);
        }
        EXPECT_TRUE(ui.journal().empty());
        // Remind days 0 is told once, however often the focus passes the box.
        forms::user::editText(w.txtFields[5], "0");
        ui.expectMessage("Reminder would be turned off, since remind days = 0 !");
        for (int round = 0; round < 3; ++round) {
            forms::user::click(w.txtFields[0]);
            forms::user::click(w.txtFields[5]);
        }
        forms::user::click(w.txtFields[0]);
        EXPECT_EQ(ui.journal().size(), 1u);
        forms::user::click(w.cmdclose);
    });
}

TEST_F(ConfigurationTest, SaveRefusesWhatTheLogInCannotUse) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::string>> typed;  // box index, its new text
        std::vector<std::string> journal;
        int focusedBox;
    };
    const auto refusal = [](int beeps, const std::string& message) {
        std::vector<std::string> lines(static_cast<size_t>(beeps), "beep");
        lines.push_back("msgbox: " + message);
        return lines;
    };
    const Case cases[] = {
        {"no password", {{0, "  "}}, refusal(2, "Invalid username/password! "), 0},
        {"no user name", {{1, ""}}, refusal(2, "Invalid username/password! "), 1},
        {"neither", {{1, ""}, {0, ""}}, refusal(2, "Invalid username/password! "), 0},
        {"no super-user name", {{2, " "}}, refusal(2, "Invalid username/password for editing pettycash records! "), 2},
        {"no super-user password",
         {{3, ""}},
         refusal(2, "Invalid username/password for editing pettycash records! "),
         3},
        {"blank before a password", {{0, " Secret1"}}, refusal(1, "A password cannot start or end with a blank."), 0},
        {"passwords alike but for letter case",
         {{3, "SECRET1"}},
         refusal(1, "The two passwords must differ (letter case does not count at log-in)."),
         0},
        {"remind days beyond what the log-in reads",
         {{5, "40000"}},
         refusal(1, "Remind days must be a whole number from 0 to 32767!"),
         5},
        {"part of a day", {{5, "2.5"}}, refusal(1, "Remind days must be a whole number from 0 to 32767!"), 5},
    };
    storeUserNames();
    const std::vector<jet::Value> before = settingsRow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        work([&c, this](Window& w) {
            forms::user::click(w.Check1[0]);  // an option change that must not happen either
            for (const auto& [index, text] : c.typed) forms::user::editText(w.txtFields[index], text);
            ui.clearJournal();
            for (const std::string& line : c.journal)
                if (line.rfind("msgbox: ", 0) == 0) ui.expectMessage(line.substr(8));
            forms::user::click(w.cmdupdate);
            EXPECT_EQ(ui.journalLines(), c.journal);
            EXPECT_TRUE(w.txtFields[c.focusedBox].hasFocus());
            forms::user::click(w.cmdclose);
        });
        EXPECT_EQ(settingsRow(), before);
        EXPECT_FALSE(appState().noAdvanceMode);
        EXPECT_FALSE(optionsStored());
    }
}

TEST_F(ConfigurationTest, SaveRefusesTheSameUserNameAndEmptiesTheSuperUserName) {
    storeUserNames();
    const std::vector<jet::Value> before = settingsRow();
    work([this](Window& w) {
        forms::user::click(w.txtFields[0]);
        w.txtFields[2].setText("Ravi");  // the focus is no longer in a user-name box
        save(w, {kSameNames});
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + kSameNames}));
        EXPECT_EQ(w.txtFields[2].text(), "");
        EXPECT_EQ(w.txtFields[3].text(), "Boss2");
        EXPECT_TRUE(w.cmdupdate.hasFocus());

        // Leaving the Save button with the names alike refuses them as well,
        // and the focus goes where the user sent it.
        w.txtFields[2].setText("Ravi");
        ui.clearJournal();
        ui.expectMessage(kSameNames);
        forms::user::click(w.txtFields[4]);
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", std::string("msgbox: ") + kSameNames}));
        EXPECT_EQ(w.txtFields[2].text(), "");
        EXPECT_EQ(w.txtFields[3].text(), "Boss2");
        EXPECT_TRUE(w.txtFields[4].hasFocus());
        forms::user::click(w.cmdclose);
    });
    EXPECT_EQ(settingsRow(), before);
}

TEST_F(ConfigurationTest, EachClickKeepsOneBoxOfAPairTicked) {
    struct Case {
        int clicked, partner;
        bool clickedBefore, partnerBefore;  // as stored
        bool partnerAfter;
    };
    const std::map<int, const char*> column = {
        {0, "NOADVANCE"}, {1, "yesadvance"}, {5, "voucherstyle1"}, {6, "Voucherstyle2"}};
    const Case cases[] = {
        {0, 1, false, true, false},  // ticking one unticks the other
        {0, 1, true, false, true},   // unticking one ticks the other
        {1, 0, true, false, true},
        {5, 6, true, false, true},
        {6, 5, false, true, false},
        {0, 1, true, true, true},  // a row with both ticked keeps them; unticking one leaves the other
    };
    storeUserNames();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.clicked) + (c.clickedBefore ? " ticked" : " unticked"));
        setSetting(column.at(c.clicked), c.clickedBefore);
        setSetting(column.at(c.partner), c.partnerBefore);
        work([&c](Window& w) {
            EXPECT_EQ(w.Check1[c.partner].value() == vbChecked, c.partnerBefore);  // loading runs no rule
            forms::user::click(w.Check1[c.clicked]);
            EXPECT_EQ(w.Check1[c.clicked].value() == vbChecked, !c.clickedBefore);
            EXPECT_EQ(w.Check1[c.partner].value() == vbChecked, c.partnerAfter);
            forms::user::click(w.cmdclose);
        });
    }
    for (const auto& [index, name] : column) setSetting(name, index == 1 || index == 5);
    work([](Window& w) {  // the other boxes have no partner
        for (int index : {2, 3, 4}) forms::user::click(w.Check1[index]);
        const int ticks[] = {vbUnchecked, vbChecked, vbChecked, vbChecked, vbChecked, vbChecked, vbUnchecked};
        for (int index = 0; index < 7; ++index) EXPECT_EQ(w.Check1[index].value(), ticks[index]) << index;
        forms::user::click(w.cmdclose);
    });
}

TEST_F(ConfigurationTest, LeavingTheRemindDaysBoxTurnsNonsenseIntoZero) {
    struct Case {
        const char* typed;
        bool advancesGiven;
        const char* after;
        bool notice;
    };
    const Case cases[] = {
        {"abc", true, "0", true},  {"  ", true, "0", true},  {"0", true, "0", true},
        {"00", true, "00", false}, {"12", true, "12", false}, {"x1", false, "0", false},
    };
    storeUserNames();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        setSetting("NOADVANCE", !c.advancesGiven);
        setSetting("yesadvance", c.advancesGiven);
        ui.clearJournal();
        work([&c, this](Window& w) {
            forms::user::editText(w.txtFields[5], c.typed);
            if (c.notice) ui.expectMessage("Reminder would be turned off, since remind days = 0 !");
            forms::user::click(w.txtFields[0]);
            EXPECT_EQ(w.txtFields[5].text(), c.after);
            EXPECT_EQ(ui.beepCount(), 0);
            forms::user::click(w.cmdclose);
        });
    }
}

TEST_F(ConfigurationTest, SaveWritesTheRowAndSwitchesTheOptionsAtOnce) {
    struct Case {
        const char* what;
        std::vector<int> clicks;
        std::vector<std::string> journal;
        bool noAdvanceMode, costCentreEnabled;
    };
    const std::string advance = std::string("msgbox: ") + kAdvanceChanged;
    const std::string costCentre = std::string("msgbox: ") + kCostCentreChanged;
    const Case cases[] = {
        {"no option changed", {}, {}, false, false},
        {"advances", {0}, {"beep", advance}, true, false},
        {"cost centres", {4}, {"beep", costCentre}, false, true},
        {"both", {4, 0}, {"beep", advance, "beep", costCentre}, true, true},
        {"stored-only choices", {2, 3, 6}, {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(bookPath(folder.path()));
        createBook(folder.path(), testing::kNormalPassword, testing::kApprovalPassword);
        storeUserNames();
        appState().noAdvanceMode = false;
        appState().costCentreEnabled = false;
        appState().firstRun = true;
        work([&c, this](Window& w) {
            forms::user::editText(w.txtFields[1], "Ravi K");
            forms::user::editText(w.txtFields[5], "14");
            for (int index : c.clicks) forms::user::click(w.Check1[index]);
            std::vector<std::string> messages;
            for (const std::string& line : c.journal)
                if (line != "beep") messages.push_back(line.substr(8));
            save(w, messages);
            EXPECT_EQ(ui.journalLines(), c.journal);
            EXPECT_EQ(appState().noAdvanceMode, c.noAdvanceMode);
            EXPECT_EQ(appState().costCentreEnabled, c.costCentreEnabled);
            EXPECT_TRUE(w.visible());  // the window stays open
            forms::user::click(w.cmdclose);
        });
        EXPECT_EQ(stored("Username"), jet::Value("Ravi K"));
        EXPECT_EQ(stored("reminddays").asLong(), 14);
        EXPECT_EQ(stored("NOADVANCE").asBool(), c.noAdvanceMode);
        EXPECT_EQ(stored("yesadvance").asBool(), !c.noAdvanceMode);
        EXPECT_EQ(stored("enablecostcentre").asBool(), c.costCentreEnabled);
        const bool storedOnly = std::string(c.what) == "stored-only choices";
        EXPECT_EQ(stored("Approvalrequired").asBool(), storedOnly);
        EXPECT_EQ(stored("sendmail").asBool(), storedOnly);
        EXPECT_EQ(stored("Voucherstyle2").asBool(), storedOnly);
        EXPECT_EQ(stored("voucherstyle1").asBool(), !storedOnly);
        EXPECT_TRUE(optionsStored());
        EXPECT_FALSE(appState().firstRun);
    }
}

TEST_F(ConfigurationTest, AFailedWriteIsReportedAndChangesNothing) {
    storeUserNames();
    refuseSettingsWrites();
    const std::vector<jet::Value> before = settingsRow();
    work([&before, this](Window& w) {
        forms::user::editText(w.txtFields[1], "Ravi K");
        forms::user::click(w.Check1[0]);
        forms::user::click(w.Check1[4]);
        save(w, {"The settings could not be saved: Error 3000 - Reserved error (refused)."});
        EXPECT_EQ(ui.journalLines(),
                  (std::vector<std::string>{"beep", "msgbox: The settings could not be saved: Error 3000 - Reserved error (refused)."}));
        EXPECT_FALSE(appState().noAdvanceMode);
        EXPECT_FALSE(appState().costCentreEnabled);
        EXPECT_EQ(settingsRow(), before);
        EXPECT_FALSE(optionsStored());
        EXPECT_EQ(w.txtFields[1].text(), "Ravi K");  // what was typed is still there

        // Once the book takes writes again, the same Save stores it all.
        allowSettingsWrites();
        save(w, {kAdvanceChanged, kCostCentreChanged});
        forms::user::click(w.cmdclose);
    });
    EXPECT_EQ(stored("Username"), jet::Value("Ravi K"));
    EXPECT_TRUE(stored("NOADVANCE").asBool());
    EXPECT_TRUE(stored("enablecostcentre").asBool());
    EXPECT_TRUE(appState().noAdvanceMode);
    EXPECT_TRUE(optionsStored());
}

TEST_F(ConfigurationTest, ClosingWritesNothing) {
    const std::vector<std::pair<std::string, std::function<void(Window&)>>> ways = {
        {"Close button", [](Window& w) { forms::user::click(w.cmdclose); }},
        {"title bar", [](Window& w) { EXPECT_TRUE(forms::user::closeForm(w)); }},
    };
    storeUserNames();
    const std::vector<jet::Value> before = settingsRow();
    for (const auto& [way, closeWindow] : ways) {
        SCOPED_TRACE(way);
        work([&close = closeWindow](Window& w) {
            forms::user::editText(w.txtFields[1], "Someone else");
            forms::user::click(w.Check1[0]);
            forms::user::click(w.Check1[4]);
            close(w);
            EXPECT_FALSE(w.isLoaded());
        });
        EXPECT_EQ(settingsRow(), before);
        EXPECT_FALSE(appState().noAdvanceMode);
        EXPECT_FALSE(appState().costCentreEnabled);
    }
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(ConfigurationTest, HelpButtonsExplainTheirFrame) {
    const std::pair<int, std::string> helps[] = {
        {1,
         "This is the log-in user name and password for all operations of petty cash, except making any changes "
         "(editing) to a petty cash entry before petty cash entries are closed. (Pettycash is closed every "
         "week/month or any other period and started after afresh after carrying over the balance amount)"},
        {0,
         "Super-user log-in and password is used for only editing (making changes to) an already entered pettycash "
         "record. This way it is possible to know if any changes are made to a record after the record is saved, "
         "since entered by column will change to the editor user name. User name for editing and user name for "
         "normal operations cannot be same"},
        {2,
         "If advance is given to somebody before the expense happens, then the expense amount will have to be "
         "settled with the advance. Till the settlement is done completely, the advance amount entry and other "
         "settlement entries made against this advance amount will be marked as unsettled. You cannot close "
         "pettycash (closing week/monthly/bi-monthly or any other interval) without settling advances."},
        {3,
         "Some businesses would want a project/cost-centre to be associated with some or all expenses. If this "
         "column is required, then you can enable this option. Cost-centre wise reports would also get enabled "
         "along with this."},
        {4,
         "There are two formats provided for printing vouchers. You can select either one of them for printing "
         "vouchers."},
    };
    storeUserNames();
    work([&helps, this](Window& w) {
        for (const auto& [index, text] : helps) {
            SCOPED_TRACE(index);
            ui.clearJournal();
            ui.expectMessage(text);
            forms::user::click(w.cmdquickhelp[index]);
            EXPECT_EQ(ui.journal().size(), 1u);
        }
        EXPECT_EQ(w.cmdquickhelp[3].caption(), "Help");
        EXPECT_EQ(w.cmdquickhelp[1].caption(), "Quick help");
        forms::user::click(w.cmdclose);
    });
}

TEST_F(ConfigurationTest, TheMainWindowsConfigurationCommandOpensIt) {
    storeUserNames();
    Pettycashmain& main = formInstances().get<Pettycashmain>();
    main.show();
    for (forms::Control* way : {static_cast<forms::Control*>(&main.MyButton1[command::kConfiguration]),
                                static_cast<forms::Control*>(&main.menu("mnuConfiguration"))}) {
        SCOPED_TRACE(way->displayName());
        EXPECT_TRUE(way->enabled());
        host.expectModal<Window>("frmpettycashconfig", [](Window& w) {
            EXPECT_TRUE(w.isModal());
            EXPECT_EQ(w.txtFields[1].text(), "Ravi");
            forms::user::click(w.cmdclose);
        });
        EXPECT_TRUE(forms::user::click(*way));
    }
    EXPECT_EQ(host.modalsShown(), (std::vector<std::string>{"frmpettycashconfig", "frmpettycashconfig"}));
}

}  // namespace
}  // namespace petty
