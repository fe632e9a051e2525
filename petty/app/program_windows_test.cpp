// The program's windows as a user sees them: the log-in, the main window and
// the windows of its commands shown by the Qt front end on a virtual display
// (Xvfb), with screenshots saved for a person to look at
// (build/petty/app/screenshots/).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <set>

#include "petty/app/new_book_window.h"
#include "petty/app/program_start.h"
#include "petty/register/frm_pettycash.h"
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
#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/qt_ui.h"
#include "platform/jet/test_support.h"
#include "platform/vb/date_text.h"
#include "platform/vb/date_time.h"

namespace petty {
namespace {

// An Xvfb server of its own for the test's lifetime; it tells its display
// number through a pipe once it takes connections.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        pollfd wait{fds[0], POLLIN, 0};
        char c = 0;
        while (pid_ > 0 && ::poll(&wait, 1, 15000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (!number.empty() && c == '\n') name_ = ":" + number;
    }
    ~VirtualDisplay() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& name() const { return name_; }  // empty when it did not start

private:
    pid_t pid_ = -1;
    std::string name_;
};

bool xvfbInstalled() { return ::access("/usr/bin/Xvfb", X_OK) == 0; }

void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 25);
        ::usleep(10000);
    }
}

// The screen as the user sees it, saved under the name; checks that the window
// shows on it with drawn content (not one flat colour).
QImage screenshot(const char* name, const QWidget* window) {
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    std::filesystem::create_directories(SCREENSHOT_DIR);
    EXPECT_TRUE(screen.save((std::filesystem::path(SCREENSHOT_DIR) / name).c_str())) << name;
    const QRect area = window->frameGeometry().intersected(screen.rect());
    EXPECT_GT(area.width() * area.height(), 200 * 150) << name;
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2) colours.insert(screen.pixel(x, y));
    EXPECT_GT(colours.size(), 8u) << name << ": the window looks empty";
    return screen;
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
        screenshot(screenshotName, host.windowOf(*window));
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
        screenshot(file, host.windowOf(*window));
        shot = true;
        if (forms::Control* close = window->findControl("cmdclose")) forms::user::click(*close);
    });
    main.DispatchCommand(command);
    EXPECT_TRUE(shot) << form << " did not show";
    EXPECT_EQ(loadedForm(form), nullptr) << form << " did not close";
}

void addVouchers(jet::Database book) {
    const char* insert =
        "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Head], [Debit], [Credit],"
        " [expensefromadvance], [runningbalance], [Narration], [Matchwith], [Matchrequired], [Matched],"
        " [Enteredby], [Closed], [Billno], [TermID]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    const auto day = [](int d) { return jet::Value(*vb::DateTime::fromParts(2026, 3, d)); };
    book.execute(insert, {day(2), "09:15", "Asha", "Cash transfer to PC", nullptr, 500, 0, 0, 500, "float", 0, "No",
                          "No", "Ravi", "No", nullptr, 1});
    book.execute(insert, {day(3), "10:40", "Asha", "Advance Issued from PC", "Travel", 0, 200, 0, 300, "trip", 0,
                          "Yes", "No", "Ravi", "No", "B-17", 1});
    book.execute(insert, {day(4), "11:05", "Asha", "Spent from Advance issued", "Travel", 0, 0, 150, 300, "taxi", 2,
                          "No", "Yes", "Ravi", "No", nullptr, 1});
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
            forms::user::typeText(newBook->txtPassword, "Tea4two");
            forms::user::typeText(newBook->txtPasswordAgain, "Tea4two");
            forms::user::typeText(newBook->txtApproval, "Chief9");
            forms::user::typeText(newBook->txtApprovalAgain, "Chief9");
            settle();
            screenshot("new-book.png", host.windowOf(*newBook));
            filledIn = true;
            forms::user::click(newBook->cmdCreate);
        });
        ASSERT_TRUE(startProgram(folder.path()));
        ASSERT_TRUE(filledIn);
        openBook(bookPath(folder.path()))
            .execute("UPDATE config SET [Username] = 'Ravi', [ApprovalUsername] = 'Meera', [enablecostcentre] = true");
        fillMastersAndChangeLog(folder.path());
        addVouchers(openBook(bookPath(folder.path())));
        STARTUPpettycash& login = formInstances().get<STARTUPpettycash>();
        forms::user::typeText(login.Text1, "tea4two");
        settle();
        ASSERT_TRUE(host.windowOf(login) && host.windowOf(login)->isVisible());
        screenshot("login.png", host.windowOf(login));

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
        screenshot("main.png", host.windowOf(main));

        // The register shows the book's vouchers.
        ASSERT_TRUE(register_.isLoaded());
        EXPECT_EQ(register_.mdiParent(), &main);
        EXPECT_EQ(register_.TDBGrid1.rowCount(), 3);
        ASSERT_TRUE(host.windowOf(register_) && host.windowOf(register_)->isVisible());
        screenshot("register.png", host.windowOf(register_));
        forms::user::selectTab(register_.SSTab2, 1);
        settle();
        screenshot("register-voucher.png", host.windowOf(register_));

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
        main.unload();  // the exit command's question would wait for a user
        settle();
    }
    formInstances().releaseAll();
    resetAppState();
}

}  // namespace
}  // namespace petty
