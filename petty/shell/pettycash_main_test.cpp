#include "petty/shell/pettycash_main.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "petty/shell/about_pettycash.h"
#include "petty/shell/shell_test_support.h"
#include "platform/forms/test_support.h"

namespace petty {
namespace {

class MainWindowTest : public testing::ShellTest {
protected:
    MainWindowTest() {
        appState().currentUserName = "Ravi";
    }
    Pettycashmain& window() { return formInstances().get<Pettycashmain>(); }
    Pettycashmain& shown() {
        window().show();
        return window();
    }
    forms::CommandButton& button(int index) { return window().MyButton1[index]; }
    forms::MenuItem& menu(const char* name) { return window().menu(name); }
};

TEST_F(MainWindowTest, OnAScreenOf768LinesTheWindowOpensMaximisedElseAtItsSize) {
    struct Case {
        int width, height;  // pixels
        forms::WindowState state;
    };
    const Case cases[] = {
        {1024, 768, forms::WindowState::Maximized},
        {1366, 768, forms::WindowState::Maximized},
        {1280, 800, forms::WindowState::Maximized},
        {1920, 1080, forms::WindowState::Normal},
        {1600, 900, forms::WindowState::Normal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ui.setScreen({c.width * 15, c.height * 15, 15, 15});
        Pettycashmain& w = shown();
        EXPECT_EQ(w.windowState(), c.state);
        if (c.state == forms::WindowState::Normal)  // with a title bar and a panel it is on the screen
            EXPECT_LE(w.height() + 80 * 15, c.height * 15);
        w.unload();
        formInstances().releaseAll();
    }
}

TEST_F(MainWindowTest, CommandButtonsTopToBottom) {
    struct ButtonCase {
        int index;
        const char* caption;
        const char* toolTip;
    };
    const ButtonCase buttonCases[] = {
        {3, "Pettycash register ", ""},
        {14, "Pend. settlements", "Settlements pending against advances given - quick view"},
        {13, "Pettycash periods ",
         "Quick List of all existing Pettycash periods. Generally every week/month, pettcash is closed and balance "
         "is carried over to next period. "},
        {4, "Pettycash Reports ", "View / print Pettycahs reports +  Excel export option for pettycash register"},
        {5, "Employee master ", "Users / employees who use pettycash."},
        {6, "Expense heads ", "Expenses categorisation"},
        {9, "Cost centres ",
         "Used to configure the project/cost-centres if you are using the field to  manage expenses."},
        {7, "Configuration ", "Confgure pettycash"},
        {2, "Quick Help - PDF ", "5 minutes PDF file. Please take a print outand go through the file."},
        {12, "About Pettycash ", "About Ostrelle application"},
        {10, "Change-log  file  ", "Pettycash Records edited using the edit log-in will be logged and listed here."},
        {11, "Exit  Pettycash  ", "Close the application and exit."},
    };
    int previousTop = -1;
    for (const ButtonCase& s : buttonCases) {
        SCOPED_TRACE(s.index);
        forms::CommandButton& b = button(s.index);
        EXPECT_EQ(b.caption(), s.caption);
        EXPECT_EQ(b.toolTip(), s.toolTip);
        EXPECT_EQ(b.container(), &window().Picture2);
        EXPECT_GT(b.top(), previousTop);
        previousTop = b.top();
    }
    EXPECT_EQ(button(1).caption(), "Ostrelle");
    EXPECT_TRUE(button(1).font().bold);  // the banner's caption stands out
    EXPECT_GT(button(1).font().size, button(3).font().size);
    EXPECT_EQ(button(1).container(), &window().Picture1);
    EXPECT_EQ(button(0).container(), &window().Picture2);
    EXPECT_EQ(window().MyButton1.count(), 14u);
}

TEST_F(MainWindowTest, MenuBarWithItsSeparatorsAndCommands) {
    // Each title with its items: caption and command index (-1: separator).
    const std::vector<std::pair<std::string, std::vector<std::pair<std::string, int>>>> bar = {
        {"&File", {{"Change log", 10}, {"-", -1}, {"E&xit", 11}}},
        {"Pettycash",
         {{"Pettycash register", 3}, {"-", -1}, {"Pending settlements", 14}, {"-", -1},
          {"Pettycash periods - view list", 13}, {"-", -1}, {"Pettycash reports", 4}}},
        {"masters",
         {{"Employee master", 5}, {"-", -1}, {"Expense heads", 6}, {"-", -1}, {"Cost centres", 9}, {"-", -1},
          {"Configuration", 7}}},
        {"About", {{"About Ostrelle", 12}, {"-", -1}, {"Quick help", 2}}},
    };
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, int>>>> found;
    for (forms::Control* c : window().controls()) {
        if (c->kind() != forms::ControlKind::Menu) continue;
        auto* item = static_cast<forms::MenuItem*>(c);
        if (!item->container()) {
            EXPECT_EQ(window().commandOf(*item), -1);
            found.push_back({item->caption(), {}});
        } else {
            ASSERT_FALSE(found.empty());
            EXPECT_EQ(static_cast<forms::MenuItem*>(item->container())->caption(), found.back().first);
            found.back().second.push_back({item->caption(), window().commandOf(*item)});
        }
    }
    EXPECT_EQ(found, bar);
}

TEST_F(MainWindowTest, LoadSetsCaptionPathsAndClosesNoDoor) {
    const auto capitals = folder / "Books" / "MyBook";
    std::filesystem::create_directories(capitals);
    appState().programFolder = capitals.string();
    appState().appFolder = folder.path().string() + "/books/mybook\\";  // as the log-in left it
    appState().registerSaved = false;
    shown();
    EXPECT_EQ(appState().appFolder, capitals.string() + "\\");
    EXPECT_EQ(appState().businessDbPath, capitals.string() + "\\business.mdb");
    EXPECT_EQ(appState().helpFile, capitals.string() + "\\KELVRA.HLP");
    EXPECT_TRUE(appState().registerSaved);
    EXPECT_EQ(window().caption(), "Ostrelle from Kelvra Technologies    User : Ravi");
    EXPECT_FALSE(window().closeBoxEnabled());
    EXPECT_FALSE(forms::user::closeForm(window()));
    EXPECT_TRUE(window().isLoaded());
    window().MyButton1.forEach([](forms::CommandButton& b) { EXPECT_EQ(b.backColor(), forms::vbButtonFace); });
}

TEST_F(MainWindowTest, AnOlderBookGetsTheReportFilesItLacksAndKeepsItsOwn) {
    std::filesystem::remove(folder / "pettycash1.rpt");
    { std::ofstream(folder / "custom.rpt", std::ios::trunc) << "made for this book"; }
    shown();
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "pettycash1.rpt"));
    std::ifstream custom(folder / "custom.rpt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(custom), {}), "made for this book");
}

TEST_F(MainWindowTest, CursorFileBecomesThePointerWhenPresent) {
    shown();
    EXPECT_TRUE(ui.mouseIcon().empty());  // missing: the step is skipped and the load goes on
    EXPECT_EQ(ui.mousePointer(), forms::vbDefault);
    EXPECT_TRUE(appState().registerSaved);

    formInstances().releaseAll();
    writeFile(folder / "H_Point.CUR");
    shown();
    EXPECT_EQ(ui.mouseIcon(), (folder / "H_Point.CUR").string());
    EXPECT_EQ(ui.mousePointer(), forms::vbCustom);
}

TEST_F(MainWindowTest, CommandsWithoutTheirWindowAreNotOffered) {
    shown();
    for (int index : {3, 4, 5, 6, 7, 10, 13}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(button(index).enabled());
        EXPECT_FALSE(forms::user::click(button(index)));
    }
    for (const char* name : {"mnuRegister", "mnuReports", "mnuEmployeeMaster", "mnuExpenseHeads", "mnuConfiguration",
                             "mnuChangeLog", "mnuPeriods"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(menu(name).enabled());
    }
    for (int index : {2, 9, 11, 12, 14}) EXPECT_TRUE(button(index).enabled()) << index;
    for (const char* name : {"mnuQuickHelp", "mnuCostCentres", "mnuExit", "mnuAboutOstrelle", "mnuPendingSettlements"})
        EXPECT_TRUE(menu(name).enabled()) << name;
    window().DispatchCommand(command::kReports);  // the dispatcher does nothing for them either
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(MainWindowTest, RegisteredWindowsOpenFromButtonMenuAndLoad) {
    std::vector<std::string> opened;
    const auto opener = [&opened](std::string name) { return [&opened, name] { opened.push_back(name); }; };
    registerCommandWindow(CommandWindow::Register, opener("register"));
    registerCommandWindow(CommandWindow::Reports, opener("reports"));
    registerCommandWindow(CommandWindow::QuickConfiguration, opener("quick configuration"));
    appState().firstRun = true;
    shown();
    EXPECT_EQ(opened, (std::vector<std::string>{"quick configuration", "register"}));
    EXPECT_TRUE(button(4).enabled());
    EXPECT_TRUE(forms::user::click(button(4)));
    EXPECT_TRUE(forms::user::click(menu("mnuReports")));
    EXPECT_TRUE(forms::user::click(menu("mnuRegister")));
    EXPECT_EQ(opened, (std::vector<std::string>{"quick configuration", "register", "reports", "reports", "register"}));
}

TEST_F(MainWindowTest, NoQuickConfigurationAfterTheFirstRun) {
    bool opened = false;
    registerCommandWindow(CommandWindow::QuickConfiguration, [&opened] { opened = true; });
    shown();
    EXPECT_FALSE(opened);
}

TEST_F(MainWindowTest, DisabledOptionsRefuseFromButtonAndMenu) {
    const std::string costCentres =
        "You have not enabled 'show cost-centres' option in configuration module. To use the project-codes/cost-centres "
        "for pettycash entries, you have to enable the option first!";
    const std::string settlements =
        "As per your configuration, advance payments are not given out! So there will not be any pending settlements!";
    int windowsOpened = 0;
    registerCommandWindow(CommandWindow::CostCentres, [&windowsOpened] { ++windowsOpened; });
    registerCommandWindow(CommandWindow::PendingSettlements, [&windowsOpened] { ++windowsOpened; });
    appState().costCentreEnabled = false;
    appState().noAdvanceMode = true;
    shown();
    struct Case {
        forms::Control* control;
        std::string message;
    };
    for (const Case& c : {Case{&button(9), costCentres}, Case{&menu("mnuCostCentres"), costCentres},
                          Case{&button(14), settlements}, Case{&menu("mnuPendingSettlements"), settlements}}) {
        SCOPED_TRACE(c.control->displayName());
        ui.clearJournal();
        ui.expectMessage(c.message);
        EXPECT_TRUE(forms::user::click(*c.control));
        EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: " + c.message}));
    }
    EXPECT_EQ(windowsOpened, 0);

    appState().costCentreEnabled = true;
    appState().noAdvanceMode = false;
    ui.clearJournal();
    forms::user::click(button(9));
    forms::user::click(menu("mnuPendingSettlements"));
    EXPECT_EQ(windowsOpened, 2);
    EXPECT_TRUE(ui.journal().empty());
}

TEST_F(MainWindowTest, BannerAndStripDoNothing) {
    shown();
    forms::user::click(button(command::kBanner));
    forms::user::click(button(command::kStrip));
    EXPECT_TRUE(ui.journal().empty());
    EXPECT_TRUE(host.modalsShown().empty());
    EXPECT_TRUE(window().isLoaded());
}

// The window stretches the bands along its edges (the Qt frame does); the
// banner and the strip fill their bands and never stand outside them.
TEST_F(MainWindowTest, TheBannerAndTheStripFollowTheirBands) {
    Pettycashmain& w = window();
    shown();
    EXPECT_EQ(button(1).width(), w.Picture1.width());
    EXPECT_EQ(button(0).height(), w.Picture2.height());

    w.Picture1.setWidth(20000);  // a maximised window
    w.Picture2.setHeight(13000);
    EXPECT_EQ(button(1).width(), 20000);
    EXPECT_EQ(button(0).height(), 13000);

    button(1).setWidth(30000);
    button(0).setHeight(30000);
    forms::Form other("other");  // another window becomes active, then the main window again
    other.show();
    forms::user::activateForm(w);
    EXPECT_EQ(button(1).width(), 20000);
    EXPECT_EQ(button(0).height(), 13000);
    other.unload();

    w.Picture2.setHeight(9000);  // a window on a smaller screen
    EXPECT_EQ(button(0).height(), 9000);
}

TEST_F(MainWindowTest, ExitRefusesWhileTheRegisterHoldsAChange) {
    shown();
    appState().registerSaved = false;
    ui.expectMessage("You have made some changes or added a voucher but haven't updated it!! Cannot exit now!!");
    forms::user::click(button(command::kExit));
    EXPECT_EQ(ui.beepCount(), 0);
    EXPECT_TRUE(window().isLoaded());
}

TEST_F(MainWindowTest, ExitAsksAndEndsOnlyOnYes) {
    shown();
    const std::string question = "Are you sure that you want to exit from Ostrelle?";
    ui.expectMessage(question, forms::MsgResult::No);
    forms::user::click(menu("mnuExit"));
    EXPECT_TRUE(window().isLoaded());
    EXPECT_FALSE(host.programEnded());

    ui.expectMessage(question, forms::MsgResult::Yes);
    forms::user::click(button(command::kExit));
    EXPECT_FALSE(window().isLoaded());
    EXPECT_TRUE(host.programEnded());
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"msgbox YesNo: " + question + " -> No",
                                                           "msgbox YesNo: " + question + " -> Yes"}));
}

TEST_F(MainWindowTest, ExitUnloadsTheChildWindowsFirst) {
    forms::Form child("frmpettycash");
    registerCommandWindow(CommandWindow::Register, [&child, this] {
        child.setMdiParent(window());
        child.show();
    });
    shown();
    ASSERT_TRUE(child.isLoaded());
    ui.expectMessage("Are you sure that you want to exit from Ostrelle?", forms::MsgResult::Yes);
    window().DispatchCommand(command::kExit);
    EXPECT_FALSE(child.isLoaded());
    EXPECT_TRUE(host.programEnded());
}

TEST_F(MainWindowTest, OpenDocumentExplainsWhatFails) {
    appState().programFolder = folder.path().string();
    shown();
    const std::string path = folder.path().string() + "/Pettycash.pdf";  // shown with the platform's separator
    // The guide ships with the program: the main window put it into the book's folder.
    ASSERT_TRUE(std::filesystem::is_regular_file(path));
    std::filesystem::remove(path);

    ui.expectMessage("No document specified!");
    window().OpenDocument("");
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"beep", "msgbox: No document specified!"}));

    ui.clearJournal();
    ui.expectMessage("Document does not exist or is in the root!");
    forms::user::click(button(command::kQuickHelp));
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"msgbox: Document does not exist or is in the root!"}));

    writeFile(folder / "PETTYCASH.PDF");  // found whatever its letter case
    ui.clearJournal();
    forms::user::click(menu("mnuQuickHelp"));
    EXPECT_EQ(ui.journalLines(), (std::vector<std::string>{"shell Open: " + (folder / "PETTYCASH.PDF").string() + " -> 42"}));

    ui.clearJournal();
    ui.setShellResult(31);
    std::filesystem::rename(folder / "PETTYCASH.PDF", path);
    ui.expectMessage("No program on this desktop opens Pettycash.pdf; the file is " + path);
    forms::user::click(button(command::kQuickHelp));
    ASSERT_EQ(ui.journal().size(), 2u);
    EXPECT_EQ(ui.journal()[1].icon, forms::MsgIcon::Information);
    EXPECT_EQ(ui.journal()[1].buttons, forms::MsgButtons::OkOnly);
}

TEST_F(MainWindowTest, AboutBoxClosesByKeysAndClicks) {
    const std::vector<std::pair<std::string, std::function<void(frmaboutpettycash&)>>> ways = {
        {"Enter", [](frmaboutpettycash& f) { forms::user::pressKey(f.cmdOK, forms::vbKeyReturn); }},
        {"Escape", [](frmaboutpettycash& f) { forms::user::pressKey(f.cmdOK, forms::vbKeyEscape); }},
        {"picture 1", [](frmaboutpettycash& f) { forms::user::click(f.Image1); }},
        {"picture 2", [](frmaboutpettycash& f) { forms::user::click(f.Image2); }},
        {"program name", [](frmaboutpettycash& f) { forms::user::click(f.lblProgram); }},
        {"maker", [](frmaboutpettycash& f) { forms::user::click(f.lblMaker); }},
        {"OK button", [](frmaboutpettycash& f) {
             EXPECT_TRUE(f.cmdOK.visible());
             EXPECT_GE(f.cmdOK.left(), 0) << "the OK button stands inside the box";
             EXPECT_LE(f.cmdOK.left() + f.cmdOK.width(), f.width());
             EXPECT_LE(f.cmdOK.top() + f.cmdOK.height(), f.height());
             forms::user::click(f.cmdOK);
         }},
    };
    shown();
    for (const auto& [way, closeBox] : ways) {
        SCOPED_TRACE(way);
        host.expectModal<frmaboutpettycash>("frmaboutpettycash", [&close = closeBox](frmaboutpettycash& f) {
            EXPECT_EQ(f.lblProgram.caption(), "Ostrelle");
            EXPECT_TRUE(forms::testing::controlsCutOff(f).empty());
            EXPECT_EQ(f.defaultButton(), &f.cmdOK);
            EXPECT_EQ(f.cancelButton(), &f.cmdOK);
            close(f);
        });
        forms::user::click(button(command::kAbout));
    }
    host.expectModal<frmaboutpettycash>("frmaboutpettycash", [](frmaboutpettycash& f) {
        forms::user::click(f.lblVersion);  // the version label does not close the box
        EXPECT_TRUE(f.isLoaded());
        f.unload();
    });
    forms::user::click(menu("mnuAboutOstrelle"));
    EXPECT_EQ(host.modalsShown().size(), ways.size() + 1);
}

}  // namespace
}  // namespace petty
