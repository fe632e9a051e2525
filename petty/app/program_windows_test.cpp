// The program's windows as a user sees them: the log-in, the main window and
// the windows of its commands shown by the Qt front end on a virtual display
// (Xvfb) of the smallest supported size, 1366 by 768, with screenshots saved
// for a person to look at (build/petty/app/screenshots/). Every window shown
// is held to the layout rule (platform/forms_qt/layout_rule.h), with and
// without advances and cost centres.
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractButton>
#include <QTest>
#include <QMessageBox>
#include <QPushButton>
#include <QLineEdit>
#include <QComboBox>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "petty/app/new_book_window.h"
#include "petty/app/program_start.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/scanning/formscan.h"
#include "petty/shell/about_pettycash.h"
#include "petty/shell/frm_select_session.h"
#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/frm_select_date.h"
#include "petty/shell/frm_select_project.h"
#include "petty/shell/frm_select_voucher.h"
#include "petty/shell/frm_show_balance.h"
#include "petty/shell/pettycash_config.h"
#include "petty/shell/pettycash_config_small.h"
#include "petty/shell/pettycash_main.h"
#include "petty/shell/startup_pettycash.h"
#include "platform/com/class_objects.h"
#include "platform/com/testing/private_registry.h"
#include "platform/forms_qt/layout_rule.h"
#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/qt_ui.h"
#include "platform/forms_qt/scan_dialogs_qt.h"
#include "platform/forms_qt/testing/message_box_answerer.h"
#include "platform/forms_qt/testing/virtual_display.h"
#include "platform/jet/test_support.h"
#include "platform/vb/date_text.h"
#include "platform/report/qt_report_output.h"
#include "platform/report/report_preview.h"
#include "platform/vb/date_time.h"
#include "platform/win/testing/sane_test_backend.h"

namespace petty {
namespace {

using forms_qt::testing::VirtualDisplay;
using forms_qt::testing::xvfbInstalled;

void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 25);
        ::usleep(10000);
    }
}

// The variant walked now: its name ends the screenshots' names; none are
// saved when it is empty.
std::string screenshotVariant;
// The forms checked against the layout rule in this walk, by name.
std::set<std::string> formsChecked;

// The form keeps the layout rule as it shows now.
void holdsLayoutRule(const forms_qt::QtHost& host, const forms::Form& form) {
    formsChecked.insert(form.name());
    EXPECT_THAT(forms_qt::layoutFaults(host, form), ::testing::IsEmpty())
        << form.name() << " (" << (appState().noAdvanceMode ? "no advances" : "advances") << ", "
        << (appState().costCentreEnabled ? "cost centres" : "no cost centres") << ")";
}

// The screen as the user sees it, saved under the name; checks that the window
// shows on it with drawn content (not one flat colour).
QImage screenshot(const char* name, const QWidget* window) {
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    if (!screenshotVariant.empty()) {
        std::filesystem::create_directories(SCREENSHOT_DIR);
        std::string file = name;
        if (screenshotVariant != "-") file.insert(file.rfind('.'), "-" + screenshotVariant);
        EXPECT_TRUE(screen.save((std::filesystem::path(SCREENSHOT_DIR) / file).c_str())) << file;
    }
    const QRect area = window->frameGeometry().intersected(screen.rect());
    EXPECT_GT(area.width() * area.height(), 200 * 150) << name;
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2) colours.insert(screen.pixel(x, y));
    EXPECT_GT(colours.size(), 8u) << name << ": the window looks empty";
    return screen;
}

// A form's window on the screen: its screenshot, and the layout rule.
void screenshotForm(const char* name, const forms_qt::QtHost& host, const forms::Form& form) {
    screenshot(name, host.windowOf(form));
    holdsLayoutRule(host, form);
}

template <class Window>
Window* shownWindow() {
    for (forms::Form* form : forms::app().loadedForms())
        if (auto* window = dynamic_cast<Window*>(form)) return window;
    return nullptr;
}

// Once the modal window of this class runs its loop: the screenshot, then the
// user's last step, which closes it. False until that happened.
template <class Window>
void whenShown(forms_qt::QtHost& host, const char* screenshotName, bool& done,
               std::function<void(Window&)> closeIt) {
    QTimer::singleShot(200, [&host, screenshotName, &done, closeIt = std::move(closeIt)] {
        settle();
        Window* window = shownWindow<Window>();
        if (!window) return;
        screenshotForm(screenshotName, host, *window);
        done = true;
        closeIt(*window);
    });
}

forms::Form* loadedForm(const std::string& name) {
    for (forms::Form* form : forms::app().loadedForms())
        if (form->name() == name) return form;
    return nullptr;
}

// A few rows in the master tables and the change log, as a book in use holds them.
void fillMastersAndChangeLog(const std::filesystem::path& folder) {
    jet::Database book = openBook(bookPath(folder));
    book.execute(
        "INSERT INTO employeemaster ([Name], [Employeecode], [Full Name], [Department], [Title], [Extn], [e-mail],"
        " [Mobileno], [service staff]) VALUES"
        " ('Anil', 'E101', 'Anil Kumar', 'Accounts', 'Accountant', '214', 'anil@example.com', '98450 11223', false),"
        " ('Bina', 'E102', 'Bina Thomas', 'Stores', 'Store keeper', '230', 'bina@example.com', '98450 44556', false),"
        " ('Chen', 'E103', 'Chen Wei', 'Transport', 'Driver', '', '', '98450 77889', true)");
    book.execute("INSERT INTO [Expense types] ([Expense type], [Group], [Details]) VALUES"
                 " ('Courier', 'Office', 'Letters and parcels'), ('Fuel', 'Vehicles', 'Petrol and diesel'),"
                 " ('Stationery', 'Office', 'Paper, pens, toner'), ('Travel', 'Staff', 'Local conveyance')");
    book.execute("INSERT INTO projectcodes ([projectcode], [Description], [Active]) VALUES"
                 " ('Site 4', 'Warehouse extension', true), ('Expo 24', 'Trade fair stall', false)");
    book.execute("INSERT INTO changelog ([Date], [user], [changelog], [voucherID]) VALUES"
                 " ('2024-05-02 09:15:00', 'Ravi', 'Edited voucher: cash out 10 -> 12, employee Anil', 7),"
                 " ('2024-05-03 16:40:00', 'Ravi', 'Deleted voucher: Reimbursed from pettycash, 45, Bina', 9)");
}

// Opens a window through the main window's command, saves a screenshot of it
// once it shows, and closes it with its Close button.
void screenshotCommandWindow(Pettycashmain& main, forms_qt::QtHost& host, int16_t command, const std::string& form,
                             const char* file) {
    bool shot = false;
    QTimer::singleShot(200, [&] {
        settle();
        forms::Form* window = loadedForm(form);
        if (!window) return;
        screenshotForm(file, host, *window);
        shot = true;
        if (forms::Control* close = window->findControl("cmdclose")) forms::user::click(*close);
    });
    main.DispatchCommand(command);
    EXPECT_TRUE(shot) << form << " did not show";
    EXPECT_EQ(loadedForm(form), nullptr) << form << " did not close";
}

void addVouchers(jet::Database book) {
    constexpr int64_t kPeriod = 2603020915;  // opened with the first voucher
    const char* insert =
        "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Head], [Debit], [Credit],"
        " [expensefromadvance], [runningbalance], [Narration], [Matchwith], [Matchrequired], [Matched],"
        " [Enteredby], [Closed], [Billno], [TermID]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    const auto day = [](int d) { return jet::Value(*vb::DateTime::fromParts(2026, 3, d)); };
    // A closed period before it, carried over.
    book.execute(insert, {day(1), "09:00", "Asha", "Cash transfer to PC", nullptr, 300, 0, 0, 300, "float", 0, "No",
                          "No", "Ravi", "Yes", nullptr, int64_t{2603010900}});
    book.execute(insert, {day(2), "09:15", "Asha", "Cash transfer to PC", nullptr, 500, 0, 0, 500, "float", 0, "No",
                          "No", "Ravi", "No", nullptr, kPeriod});
    book.execute(insert, {day(3), "10:40", "Asha", "Advance Issued from PC", "Travel", 0, 200, 0, 300, "trip", 0,
                          "Yes", "No", "Ravi", "No", "B-17", kPeriod});
    book.execute(insert, {day(4), "11:05", "Asha", "Spent from Advance issued", "Travel", 0, 0, 150, 300, "taxi", 3,
                          "No", "Yes", "Ravi", "No", nullptr, kPeriod});
}

// A report window opened by `open`, then the report it runs (`run`) in the
// preview window: a screenshot of each, both closed by their Close buttons.
void screenshotReportRun(forms_qt::QtHost& host, const std::function<void()>& open, const std::string& form,
                         const char* windowFile, const char* previewFile,
                         const std::function<void(forms::Form&)>& run) {
    report::QtReportOutput reports;
    report::setReportOutput(&reports);
    bool previewShown = false;
    reports.onPreviewShown([&](report::ReportPreview& preview) {
        settle();
        screenshot(previewFile, &preview);
        previewShown = true;
        preview.button("close")->click();
    });
    bool windowShown = false;
    QTimer::singleShot(200, [&] {
        settle();
        forms::Form* window = loadedForm(form);
        if (!window) return;
        screenshotForm(windowFile, host, *window);
        windowShown = true;
        run(*window);
        settle();
        if (forms::Control* close = window->findControl("cmdclose")) forms::user::click(*close);
    });
    open();
    report::setReportOutput(nullptr);
    EXPECT_TRUE(windowShown) << form << " did not show";
    EXPECT_TRUE(previewShown) << previewFile << " did not show";
    EXPECT_EQ(loadedForm(form), nullptr) << form << " did not close";
}

// The report chooser and the ledger it runs.
void screenshotReports(Pettycashmain& main, forms_qt::QtHost& host) {
    screenshotReportRun(host, [&] { main.DispatchCommand(command::kReports); }, "reppettycash",
                        "report-chooser.png", "report-preview.png",
                        [](forms::Form& chooser) { forms::user::click(*chooser.findControl("cmdreport")); });
}

// Voucher printing from the register's voucher tab and the voucher it generates.
void screenshotVoucherPrint(frmpettycash& register_, forms_qt::QtHost& host) {
    screenshotReportRun(host, [&] { forms::user::click(register_.Printvoucher[0]); }, "repVoucherprint",
                        "voucher-print.png", "voucher-preview.png",
                        [](forms::Form& print) { forms::user::click(*print.findControl("cmdreport", 0)); });
}

using forms_qt::testing::MessageBoxAnswerer;

// A new voucher on the voucher tab, and a real double click on its cost-centre
// combo: the project picker opens; the voucher is then cancelled.
void doubleClickTheCostCentre(frmpettycash& register_, forms_qt::QtHost& host, MessageBoxAnswerer& answerer) {
    forms::user::selectTab(register_.SSTab2, 1);
    ASSERT_TRUE(forms::user::click(register_.cmdadd));
    ASSERT_TRUE(forms::user::selectComboItem(register_.Combopcashtype, "Reimbursed from pettycash"));
    settle();
    auto* combo = qobject_cast<QComboBox*>(host.widgetOf(register_.dbCombo3));
    ASSERT_TRUE(combo && combo->isEditable() && combo->isVisible());
    bool pickerShown = false;
    std::string firstCode;
    whenShown<frmselectProject>(host, "project-picker-from-combo.png", pickerShown, [&firstCode](frmselectProject& w) {
        firstCode = w.DBGrid1.cellText(0, 0);
        forms::user::doubleClickGridRow(w.DBGrid1, 0);
    });
    QWidget* field = combo->lineEdit();
    const QPoint at = field->rect().center();
    QTest::mousePress(field, Qt::LeftButton, {}, at);
    QTest::mouseRelease(field, Qt::LeftButton, {}, at);
    QTest::mouseDClick(field, Qt::LeftButton, {}, at);
    QTest::mouseRelease(field, Qt::LeftButton, {}, at);
    settle();
    EXPECT_TRUE(pickerShown) << "double-clicking the cost-centre combo opens the project picker";
    EXPECT_FALSE(firstCode.empty());
    EXPECT_EQ(register_.dbCombo3.text(), firstCode);
    // Cancel the new voucher: yes; it is cancelled: OK.
    const size_t answered = answerer.texts.size();
    forms::user::click(register_.cmddelete);
    for (int i = 0; i < 10 && answerer.texts.size() < answered + 2; ++i) settle();
    ASSERT_EQ(answerer.texts.size(), answered + 2);
    EXPECT_NE(answerer.texts[answered].find("Are you sure that you want to cancel this record"), std::string::npos);
    answerer.texts.resize(answered);
    EXPECT_FALSE(register_.datPrimaryRS.addingRow());
}

// The register's scan button with the real scanning library, registered in a
// registry of the test's own, and SANE's test backend drawing its colour
// pattern: the scan window, the page in its preview, and the voucher that
// keeps the bill's name.
// SANE reads the folder of its configuration once per process: one folder for every walk.
const std::filesystem::path& saneFolder() {
    static win::testing::ScratchFolder* sane = [] {
        auto* folder = new win::testing::ScratchFolder();
        std::ofstream(std::filesystem::path(folder->path()) / "dll.conf") << "test\n";
        win::testing::KeepSaneTestBackendLoaded();
        return folder;
    }();
    static const std::filesystem::path path(sane->path());
    return path;
}

// The test device's settings: its colour pattern, and when `slow`, the pace of
// a real feeder (small chunks with a pause before each, through its own
// "read limit" and "read delay" options: ten pages take some seconds).
void setTestDevice(bool slow) {
    std::ofstream conf(saneFolder() / "test.conf");
    conf << "test-picture \"Color pattern\"\n";
    if (slow) conf << "read-limit true\nread-limit-size 32768\nread-delay true\nread-delay-duration 10000\n";
}

void scanABill(frmpettycash& register_, forms_qt::QtHost& host, MessageBoxAnswerer& answerer) {
    setTestDevice(false);
    const std::filesystem::path* sane = &saneFolder();
    win::testing::ScopedEnvironment saneConfig("SANE_CONFIG_DIR", sane->c_str());
    win::testing::ScopedEnvironment engineConfig("XDG_CONFIG_HOME", sane->c_str());
    com::testing::PrivateRegistry registry;
    ASSERT_EQ(com::CallServerRegistration(SCANVELT_LIBRARY_PATH, false), com::S_OK);
    const std::string voucher = register_.Textpcash[kVoucherIdBox].text();
    ASSERT_FALSE(voucher.empty());

    const size_t answered = answerer.texts.size();
    bool scanned = false;
    whenShown<Formscan>(host, "scan-window.png", scanned, [&host, &answerer, answered](Formscan& w) {
        forms::user::click(w.MyButton1[Formscan::ScanToJpeg]);
        for (int i = 0; i < 10 && answerer.texts.size() < answered + 1; ++i) settle();
        settle();
        const QImage preview = screenshot("scan-window-preview.png", host.windowOf(w));
        // The page's colour pattern fills the preview: many colours where the
        // empty preview has one.
        QWidget* face = host.widgetOf(w.MvViewer1);
        ASSERT_TRUE(face && face->isVisible());
        const QImage shown = face->grab().toImage();
        std::set<QRgb> colours;
        for (int y = 0; y < shown.height(); y += 7)
            for (int x = 0; x < shown.width(); x += 7) colours.insert(shown.pixel(x, y));
        EXPECT_GT(colours.size(), 8u) << "the preview shows no page";
        EXPECT_FALSE(preview.isNull());
        forms::user::click(w.MyButton1[Formscan::Close]);
    });
    forms::user::click(register_.cmdScanDoc);
    settle();
    EXPECT_TRUE(scanned);
    ASSERT_GE(answerer.texts.size(), answered + 1);
    // The voucher keeps the bill: the document box names the file the window wrote, which the message named.
    const std::string bill = register_.Textpcash[kDocumentBox].text();
    EXPECT_EQ(bill.rfind(voucher + "_", 0), 0u) << bill;
    EXPECT_EQ(bill.substr(bill.size() - 4), ".jpg") << bill;
    std::string documents = appState().documentsFolder;  // kept with the program's own separators
    std::replace(documents.begin(), documents.end(), '\\', '/');
    EXPECT_EQ(answerer.texts[answered], "Completed ! The bill is stored as " + documents + bill + ".");
    answerer.texts.resize(answered);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(documents) / bill)) << documents << bill;
    screenshotForm("register-after-scan.png", host, register_);
}

QWidget* visibleWindowNamed(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

// A feeder scan at a real feeder's pace, worked with real events while it
// runs. The scan window is modal to the program: Next in the register and
// Exit in the main window do nothing meanwhile. The progress window's Cancel
// stops the scan: no bill, no "Completed !". Closing the scan window by its
// title bar asks, stops the engine and only then lets the window go. After
// both, the voucher the scan started from is shown, no voucher got a bill and
// the documents folder holds no file of the cancelled scans.
void cancelFeederScans(Pettycashmain& main, frmpettycash& register_, forms_qt::QtHost& host,
                       MessageBoxAnswerer& answerer) {
    setTestDevice(true);
    // As the program has them: the progress window, and the window's events run between the scanner's chunks.
    forms_qt::ScopedQtScanDialogs scanDialogs;
    win::testing::ScopedEnvironment saneConfig("SANE_CONFIG_DIR", saneFolder().c_str());
    win::testing::ScopedEnvironment engineConfig("XDG_CONFIG_HOME", saneFolder().c_str());
    com::testing::PrivateRegistry registry;
    ASSERT_EQ(com::CallServerRegistration(SCANVELT_LIBRARY_PATH, false), com::S_OK);
    // A voucher without a bill yet (the one shown has the bill scanned before).
    ASSERT_TRUE(forms::user::click(register_.Moove[0]));
    settle();
    ASSERT_TRUE(register_.Textpcash[kDocumentBox].text().empty());
    const std::string voucher = register_.Textpcash[kVoucherIdBox].text();
    ASSERT_FALSE(voucher.empty());
    const auto documentsOf = [&register_] {
        jet::Database& book = register_.datPrimaryRS.database();
        std::vector<std::string> names;
        for (jet::Recordset r = book.openRecordset("select voucherid, document from pettycash order by voucherid");
             !r.eof(); r.moveNext())
            names.push_back(r.field(size_t{0}).asText() + "=" + (r.field(size_t{1}).isNull() ? "" : r.field(size_t{1}).asText()));
        return names;
    };
    std::string documents = appState().documentsFolder;
    std::replace(documents.begin(), documents.end(), '\\', '/');
    const auto filesOf = [&documents] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(documents)) names.insert(entry.path().filename());
        return names;
    };
    const std::vector<std::string> billsBefore = documentsOf();
    const std::set<std::string> filesBefore = filesOf();
    const size_t answered = answerer.texts.size();

    bool cancelClicked = false, exitTried = false, closeAsked = false, windowStayed = false, scansRan = false;
    QTimer::singleShot(200, [&] {
        settle();
        Formscan* w = shownWindow<Formscan>();
        if (!w) return;
        QTest::mouseClick(host.widgetOf(w->chkIndicator), Qt::LeftButton);  // the progress window, with its Cancel
        // A second into the scan: Next, then Cancel as soon as the progress
        // window shows (it closes for a moment between two pages).
        QTimer cancelWhenShown;
        int tries = 0;
        QObject::connect(&cancelWhenShown, &QTimer::timeout, [&] {
            if (tries++ == 0) QTest::mouseClick(host.widgetOf(register_.Moove[1]), Qt::LeftButton);  // Next
            QWidget* progress = visibleWindowNamed("scanProgress");
            if (!progress && tries < 100) return;
            cancelWhenShown.stop();
            if (!progress) return;
            QTest::mouseClick(progress->findChild<QPushButton*>("cancel"), Qt::LeftButton);
            cancelClicked = true;
        });
        QTimer::singleShot(1000, [&] { cancelWhenShown.start(20); });
        forms::user::click(w->MyButton1[Formscan::ScanAllToPdf]);  // returns once the scan ended
        QTimer::singleShot(1000, [&] {
            QTest::mouseClick(host.widgetOf(main.MyButton1[command::kExit]), Qt::LeftButton);
            exitTried = true;
            host.windowOf(*w)->close();  // the title bar's close
            closeAsked = true;
            windowStayed = w->isLoaded();
        });
        forms::user::click(w->MyButton1[Formscan::ScanAllToPdf]);
        scansRan = true;
    });
    forms::user::click(register_.cmdScanDoc);
    settle();
    setTestDevice(false);
    ASSERT_TRUE(scansRan);
    EXPECT_TRUE(cancelClicked) << "the progress window showed during the scan";
    EXPECT_TRUE(exitTried && closeAsked);
    EXPECT_TRUE(windowStayed) << "the scan window stays until the engine has stopped";
    EXPECT_EQ(shownWindow<Formscan>(), nullptr) << "and goes then";
    EXPECT_TRUE(main.isLoaded()) << "Exit did nothing while the scan window was open";
    const std::vector<std::string> told(answerer.texts.begin() + static_cast<std::ptrdiff_t>(answered), answerer.texts.end());
    EXPECT_THAT(told, ::testing::ElementsAre("The scan was cancelled: no bill was stored.",
                                             "A scan is running. Cancel it and close the window?",
                                             "The scan was cancelled: no bill was stored."));
    answerer.texts.resize(answered);
    EXPECT_EQ(register_.Textpcash[kVoucherIdBox].text(), voucher) << "Next did not move the register";
    EXPECT_EQ(documentsOf(), billsBefore) << "no voucher got a bill of a cancelled scan";
    EXPECT_EQ(filesOf(), filesBefore) << "no file of a cancelled scan stays";
}

// The whole program once: the first start, the log-in, the main window, the
// register and every window its commands and boxes open.
void walkEveryWindow(bool advances, bool costCentres) {
    // No other message box is expected on the way: one that shows is answered, so the walk goes on, and reported.
    MessageBoxAnswerer unexpected;
    jet::testing::TestFolder folder;
    resetAppState();
    {
        forms_qt::QtUi ui("Ostrelle");
        forms::ScopedUi useUi(ui);
        forms_qt::QtHost host;
        // The first start: the new-book window runs its modal loop; the user fills it in there.
        bool filledIn = false;
        QTimer::singleShot(200, [&] {
            settle();
            frmNewBook* newBook = shownWindow<frmNewBook>();
            if (!newBook) return;
            forms::user::typeText(newBook->txtUserName, "Ravi");
            forms::user::typeText(newBook->txtApprovalUserName, "Meera");
            forms::user::typeText(newBook->txtPassword, "Tea4two");
            forms::user::typeText(newBook->txtPasswordAgain, "Tea4two");
            forms::user::typeText(newBook->txtApproval, "Chief9");
            forms::user::typeText(newBook->txtApprovalAgain, "Chief9");
            settle();
            screenshotForm("new-book.png", host, *newBook);
            filledIn = true;
            forms::user::click(newBook->cmdCreate);
        });
        ASSERT_TRUE(startProgram(folder.path()));
        ASSERT_TRUE(filledIn);
        openBook(bookPath(folder.path()))
            .execute("UPDATE config SET [enablecostcentre] = ?, [NOADVANCE] = ?, [yesadvance] = ?",
                     {costCentres, !advances, advances});
        fillMastersAndChangeLog(folder.path());
        addVouchers(openBook(bookPath(folder.path())));
        STARTUPpettycash& login = formInstances().get<STARTUPpettycash>();
        forms::user::typeText(login.Text1, "tea4two");
        settle();
        ASSERT_TRUE(host.windowOf(login) && host.windowOf(login)->isVisible());
        screenshotForm("login.png", host, login);

        // The new book was never configured: the quick configuration opens
        // while the main window loads.
        bool quickShown = false;
        whenShown<frmpettycashconfigSmall>(host, "quick-configuration.png", quickShown,
                                           [](frmpettycashconfigSmall& w) { forms::user::click(w.cmdupdate); });
        forms::user::pressKey(login.Text1, forms::vbKeyReturn);
        settle();
        EXPECT_TRUE(quickShown);
        Pettycashmain& main = formInstances().get<Pettycashmain>();
        EXPECT_FALSE(login.isLoaded());
        ASSERT_TRUE(host.windowOf(main) && host.windowOf(main)->isVisible());
        // The register opens maximised inside the main window, whose title then names it.
        frmpettycash& register_ = formInstances().get<frmpettycash>();
        EXPECT_EQ(register_.windowState(), forms::WindowState::Maximized);
        EXPECT_EQ(host.windowOf(main)->windowTitle().toStdString(),
                  "Ostrelle from Kelvra Technologies    User : Ravi - [" + register_.caption() + "]");
        screenshotForm("main.png", host, main);

        // The register shows the book's vouchers.
        ASSERT_TRUE(register_.isLoaded());
        EXPECT_EQ(register_.mdiParent(), &main);
        EXPECT_EQ(register_.TDBGrid1.rowCount(), 3);
        ASSERT_TRUE(host.windowOf(register_) && host.windowOf(register_)->isVisible());
        screenshotForm("register.png", host, register_);
        forms::user::selectTab(register_.SSTab2, 1);
        settle();
        screenshotForm("register-voucher.png", host, register_);
        screenshotVoucherPrint(register_, host);
        scanABill(register_, host, unexpected);
        if (advances && costCentres) cancelFeederScans(main, register_, host, unexpected);

        // The register's match and balance buttons open these two over it.
        bool pickerShown = false;
        whenShown<frmselectvoucher>(host, "advance-picker.png", pickerShown,
                                    [](frmselectvoucher& w) { forms::user::click(w.cmdclose); });
        pickAdvanceVoucher("Asha");
        settle();
        EXPECT_TRUE(pickerShown);
        bool balanceShown = false;
        whenShown<frmshowbalance>(host, "employee-balance.png", balanceShown,
                                  [](frmshowbalance& w) { forms::user::click(w.cmdclose); });
        showEmployeeBalance("Asha");
        settle();
        EXPECT_TRUE(balanceShown);

        bool configurationShown = false;
        whenShown<frmpettycashconfig>(host, "configuration.png", configurationShown,
                                      [](frmpettycashconfig& w) { forms::user::click(w.cmdclose); });
        forms::user::click(main.MyButton1[command::kConfiguration]);
        settle();
        EXPECT_TRUE(configurationShown);
        screenshotCommandWindow(main, host, command::kEmployeeMaster, "frmemployeemaster", "employee-master.png");
        screenshotCommandWindow(main, host, command::kExpenseHeads, "frmExpensetypes", "expense-heads.png");
        if (costCentres)  // the command is offered only with cost centres
            screenshotCommandWindow(main, host, command::kCostCentres, "frmprojectcodes", "cost-centres.png");
        screenshotCommandWindow(main, host, command::kChangeLog, "frmChangelog", "change-log.png");

        // The modal pickers that the register's boxes open.
        bool datePickerShown = false;
        whenShown<Frmselectdate>(host, "date-picker.png", datePickerShown, [](Frmselectdate& w) {
            forms::user::pickCalendarDate(w.Calendar1, *vb::DateTime::fromParts(2026, 3, 9));
        });
        const std::string pickedDate = pickDate();
        EXPECT_TRUE(datePickerShown);
        EXPECT_EQ(pickedDate, vb::formatShortDate(*vb::DateTime::fromParts(2026, 3, 9)));
        bool projectPickerShown = false;
        whenShown<frmselectProject>(host, "project-picker.png", projectPickerShown, [](frmselectProject& w) {
            forms::user::doubleClickGridRow(w.DBGrid1, w.DBGrid1.rowCount() - 1);
        });
        const std::string pickedProject = pickProjectCode();
        EXPECT_TRUE(projectPickerShown);
        EXPECT_FALSE(pickedProject.empty());
        if (costCentres) doubleClickTheCostCentre(register_, host, unexpected);
        bool periodPickerShown = false;
        whenShown<frmselectSession>(host, "period-picker.png", periodPickerShown,
                                    [](frmselectSession& w) { forms::user::click(w.cmdclose); });
        pickPeriod();
        EXPECT_TRUE(periodPickerShown);
        bool aboutShown = false;
        whenShown<frmaboutpettycash>(host, "about.png", aboutShown,
                                     [](frmaboutpettycash& w) { forms::user::click(w.cmdOK); });
        main.DispatchCommand(command::kAbout);
        EXPECT_TRUE(aboutShown);
        screenshotCommandWindow(main, host, command::kPeriods, "frmSessions", "periods.png");
        if (advances)  // without advances nothing awaits settlement
            screenshotCommandWindow(main, host, command::kPendingSettlements, "frmEmpbalance",
                                    "pending-settlements.png");
        screenshotReports(main, host);

        // The main window made as large as the screen allows gives the room to the register grid.
        QWidget* grid = host.widgetOf(register_.TDBGrid1);
        const QSize gridBefore = grid->size();
        host.windowOf(main)->setGeometry(4, 36, 1358, 728);  // maximised on the smallest screen
        settle();
        EXPECT_GT(grid->width(), gridBefore.width());
        EXPECT_GE(grid->height(), gridBefore.height());
        holdsLayoutRule(host, main);
        holdsLayoutRule(host, register_);
        main.unload();  // the exit command's question would wait for a user
        settle();
    }
    formInstances().releaseAll();
    resetAppState();
    EXPECT_THAT(unexpected.texts, ::testing::IsEmpty());
}

TEST(ProgramWindows, FirstStartLogInMainWindowRegisterAndCommandWindowsOnAVirtualDisplay) {
    if (!xvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
    VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    ::setenv("DISPLAY", display.name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int argc = 1;
    char program[] = "ostrelle";
    char* argv[] = {program, nullptr};
    QApplication qt(argc, argv);
    EXPECT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1366, 768));

    const std::set<std::string> everyForm = {
        "frmnewbook",        "STARTUPpettycash",  "frmpettycashconfigSmall", "Pettycashmain",   "frmpettycash",
        "repVoucherprint",   "frmselectvoucher",  "frmshowbalance",          "frmpettycashconfig",
        "frmemployeemaster", "frmExpensetypes",   "frmprojectcodes",         "frmChangelog",    "Frmselectdate",
        "frmselectProject",  "frmselectSession",  "frmaboutpettycash",       "frmSessions",     "frmEmpbalance",
        "reppettycash",      "Formscan"};
    const struct {
        bool advances, costCentres;
        const char* screenshots;  // "-": plain names, "": none
    } variants[] = {{true, true, "-"}, {false, true, "no-advances"}, {true, false, ""}, {false, false, ""}};
    for (const auto& v : variants) {
        SCOPED_TRACE(std::string(v.advances ? "advances" : "no advances") + ", " +
                     (v.costCentres ? "cost centres" : "no cost centres"));
        screenshotVariant = v.screenshots;
        formsChecked.clear();
        walkEveryWindow(v.advances, v.costCentres);
        std::set<std::string> expected = everyForm;
        if (!v.advances) expected.erase("frmEmpbalance");
        if (!v.costCentres) expected.erase("frmprojectcodes");
        EXPECT_EQ(formsChecked, expected) << "every window of the program is walked";
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace petty
