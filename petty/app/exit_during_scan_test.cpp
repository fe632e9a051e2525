// Exit during a feeder scan, in a process of its own that runs the program's
// windows as the program does (runWindows) on a virtual display, with the
// real scanning library and SANE's test device at a real feeder's pace. Real
// events: the log-in, the register's scan button, the scan window's feeder
// step, the main window's Exit pressed while the scan runs (the scan window
// is modal to the program: nothing happens), the scan window's title-bar
// close answered Yes, then Exit answered Yes. The process must be gone within
// a few seconds of that answer, leave no file in the documents folder (no
// bill of the cancelled scan, no writer's temporary), no bill on the voucher,
// and the book free for the next start.
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "petty/app/program_start.h"
#include "petty/app/run_windows.h"
#include "petty/register/entry_box_index.h"
#include "petty/register/frm_pettycash.h"
#include "petty/scanning/formscan.h"
#include "petty/shell/form_instances.h"
#include "petty/shell/pettycash_main.h"
#include "petty/shell/shell_test_support.h"
#include "petty/shell/startup_pettycash.h"
#include "petty/shell/stored_options_mark.h"
#include "platform/com/class_objects.h"
#include "platform/com/testing/private_registry.h"
#include "platform/forms_qt/qt_host.h"
#include "platform/forms_qt/testing/message_box_answerer.h"
#include "platform/forms_qt/testing/virtual_display.h"
#include "platform/vb/date_time.h"
#include "platform/win/testing/sane_test_backend.h"
#include "platform/win/testing/scratch_folder.h"

namespace petty {
namespace {

using Clock = std::chrono::steady_clock;

template <class Window>
Window* loadedWindow() {
    for (forms::Form* form : forms::app().loadedForms())
        if (auto* window = dynamic_cast<Window*>(form)) return window;
    return nullptr;
}

forms_qt::QtHost& qtHost() { return dynamic_cast<forms_qt::QtHost&>(*forms::app().host()); }

void realClick(const forms::Control& control) {
    QTest::mouseClick(qtHost().widgetOf(control), Qt::LeftButton);
}

// The program in this (child) process, walked by a user whose every step and
// every message box answered is reported as a line on `report`. Returns as
// the program's main does.
int runProgramAndExitDuringAScan(const std::filesystem::path& folder, int report) {
    const auto tell = [report](const std::string& line) {
        const std::string text = line + "\n";
        (void)!::write(report, text.data(), text.size());
    };
    int argc = 1;
    char name[] = "ostrelle";
    char* argv[] = {name, nullptr};
    QApplication qt(argc, argv);
    forms_qt::testing::MessageBoxAnswerer answerer([&](const std::string& text) { tell("answered: " + text); });

    // Each step runs once the window it needs shows; a blocking click comes
    // last in its step, after the next step is set off.
    std::function<void()> logIn, openScanWindow, startFeederScan, exitMidScan, exitOnceClosed;
    const auto after = [](int ms, const std::function<void()>& step) { QTimer::singleShot(ms, step); };
    logIn = [&] {
        STARTUPpettycash* login = loadedWindow<STARTUPpettycash>();
        if (!login || !login->visible()) return after(200, logIn);
        forms::user::typeText(login->Text1, testing::kNormalPassword);
        after(300, openScanWindow);
        forms::user::pressKey(login->Text1, forms::vbKeyReturn);
    };
    openScanWindow = [&] {
        frmpettycash* register_ = loadedWindow<frmpettycash>();
        if (!register_ || register_->Textpcash[kVoucherIdBox].text().empty()) return after(200, openScanWindow);
        tell("voucher: " + register_->Textpcash[kVoucherIdBox].text());
        forms::user::selectTab(register_->SSTab2, 1);  // the voucher tab, with the scan button
        after(300, startFeederScan);
        realClick(register_->cmdScanDoc);
    };
    startFeederScan = [&] {
        Formscan* scan = loadedWindow<Formscan>();
        if (!scan) return after(200, startFeederScan);
        after(1500, exitMidScan);
        realClick(scan->MyButton1[Formscan::ScanAllToPdf]);  // returns once the scan ended
    };
    int waitsForTheScan = 0;
    exitMidScan = [&] {
        Formscan* scan = loadedWindow<Formscan>();
        // A loaded machine may start the scan late.
        if (scan && !scan->scanning() && ++waitsForTheScan < 30) return after(100, exitMidScan);
        tell(scan && scan->scanning() ? "scanning" : "not scanning");
        if (!scan) return;
        realClick(formInstances().get<Pettycashmain>().MyButton1[command::kExit]);
        tell(loadedWindow<Pettycashmain>() ? "exit mid-scan: the program goes on" : "exit mid-scan: the program ended");
        qtHost().windowOf(*scan)->close();  // the title bar's close
        after(200, exitOnceClosed);
    };
    exitOnceClosed = [&] {
        if (loadedWindow<Formscan>()) return after(200, exitOnceClosed);
        tell("scan window gone");
        realClick(formInstances().get<Pettycashmain>().MyButton1[command::kExit]);
    };
    after(300, logIn);
    return runWindows(folder);
}

class ExitDuringScanTest : public testing::ShellTest {
protected:
    ExitDuringScanTest() {
        jet::Database book = openBook(bookPath(folder.path()));
        markOptionsStored(book);
        book.execute(
            "INSERT INTO pettycash ([Date], [Time], [Employee], [TransType], [Head], [Debit], [Credit],"
            " [expensefromadvance], [runningbalance], [Narration], [Matchwith], [Matchrequired], [Matched],"
            " [Enteredby], [Closed], [Billno], [TermID]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {jet::Value(*vb::DateTime::fromParts(2026, 3, 2)), "09:15", "Asha", "Cash transfer to PC", nullptr, 500, 0,
             0, 500, "float", 0, "No", "No", "Ravi", "No", nullptr, int64_t{2603020915}});
        std::ofstream(sane_.file("dll.conf")) << "test\n";
        // A real feeder's pace: small chunks with a pause before each, through
        // the device's own "read limit" and "read delay" options.
        std::ofstream(sane_.file("test.conf")) << "test-picture \"Color pattern\"\nread-limit true\n"
                                                  "read-limit-size 32768\nread-delay true\nread-delay-duration 10000\n";
    }

    std::vector<std::string> documentsFiles() const {
        std::vector<std::string> names;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "documents", missing))
            names.push_back(entry.path().filename().string());
        return names;
    }

    win::testing::ScratchFolder sane_;
    win::testing::ScopedEnvironment saneConfig_{"SANE_CONFIG_DIR", sane_.path().c_str()};
    win::testing::ScopedEnvironment engineConfig_{"XDG_CONFIG_HOME", sane_.path().c_str()};
    com::testing::PrivateRegistry registry_;
};

TEST_F(ExitDuringScanTest, ThePromptlyEndedProcessLeavesNoFileAndFreesTheBook) {
    if (!forms_qt::testing::xvfbInstalled()) GTEST_SKIP() << "Xvfb is not installed";
    forms_qt::testing::VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    win::testing::ScopedEnvironment onDisplay("DISPLAY", display.name().c_str());
    win::testing::ScopedEnvironment xcb("QT_QPA_PLATFORM", "xcb");
    ASSERT_EQ(com::CallServerRegistration(SCANVELT_LIBRARY_PATH, false), com::S_OK);
    // The ended process's leak check must know the test backend's leftovers by name.
    win::testing::KeepSaneTestBackendLoaded();

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        ::close(pipeEnds[0]);
        // Ends as the program's main returns: static objects and libraries go too.
        std::exit(runProgramAndExitDuringAScan(folder.path(), pipeEnds[1]));
    }
    ::close(pipeEnds[1]);

    // The child's lines as they come, until it ends or the walk takes too long.
    std::vector<std::string> lines;
    std::optional<Clock::time_point> exitAnswered;
    std::string pending;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(90);
    int status = 0;
    bool ended = false;
    while (!ended && Clock::now() < deadline &&
           (!exitAnswered || Clock::now() < *exitAnswered + std::chrono::seconds(5))) {
        pollfd wait{pipeEnds[0], POLLIN, 0};
        if (::poll(&wait, 1, 50) == 1) {
            char chunk[512];
            const ssize_t n = ::read(pipeEnds[0], chunk, sizeof chunk);
            if (n > 0) pending.append(chunk, static_cast<size_t>(n));
            for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
                lines.push_back(pending.substr(0, end));
                if (lines.back().find("want to exit") != std::string::npos) exitAnswered = Clock::now();
            }
        }
        ended = ::waitpid(program, &status, WNOHANG) == program;
    }
    ::close(pipeEnds[0]);
    if (!ended) {
        ::kill(program, SIGKILL);
        ::waitpid(program, &status, 0);
    }
    ASSERT_TRUE(exitAnswered) << ::testing::PrintToString(lines);
    EXPECT_TRUE(ended) << "the program still ran 5 s after Exit was answered Yes";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    ASSERT_GE(lines.size(), 1u);
    const std::string voucher = lines.front().substr(lines.front().find(": ") + 2);
    EXPECT_THAT(lines, ::testing::ElementsAre(
                           "voucher: " + voucher, "scanning", "exit mid-scan: the program goes on",
                           "answered: A scan is running. Cancel it and close the window?",
                           "answered: The scan was cancelled: no bill was stored.", "scan window gone",
                           "answered: Are you sure that you want to exit from Ostrelle?"));

    // No bill and no writer's temporary stays, and no voucher names a bill.
    EXPECT_THAT(documentsFiles(), ::testing::IsEmpty());
    jet::Recordset bills = openBook(bookPath(folder.path())).openRecordset("select document from pettycash");
    for (; !bills.eof(); bills.moveNext()) EXPECT_TRUE(bills.field(size_t{0}).isNull() || bills.field(size_t{0}).asText().empty());
    // The book is free: the next start opens it without a word.
    ASSERT_TRUE(startProgram(folder.path()));
    EXPECT_TRUE(formInstances().get<STARTUPpettycash>().visible());
}

}  // namespace
}  // namespace petty
