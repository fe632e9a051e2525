#include "petty/reports/reppettycash.h"

#include <gtest/gtest.h>

#include "petty/reports/report_file_names.h"
#include "petty/reports/reports_test_support.h"
#include "platform/forms/test_support.h"
#include "platform/vb/clock.h"
#include "platform/vb/date_text.h"

namespace petty {
namespace {

namespace user = forms::user;
using forms::vbChecked;

std::string shortDate(int year, int month, int day) {
    return vb::formatShortDate(*vb::DateTime::fromParts(year, month, day));
}

class ReportChooserTest : public testing::ReportsTest {
protected:
    // The window as the main window opens it, worked by the script, then its calls.
    std::vector<std::string> session(const std::function<void(reppettycash&)>& script) {
        reppettycash window;
        window.show();
        script(window);
        std::vector<std::string> calls = window.CrystalReport1.callTexts();
        window.unload();
        return calls;
    }
    std::string file(const std::string& name) const { return appState().appFolder + name; }

    // What every run sends once the report file is found: the formulas, the switches, the sub-report's connect string, the run.
    std::vector<std::string> runTail(const std::string& reportFile, const std::string& title, bool ledger,
                                     const std::string& subreport) const {
        std::vector<std::string> calls = {
            "3?=\"" + file(reportFile) + "\"", "29[1]:=\"TITLE= '" + title + "'\"",
            "29[0]:=\"company= 'Rao & D''Souza'\"", "120:=false", std::string("115:=") + (ledger ? "false" : "true"),
            "124:=true", "117:=true", "119:=true", "121:=true", "118:=true", "125:=true",
            "8:=\"Petty-cash reports\"", "20:=\";pwd=wobrelt\"",
            "109?=" + std::string(subreport.empty() ? "0" : "1")};
        if (!subreport.empty()) {
            calls.push_back("110[0]?=\"" + subreport + "\"");
            calls.push_back("108:=\"" + subreport + "\"");
            calls.push_back("20:=\";pwd=wobrelt\"");
            calls.push_back("108:=\"\"");
        }
        calls.push_back("17:=1");
        return calls;
    }
    std::vector<std::string> head() const {
        return {"112()", "32[0]:=\"" + appState().businessDbPath + "\""};
    }
    static std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST_F(ReportChooserTest, OpensOnTheLedgerOfTheOpenPeriodForAllStaff) {
    reppettycash window;
    window.show();
    EXPECT_EQ(window.caption(), "Petty-cash reports");
    EXPECT_TRUE(window.Option2[1].value());
    EXPECT_EQ(window.Text2.text(), std::to_string(testing::kOpenPeriod));
    EXPECT_EQ(window.Check1[1].value(), vbChecked);
    EXPECT_EQ(window.Check1[2].value(), forms::vbUnchecked);
    EXPECT_FALSE(window.Check1[2].enabled());
    EXPECT_EQ(window.Check2[0].value(), vbChecked);
    EXPECT_FALSE(window.Frame3.enabled());
    EXPECT_FALSE(window.CheckExpenseonly.enabled());
    EXPECT_FALSE(window.Frame1.visible());
    EXPECT_FALSE(window.Option2[11].enabled());
    EXPECT_TRUE(window.Option2[8].enabled());
    EXPECT_EQ(window.DBCombo1.items(), (std::vector<std::string>{"Asha", "Bina", "O'Brien"}));
    EXPECT_EQ(window.Text4[0].text(), vb::formatShortDate(vb::today()));
    window.unload();
}

TEST_F(ReportChooserTest, NoControlCoversAnotherInTheWindowOrItsFrames) {
    reppettycash window;
    window.show();
    EXPECT_TRUE(forms::testing::controlsCutOff(window).empty());
    const std::vector<forms::Control*>& controls = window.controls();
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const forms::Control& a = *controls[i];
            const forms::Control& b = *controls[j];
            if (a.container() != b.container() || a.kind() == forms::ControlKind::Data ||
                b.kind() == forms::ControlKind::Data)
                continue;
            const bool apart = a.left() + a.width() <= b.left() || b.left() + b.width() <= a.left() ||
                               a.top() + a.height() <= b.top() || b.top() + b.height() <= a.top();
            const bool nested = &a == b.container() || &b == a.container();
            EXPECT_TRUE(apart || nested) << a.displayName() << " covers " << b.displayName();
        }
    window.unload();
}

TEST_F(ReportChooserTest, ABookWithNoOpenPeriodOffersTheLatestAndAnEmptyBookNone) {
    book().execute("UPDATE pettycash SET [Closed] = 'Yes'");
    {
        reppettycash window;
        window.show();
        EXPECT_EQ(window.Text2.text(), std::to_string(testing::kOpenPeriod));
        window.unload();
    }
    book().execute("DELETE FROM pettycash");
    reppettycash window;
    window.show();
    EXPECT_EQ(window.Text2.text(), "");
    for (int i : {0, 1, 2}) EXPECT_EQ(window.Check1[i].value(), forms::vbUnchecked) << i;
    window.unload();
}

TEST_F(ReportChooserTest, ReportTypesReleaseAndForceTheFiltersAsEachAllows) {
    appState().costCentreEnabled = true;
    reppettycash window;
    window.show();
    // An expense report accepts every filter and always carries "Expenses only".
    user::click(window.Option2[4]);
    EXPECT_TRUE(window.Check1[2].enabled());
    EXPECT_TRUE(window.Frame3.enabled());
    EXPECT_EQ(window.CheckExpenseonly.value(), vbChecked);
    // Typing two dates ticks the date range and unticks the period.
    user::editText(window.Text4[0], shortDate(2024, 5, 1));
    EXPECT_EQ(window.Check1[2].value(), vbChecked);
    EXPECT_EQ(window.Check1[1].value(), forms::vbUnchecked);
    // Picking a name ticks "staff/receiver =".
    user::selectComboItem(window.DBCombo1, "Bina");
    EXPECT_EQ(window.Check2[1].value(), vbChecked);
    EXPECT_EQ(window.Check2[0].value(), forms::vbUnchecked);
    // The custom report leaves the filters as they were, but not "Expenses only".
    user::click(window.Option2[10]);
    EXPECT_EQ(window.Check1[2].value(), vbChecked);
    EXPECT_EQ(window.CheckExpenseonly.value(), forms::vbUnchecked);
    // The ledger clears a chosen cost centre and keeps it disabled from then on.
    window.Text1.setText("Site 4");
    user::click(window.Option2[1]);
    EXPECT_EQ(window.Text1.text(), "");
    EXPECT_EQ(window.Check1[2].value(), forms::vbUnchecked);
    EXPECT_EQ(window.Check2[0].value(), vbChecked);
    user::click(window.Option2[12]);
    EXPECT_TRUE(window.Frame1.enabled());
    EXPECT_FALSE(window.Text1.enabled());
    window.unload();
}

struct Session {
    const char* name;
    bool advances = true;
    bool costCentres = false;
    std::function<void(reppettycash&)> script;
    const char* reportFile = nullptr;  // nullptr: the run stops before the report file is read back
    std::vector<std::string> between;  // the calls between the data file and the report file's read-back
    const char* title = "";
    const char* subreport = "";
    bool ledger = false;  // the ledger runs without the group list
    std::vector<std::string> messages;
};

TEST_F(ReportChooserTest, EachSessionDrivesTheControlInTheExactOrderWithTheBuiltFormulas) {
    const std::string open = std::to_string(testing::kOpenPeriod);
    const auto pick = [](int option) { return [option](reppettycash& w) { user::click(w.Option2[option]); }; };
    const Session sessions[] = {
        {.name = "ledger of the open period",
         .script = [](reppettycash&) {},
         .reportFile = "pettycash1a.rpt",
         .between = {"3:=\"F:pettycash1a.rpt\"", "13:=\"{pettycash.termid} =" + open + "\""},
         .title = " Pettycash Term ID : 2405151430   - All staff ",
         .subreport = "Expense head summary",
         .ledger = true},
        {.name = "ledger exported, cost centres, no advances",
         .advances = false,
         .costCentres = true,
         .script = [](reppettycash& w) { user::click(w.Check5); },
         .reportFile = "pettycash0cc.rpt",
         .between = {"24:=2", "25:=9", "3:=\"F:pettycash0cc.rpt\"", "13:=\"{pettycash.termid} =" + open + "\""},
         .title = " Pettycash Term ID : 2405151430   - All staff ",
         .ledger = true},
        {.name = "receivers, one employee with a quote in the name, all periods",
         .costCentres = true,
         .script =
             [](reppettycash& w) {
                 user::click(w.Option2[2]);
                 user::click(w.Check1[0]);
                 user::selectComboItem(w.DBCombo1, "O'Brien");
             },
         .reportFile = "pettycash2acc.rpt",
         .between = {"3:=\"F:pettycash2acc.rpt\"",
                     "13:=\"{pettycash.termid} > 0   and {pettycash.EMPLOYEE}= 'O''Brien'\""},
         .title = " All pettycash records till date  - Receiver : O'Brien  "},
        {.name = "unsettled advances, summary only",
         .script =
             [](reppettycash& w) {
                 user::click(w.Option2[8]);
                 user::click(w.Check3);
             },
         .reportFile = "pettycash8a.rpt",
         .between = {"3:=\"F:pettycash8a.rpt\"",
                     "13:=\"{pettycash.termid} =" + open +
                         "  and {pettycash.matchrequired}='Yes' and ({pettycash.matched}='No' or "
                         "{pettycash.matched}='' or isnull({pettycash.matched})=true ) \""},
         .title = " Pettycash Term ID : 2405151430   - All staff "},
        {.name = "expense heads over a date range for a cost centre with a quote",
         .costCentres = true,
         .script =
             [](reppettycash& w) {
                 user::click(w.Option2[4]);
                 user::editText(w.Text4[0], shortDate(2024, 5, 1));
                 user::editText(w.Text4[1], shortDate(2024, 5, 31));
                 w.Text1.setText("Expo's");
             },
         .reportFile = "pettycash4.rpt",
         .between = {"3:=\"F:pettycash4.rpt\"",
                     "13:=\"({pettycash.Date} >=date( 2024, 5, 1) and {pettycash.Date} <=date( 2024, 5, 31))"
                     "  and isnull({pettycash.HEAD})=false and {pettycash.HEAD} <> ''   and "
                     "isnull({pettycash.projectcode})=false and {pettycash.projectcode} = 'Expo''s' \""},
         .title = ""},
        {.name = "no period box ticked",
         .script = [](reppettycash& w) { user::click(w.Check1[1]); },
         .messages = {"Select one of the options !"}},
        {.name = "one employee but no name",
         .script =
             [](reppettycash& w) {
                 user::click(w.Option2[2]);
                 user::click(w.Check2[1]);
             },
         .messages = {"Select employee !"}},
        {.name = "a date that is no date",
         .script =
             [](reppettycash& w) {
                 user::click(w.Option2[3]);
                 user::click(w.Check1[2]);
                 user::editText(w.Text4[1], "31/31/2024");
             },
         .messages = {"Wrong date format !"}},
    };
    for (const Session& s : sessions) {
        SCOPED_TRACE(s.name);
        appState().noAdvanceMode = !s.advances;
        appState().costCentreEnabled = s.costCentres;
        ui.clearJournal();
        for (const std::string& m : s.messages) ui.expectMessage(m);
        const std::vector<std::string> calls = session([&](reppettycash& w) {
            s.script(w);
            user::click(w.cmdreport);
        });
        std::vector<std::string> expected = head();
        for (std::string call : s.between) {
            if (const size_t at = call.find("F:"); at != std::string::npos) call.replace(at, 2, appState().appFolder);
            expected.push_back(call);
        }
        if (s.reportFile) {
            std::string title = s.title;
            if (std::string(s.name).find("date range") != std::string::npos)
                title = " Date Between : " + shortDate(2024, 5, 1) + " and " + shortDate(2024, 5, 31) +
                        " - All staff   Cost-centre: Expo's  - expenses only ";
            std::string quoted;
            for (char c : title) quoted += c == '\'' ? std::string("''") : std::string(1, c);
            expected = join(expected, runTail(s.reportFile, quoted, s.ledger,
                                              s.subreport));
        }
        EXPECT_EQ(calls, expected);
        EXPECT_EQ(ui.messages(), s.messages);
        EXPECT_EQ(ui.beepCount(), static_cast<int>(s.messages.size()));
        if (s.reportFile) EXPECT_EQ(ui.mousePointerHistory().back(), forms::vbCustom);
    }
}

TEST_F(ReportChooserTest, TheRunLoadsTheProgramsCursorFromTheProgramFolder) {
    std::ofstream(folder / "H_Point.cur") << "cursor";
    session([](reppettycash& w) { user::click(w.cmdreport); });
    EXPECT_EQ(ui.mouseIcon(), (folder / "H_Point.cur").string());
    EXPECT_EQ(ui.mousePointerHistory(), (std::vector<int>{forms::vbHourglass, forms::vbCustom}));
}

TEST_F(ReportChooserTest, AMissingReportFileStopsTheRunAfterTheFormulaWithTheCheckMessage) {
    std::filesystem::remove(folder / "custom.rpt");
    ui.expectMessage(file("custom.rpt") + " : This custom report is not found! This is an optional report provided on "
                                          "request! If you need a customised report, send and email to "
                                          "support@kelvra.example with details.");
    const std::vector<std::string> calls = session([](reppettycash& w) {
        user::click(w.Option2[10]);
        user::click(w.cmdreport);
    });
    EXPECT_EQ(calls, join(head(), {"3:=\"" + file("custom.rpt") + "\"",
                                   "13:=\"{pettycash.termid} =" + std::to_string(testing::kOpenPeriod) + "\"",
                                   "3?=\"" + file("custom.rpt") + "\""}));
    EXPECT_TRUE(output.previews.empty());
}

TEST_F(ReportChooserTest, AnErrorOfTheReportEngineBringsNoMessageOfTheWindowAndTheWindowStaysOpen) {
    appState().companyName = "";
    std::filesystem::path file = folder / "pettycash1a.rpt";
    std::ofstream(file) << "[report]\nlayout = nothing\n";
    reppettycash window;
    window.show();
    user::click(window.cmdreport);
    EXPECT_TRUE(window.isLoaded());
    EXPECT_TRUE(ui.messages().empty());
    ASSERT_EQ(output.errors.size(), 1u);  // the engine's own message
    EXPECT_NE(output.errors[0].find("unknown layout"), std::string::npos);
    EXPECT_EQ(ui.mousePointerHistory().back(), forms::vbCustom);
    window.unload();
}

TEST(ReportFileNames, FollowTheOptionsAndTheBooksSettings) {
    struct Case {
        ReportFileChoice choice;
        const char* file;
    };
    const Case cases[] = {
        {{.option = 0}, "pettycash6s.rpt"},
        {{.option = 1, .advances = false}, "pettycash1.rpt"},
        {{.option = 1, .advances = false, .costCentres = true}, "pettycash1cc.rpt"},
        {{.option = 1}, "pettycash1a.rpt"},
        {{.option = 1, .costCentres = true}, "pettycash1acc.rpt"},
        {{.option = 1, .excelExport = true, .advances = false}, "pettycash0.rpt"},
        {{.option = 1, .excelExport = true, .costCentres = true}, "pettycash0acc.rpt"},
        {{.option = 2, .excelExport = true, .advances = false, .costCentres = true}, "pettycash2cc.rpt"},
        {{.option = 2}, "pettycash2a.rpt"},
        {{.option = 3, .costCentres = true}, "pettycash3.rpt"},
        {{.option = 7}, "pettycash7.rpt"},
        {{.option = 8}, "pettycash8.rpt"},
        {{.option = 8, .summaryOnly = true}, "pettycash8a.rpt"},
        {{.option = 10}, "custom.rpt"},
        {{.option = 11}, "pettycash10.rpt"},
        {{.option = 12}, "pettycash11.rpt"},
        {{.option = 9}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(reportFileName(c.choice), c.file) << c.choice.option;
}

}  // namespace
}  // namespace petty
