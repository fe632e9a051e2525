#include "petty/shell/pettycash_main.h"

#include <optional>

#include "petty/reports/files/report_files.h"
#include "petty/shell/about_pettycash.h"
#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/command_windows.h"
#include "petty/shell/program_info.h"
#include "petty/shell/program_look.h"
#include "petty/shell/shell_open.h"
#include "petty/shell/program_paths.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

struct ButtonSpec {
    int16_t index;
    const char* caption;
    const char* toolTip;
};

// Top to bottom, captions as stored (with their trailing blanks).
constexpr ButtonSpec kCommandButtons[] = {
    {command::kRegister, "Pettycash register ", ""},
    {command::kPendingSettlements, "Pend. settlements", "Settlements pending against advances given - quick view"},
    {command::kPeriods, "Pettycash periods ",
     "Quick List of all existing Pettycash periods. Generally every week/month, pettcash is closed and balance is "
     "carried over to next period. "},
    {command::kReports, "Pettycash Reports ",
     "View / print Pettycahs reports +  Excel export option for pettycash register"},
    {command::kEmployeeMaster, "Employee master ", "Users / employees who use pettycash."},
    {command::kExpenseHeads, "Expense heads ", "Expenses categorisation"},
    {command::kCostCentres, "Cost centres ",
     "Used to configure the project/cost-centres if you are using the field to  manage expenses."},
    {command::kConfiguration, "Configuration ", "Confgure pettycash"},
    {command::kQuickHelp, "Quick Help - PDF ", "5 minutes PDF file. Please take a print outand go through the file."},
    {command::kAbout, "About Pettycash ", "About Ostrelle application"},
    {command::kChangeLog, "Change-log  file  ",
     "Pettycash Records edited using the edit log-in will be logged and listed here."},
    {command::kExit, "Exit  Pettycash  ", "Close the application and exit."},
};

constexpr int kNoCommand = -1;

struct MenuSpec {
    const char* parent;  // nullptr for a menu title
    const char* name;
    const char* caption;
    int command;
};

constexpr MenuSpec kMenus[] = {
    {nullptr, "mnuFile", "&File", kNoCommand},
    {"mnuFile", "mnuChangeLog", "Change log", command::kChangeLog},
    {"mnuFile", "mnuFileBar1", "-", kNoCommand},
    {"mnuFile", "mnuExit", "E&xit", command::kExit},
    {nullptr, "mnuPettycash", "Pettycash", kNoCommand},
    {"mnuPettycash", "mnuRegister", "Pettycash register", command::kRegister},
    {"mnuPettycash", "mnuPettycashBar1", "-", kNoCommand},
    {"mnuPettycash", "mnuPendingSettlements", "Pending settlements", command::kPendingSettlements},
    {"mnuPettycash", "mnuPettycashBar2", "-", kNoCommand},
    {"mnuPettycash", "mnuPeriods", "Pettycash periods - view list", command::kPeriods},
    {"mnuPettycash", "mnuPettycashBar3", "-", kNoCommand},
    {"mnuPettycash", "mnuReports", "Pettycash reports", command::kReports},
    {nullptr, "mnuMasters", "masters", kNoCommand},
    {"mnuMasters", "mnuEmployeeMaster", "Employee master", command::kEmployeeMaster},
    {"mnuMasters", "mnuMastersBar1", "-", kNoCommand},
    {"mnuMasters", "mnuExpenseHeads", "Expense heads", command::kExpenseHeads},
    {"mnuMasters", "mnuMastersBar2", "-", kNoCommand},
    {"mnuMasters", "mnuCostCentres", "Cost centres", command::kCostCentres},
    {"mnuMasters", "mnuMastersBar3", "-", kNoCommand},
    {"mnuMasters", "mnuConfiguration", "Configuration", command::kConfiguration},
    {nullptr, "mnuAbout", "About", kNoCommand},
    {"mnuAbout", "mnuAboutOstrelle", "About Ostrelle", command::kAbout},
    {"mnuAbout", "mnuAboutBar1", "-", kNoCommand},
    {"mnuAbout", "mnuQuickHelp", "Quick help", command::kQuickHelp},
};

// The window each command opens, for the commands whose window is registered by the program.
std::optional<CommandWindow> windowOf(int index) {
    switch (index) {
        case command::kRegister: return CommandWindow::Register;
        case command::kReports: return CommandWindow::Reports;
        case command::kEmployeeMaster: return CommandWindow::EmployeeMaster;
        case command::kExpenseHeads: return CommandWindow::ExpenseHeads;
        case command::kConfiguration: return CommandWindow::Configuration;
        case command::kCostCentres: return CommandWindow::CostCentres;
        case command::kChangeLog: return CommandWindow::ChangeLog;
        case command::kPeriods: return CommandWindow::Periods;
        case command::kPendingSettlements: return CommandWindow::PendingSettlements;
        default: return std::nullopt;
    }
}

bool commandAvailable(int index) {
    if (index == command::kCostCentres || index == command::kPendingSettlements) return true;  // they explain a refusal
    const auto window = windowOf(index);
    return !window || commandWindowRegistered(*window);
}

// Layout, in twips.
constexpr int kWindowWidth = 15360;
constexpr int kWindowHeight = 11520;
constexpr int kBannerHeight = 900;
constexpr int kColumnWidth = 2520;
constexpr int kButtonLeft = 120;
constexpr int kButtonTop = 240;
constexpr int kButtonWidth = 2280;
constexpr int kButtonHeight = 480;
constexpr int kButtonPitch = 600;
// Beside the window's inside, what a desktop takes of the screen's height: a
// title bar with its borders (40 pixels) and a panel (40 pixels).
constexpr int kDesktopHeightPixels = 80;

// Whether the window at its design size, with its title bar, fits on the
// screen beside a desktop panel. On a smaller screen (768 lines) it opens
// maximised: the desktop then gives it the room there is, so that neither its
// title bar nor its bottom edge is off the screen.
bool designSizeFits(const forms::ScreenInfo& screen) {
    return kWindowWidth <= screen.widthTwips &&
           kWindowHeight + kDesktopHeightPixels * screen.twipsPerPixelY <= screen.heightTwips;
}

}  // namespace

Pettycashmain::Pettycashmain() : MdiForm("Pettycashmain") {
    setCaption("Ostrelle from Kelvra Technologies");
    move(0, 0, kWindowWidth, kWindowHeight);
    Picture1.move(0, 0, kWindowWidth, kBannerHeight);
    Picture2.move(0, kBannerHeight, kColumnWidth, kWindowHeight - kBannerHeight);
    Image1.setContainer(Picture1);
    Image1.move(kWindowWidth - 1200, 120, 960, 660);
    buildButtons();
    buildMenus();
    onLoad = [this] { Form_Load(); };
    onActivate = [this] { Form_Activate(); };
    for (forms::PictureBox* band : {&Picture1, &Picture2})
        band->observe([this](forms::Property p) {
            if (p == forms::Property::Geometry) Form_Activate();
        });
}

void Pettycashmain::buildButtons() {
    forms::CommandButton& banner = MyButton1.add(command::kBanner);
    banner.setCaption(std::string(kProgramName));
    banner.setFont(look::kBannerFont);
    banner.setForeColor(look::kTitleColour);
    banner.setContainer(Picture1);
    banner.move(0, 0, kWindowWidth, kBannerHeight);
    banner.setTabStop(false);

    forms::CommandButton& strip = MyButton1.add(command::kStrip);
    strip.setContainer(Picture2);
    strip.move(0, 0, kColumnWidth, kWindowHeight - kBannerHeight);
    strip.setTabStop(false);

    int top = kButtonTop;
    for (const ButtonSpec& entry : kCommandButtons) {
        forms::CommandButton& button = MyButton1.add(entry.index);
        button.setCaption(entry.caption);
        button.setToolTip(entry.toolTip);
        button.setFont(look::kCommandFont);
        button.setContainer(Picture2);
        button.move(kButtonLeft, top, kButtonWidth, kButtonHeight);
        top += kButtonPitch;
    }
    MyButton1.forEach([this](forms::CommandButton& button) {
        button.onClick = [this, index = static_cast<int16_t>(button.index())] { DispatchCommand(index); };
    });
}

void Pettycashmain::buildMenus() {
    for (const MenuSpec& entry : kMenus) {
        auto item = std::make_unique<forms::MenuItem>(*this, entry.name);
        item->setCaption(entry.caption);
        if (entry.parent) item->setContainer(menu(entry.parent));
        if (entry.command != kNoCommand)
            item->onClick = [this, index = static_cast<int16_t>(entry.command)] { DispatchCommand(index); };
        menus_.push_back({std::move(item), entry.command});
    }
}

forms::MenuItem& Pettycashmain::menu(std::string_view name) const {
    for (const MenuCommand& entry : menus_)
        if (entry.item->name() == name) return *entry.item;
    throw forms::errors::controlArrayElement();
}

int Pettycashmain::commandOf(const forms::MenuItem& item) const {
    for (const MenuCommand& entry : menus_)
        if (entry.item.get() == &item) return entry.command;
    return kNoCommand;
}

void Pettycashmain::offerAvailableCommands() {
    MyButton1.forEach([](forms::CommandButton& button) {
        if (button.index() != command::kBanner && button.index() != command::kStrip)
            button.setEnabled(commandAvailable(button.index()));
    });
    for (MenuCommand& entry : menus_)
        if (entry.command != kNoCommand) entry.item->setEnabled(commandAvailable(entry.command));
}

void Pettycashmain::Form_Load() {
    AppState& state = appState();
    offerAvailableCommands();
    skipOnFailure([this] { setCloseBoxEnabled(false); });
    skipOnFailure([this] {
        if (!designSizeFits(forms::ui().screen())) setWindowState(forms::WindowState::Maximized);
    });
    skipOnFailure([&state] {
        state.appFolder = withFolderSeparator(state.programFolder);
        state.businessDbPath = state.appFolder + std::string(kBookFileName);
    });
    // A book made before the program shipped one of its report files gets it
    // now; every file already in the folder is kept as it is.
    skipOnFailure([&state] { writeShippedReportFiles(resolveProgramPath(state.appFolder)); });
    skipOnFailure([&state] {
        forms::ui().setMouseIcon(resolveProgramPath(state.appFolder + "h_point.cur").string());
        forms::ui().setMousePointer(forms::vbCustom);
    });
    skipOnFailure([&state] { state.helpFile = state.appFolder + "KELVRA.HLP"; });
    skipOnFailure([this] {
        MyButton1.forEach([](forms::CommandButton& button) { button.setBackColor(forms::vbButtonFace); });
    });
    state.registerSaved = true;
    skipOnFailure([this, &state] { setCaption(caption() + "    User : " + state.currentUserName); });
    skipOnFailure([&state] {
        if (state.firstRun) openCommandWindow(CommandWindow::QuickConfiguration);
    });
    skipOnFailure([] { openCommandWindow(CommandWindow::Register); });
}

// The banner and the strip fill the bands that carry them, which the window
// stretches along its top and left edges: never wider or taller than the band,
// so that nothing stands outside the window's inside.
void Pettycashmain::Form_Activate() {
    forms::CommandButton& banner = MyButton1[command::kBanner];
    if (banner.width() != Picture1.width()) banner.setWidth(Picture1.width());
    forms::CommandButton& strip = MyButton1[command::kStrip];
    if (strip.height() != Picture2.height()) strip.setHeight(Picture2.height());
}

void Pettycashmain::DispatchCommand(int16_t index) {
    const AppState& state = appState();
    switch (index) {
        case command::kQuickHelp:
            OpenDocument("Pettycash.pdf");
            break;
        case command::kCostCentres:
            if (!state.costCentreEnabled) {
                forms::ui().beep();
                forms::ui().msgBox(
                    "You have not enabled 'show cost-centres' option in configuration module. To use the "
                    "project-codes/cost-centres for pettycash entries, you have to enable the option first!");
                return;
            }
            openCommandWindow(CommandWindow::CostCentres);
            break;
        case command::kPendingSettlements:
            if (state.noAdvanceMode) {
                forms::ui().beep();
                forms::ui().msgBox(
                    "As per your configuration, advance payments are not given out! So there will not be any "
                    "pending settlements!");
                return;
            }
            openCommandWindow(CommandWindow::PendingSettlements);
            break;
        case command::kExit:
            exitProgram();
            break;
        case command::kAbout: {
            frmaboutpettycash about;  // a new instance for each opening, released when it closes
            about.showModal();
            break;
        }
        default:
            if (const auto window = windowOf(index)) openCommandWindow(*window);
            break;
    }
}

void Pettycashmain::exitProgram() {
    if (!appState().registerSaved) {
        forms::ui().msgBox("You have made some changes or added a voucher but haven't updated it!! Cannot exit now!!");
        return;
    }
    if (forms::ui().msgBox("Are you sure that you want to exit from Ostrelle?", forms::MsgButtons::YesNo) !=
        forms::MsgResult::Yes)
        return;
    unload();
}

void Pettycashmain::OpenDocument(const std::string& fileName) {
    if (fileName.empty()) {
        forms::ui().beep();
        forms::ui().msgBox("No document specified!");
        return;
    }
    const std::string path = shownPath(appState().appFolder + fileName);
    const auto file = findOrdinaryFile(path);
    if (!file) {
        forms::ui().msgBox("Document does not exist or is in the root!");
        return;
    }
    openWithDesktop(file->string());
}

}  // namespace petty
