#include "petty/app/program_start.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>

#include "petty/app/new_book_window.h"
#include "petty/shell/pettycash_config_small.h"
#include "petty/shell/pettycash_main.h"
#include "petty/shell/shell_test_support.h"
#include "petty/shell/startup_pettycash.h"
#include "petty/shell/stored_options_mark.h"
#include "platform/files/testing/lock_held_elsewhere.h"
#include "platform/files/testing/read_only_view.h"
#include "platform/forms/agreeing_ui.h"
#include "platform/jet/error.h"
#include "platform/jet/file_name.h"

namespace petty {
namespace {

class FirstStartTest : public testing::ShellTest {
protected:
    FirstStartTest() : ShellTest(false) { appState().programFolder.clear(); }

    std::filesystem::path bookFolder() const { return folder / "Books"; }
    bool bookExists() const { return jet::findIgnoringCase(bookPath(bookFolder())).has_value(); }

    using Entries = std::array<const char*, 4>;
    // The passwords, each typed twice; the user names Ravi and Meera unless others are given.
    static void type(frmNewBook& w, const Entries& entries, const char* userName = "Ravi",
                     const char* approvalUserName = "Meera") {
        forms::TextBox* boxes[] = {&w.txtPassword, &w.txtPasswordAgain, &w.txtApproval, &w.txtApprovalAgain};
        for (int i = 0; i < 4; ++i) forms::user::editText(*boxes[i], entries[static_cast<size_t>(i)]);
        forms::user::editText(w.txtUserName, userName);
        forms::user::editText(w.txtApprovalUserName, approvalUserName);
    }
    STARTUPpettycash& login() { return formInstances().get<STARTUPpettycash>(); }
};

TEST_F(FirstStartTest, NewBookWindowCreatesTheBookThenTheLogInShows) {
    host.expectModal<frmNewBook>("frmnewbook", [](frmNewBook& w) {
        for (forms::TextBox* box : {&w.txtPassword, &w.txtPasswordAgain, &w.txtApproval, &w.txtApprovalAgain})
            EXPECT_EQ(box->passwordChar(), '*');
        type(w, {"Tea4two", "Tea4two", "Chief9", "Chief9"});
        forms::user::pressKey(w.txtApprovalAgain, forms::vbKeyReturn);
    });
    ASSERT_TRUE(startProgram(bookFolder()));
    EXPECT_TRUE(bookExists());
    EXPECT_TRUE(appState().firstRun);
    EXPECT_EQ(appState().programFolder, bookFolder().string());
    EXPECT_TRUE(login().visible());
    {
        // The user names typed there are stored with the passwords.
        jet::Recordset row = openBook(bookPath(bookFolder())).openRecordset("select * from config");
        EXPECT_EQ(row.field("Username").asText(), "Ravi");
        EXPECT_EQ(row.field("ApprovalUsername").asText(), "Meera");
    }

    // The passwords typed there log in, and the quick configuration comes first.
    host.expectModal<frmpettycashconfigSmall>("frmpettycashconfigSmall",
                                              [](frmpettycashconfigSmall& w) { forms::user::click(w.cmdupdate); });
    forms::user::typeText(login().Text1, "tea4two\r");
    Pettycashmain& main = formInstances().get<Pettycashmain>();
    EXPECT_TRUE(main.visible());
    EXPECT_FALSE(appState().superUserLogin);
    EXPECT_EQ(appState().currentUserName, "Ravi");
    EXPECT_FALSE(firstRunOf(bookPath(bookFolder())));

    // And the exit command ends the program.
    ui.expectMessage("Are you sure that you want to exit from Ostrelle?", forms::MsgResult::Yes);
    forms::user::click(main.menu("mnuExit"));
    EXPECT_TRUE(host.programEnded());
    EXPECT_TRUE(forms::app().loadedForms().empty());
}

TEST_F(FirstStartTest, MistakesAreExplainedAndCancelLeavesNoBook) {
    struct Case {
        Entries entries;
        std::string message;
        const char* userName = "Ravi";
        const char* approvalUserName = "Meera";
    };
    const Case cases[] = {
        {{"a1", "a2", "b", "b"}, "The two entries of the normal password differ."},
        {{"a", "a", "b", "c"}, "The two entries of the approval password differ."},
        {{"same", "same", "SAME", "SAME"}, "The two passwords must differ (letter case does not count at log-in)."},
        {{"", "", "b", "b"}, "Both passwords must be given."},
        {{" a", " a", "b", "b"}, "A password cannot start or end with a blank."},
        {{"a", "a", "b", "b"}, "Both user names must be given.", "", "Meera"},
        {{"a", "a", "b", "b"}, "Both user names must be given.", "Ravi", "  "},
        {{"a", "a", "b", "b"}, "The two user names must differ.", "Ravi", "Ravi"},
    };
    host.expectModal<frmNewBook>("frmnewbook", [this, &cases](frmNewBook& w) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.message);
            ui.expectMessage(c.message);
            type(w, c.entries, c.userName, c.approvalUserName);
            forms::user::click(w.cmdCreate);
            EXPECT_TRUE(w.visible());
        }
        forms::user::pressKey(w.txtPassword, forms::vbKeyEscape);
    });
    EXPECT_FALSE(startProgram(bookFolder()));
    EXPECT_FALSE(bookExists());
    EXPECT_FALSE(std::filesystem::exists(bookFolder()));
    EXPECT_TRUE(forms::app().loadedForms().empty());
}

TEST_F(FirstStartTest, ABookThatCannotBeMadeIsReported) {
    writeFile(bookFolder());  // a file where the folder should be
    std::string reason;
    try {
        createBook(bookFolder(), "a", "b");
    } catch (const BookError& e) {
        reason = e.what();
    }
    ASSERT_FALSE(reason.empty());
    host.expectModal<frmNewBook>("frmnewbook", [this, &reason](frmNewBook& w) {
        ui.expectMessage(reason);
        type(w, {"a", "a", "b", "b"});
        forms::user::click(w.cmdCreate);
        ASSERT_EQ(ui.journal().size(), 1u);
        EXPECT_EQ(ui.journal()[0].icon, forms::MsgIcon::Critical);
        EXPECT_TRUE(w.visible());
        forms::user::click(w.cmdCancel);
    });
    EXPECT_FALSE(startProgram(bookFolder()));
}

TEST_F(FirstStartTest, AnExistingBookGoesStraightToTheLogIn) {
    createBook(bookFolder(), "x", "y");
    for (const bool configured : {false, true}) {
        SCOPED_TRACE(configured ? "options stored" : "options never stored");
        if (configured) {
            jet::Database book = openBook(bookPath(bookFolder()));
            markOptionsStored(book);
        }
        formInstances().releaseAll();
        ASSERT_TRUE(startProgram(bookFolder().string() + "/"));
        EXPECT_EQ(appState().firstRun, !configured);
        EXPECT_EQ(appState().programFolder, bookFolder().string());
        EXPECT_TRUE(login().visible());
        EXPECT_TRUE(host.modalsShown().empty());
        EXPECT_TRUE(commandWindowRegistered(CommandWindow::Configuration));
        EXPECT_TRUE(commandWindowRegistered(CommandWindow::QuickConfiguration));
    }
}

TEST_F(FirstStartTest, ASecondProgramOnTheBookIsToldItIsOpenElsewhere) {
    createBook(bookFolder(), "x", "y");
    files::testing::LockHeldElsewhere first(bookPath(bookFolder()));  // the first program, holding the book
    ui.expectMessage("The book in " + bookFolder().string() +
                     " is open in another copy of the program. Close it there, then start again.");
    EXPECT_FALSE(startProgram(bookFolder()));
    EXPECT_FALSE(login().visible());

    // Once the first program is gone (killed: its lock goes with it) the book opens.
    first.kill();
    ASSERT_TRUE(startProgram(bookFolder()));
    EXPECT_TRUE(login().visible());
}

// Another program on the book, started as the program starts, kept until the test ends.
class ProgramElsewhere {
public:
    explicit ProgramElsewhere(const std::filesystem::path& folder) {
        int ready[2];
        if (::pipe(ready) != 0) throw std::runtime_error("no pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            forms::AgreeingUi agreeing;
            forms::ScopedUi use(agreeing);
            const char started = startProgram(folder) ? 'y' : 'n';
            (void)!::write(ready[1], &started, 1);
            for (;;) ::pause();
        }
        char started = 0;
        (void)!::read(ready[0], &started, 1);
        ::close(ready[0]);
        ::close(ready[1]);
        if (started != 'y') throw std::runtime_error("the other program did not start");
    }
    ~ProgramElsewhere() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = -1;
};

// The book reached through a symlink in another folder, or its folder after
// a side lock file was deleted, is still the book another program has open.
TEST_F(FirstStartTest, NoPathToABookOpenElsewhereLetsASecondProgramIn) {
    createBook(bookFolder(), "x", "y");
    const std::filesystem::path elsewhere = folder / "Elsewhere";
    std::filesystem::create_directories(elsewhere);
    std::filesystem::create_symlink(bookPath(bookFolder()), bookPath(elsewhere));
    ProgramElsewhere first(bookFolder());
    for (const char* name : {".lock", ".Lock"}) std::filesystem::remove(bookFolder() / name);
    for (const std::filesystem::path& reached : {elsewhere, bookFolder()}) {
        ui.expectMessage(bookOpenElsewhereMessage(reached));
        EXPECT_FALSE(startProgram(reached)) << reached;
        EXPECT_FALSE(login().visible());
    }
}

// A book that can only be read opens for reading, says so, and every write is refused.
TEST_F(FirstStartTest, AReadOnlyBookOpensForReadingAndRefusesWrites) {
    createBook(bookFolder(), "Tea4two", "Chief9");
    {
        jet::Database book = openBook(bookPath(bookFolder()));
        markOptionsStored(book);
    }
    const int result = files::testing::runWithReadOnlyFolder(bookFolder(), [&] {
        forms::AgreeingUi agreeing;
        forms::ScopedUi use(agreeing);
        if (!startProgram(bookFolder())) return std::fprintf(stderr, "not started\n"), 1;
        if (std::find(agreeing.messages.begin(), agreeing.messages.end(), readOnlyBookMessage(bookFolder())) ==
            agreeing.messages.end())
            return std::fprintf(stderr, "not told the book is read-only\n"), 2;
        forms::user::typeText(login().Text1, "Tea4two");
        try {
            forms::user::pressKey(login().Text1, forms::vbKeyReturn);
        } catch (const forms::ProgramEnded&) {
            for (const std::string& m : agreeing.messages) std::fprintf(stderr, "%s\n", m.c_str());
            return std::fprintf(stderr, "the log-in ended the program\n"), 3;
        }
        try {
            openBook(bookPath(bookFolder())).execute("INSERT INTO changelog ([user]) VALUES ('x')");
            return std::fprintf(stderr, "a write went through\n"), 4;
        } catch (const jet::Error& e) {
            if (e.number() != 3027) return std::fprintf(stderr, "%s\n", e.what()), 5;
        }
        formInstances().releaseAll();
        return 0;
    });
    if (result == files::testing::kNoReadOnlyView) GTEST_SKIP() << "no read-only view of a folder can be made here";
    EXPECT_EQ(result, 0);
}

TEST_F(FirstStartTest, TemporaryFilesOfAKilledWriteAreClearedAtStart) {
    createBook(bookFolder(), "x", "y");
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".report.pdf.part-" + std::to_string(gone) + "-00000000000000ff";
    const std::string staleExport = ".export.csv.part-" + std::to_string(gone) + "-00000000000000ff";
    const std::string staleBill = ".12_0931.pdf.part-" + std::to_string(gone) + "-00000000000000ff";
    std::ofstream(bookFolder() / stale) << "half";
    std::ofstream(bookFolder() / "exportcsv" / staleExport) << "half";
    std::filesystem::create_directories(bookFolder() / "documents");
    std::ofstream(bookFolder() / "documents" / staleBill) << "half a scan";
    std::ofstream(bookFolder() / "notes.part") << "the user's own";
    ASSERT_TRUE(startProgram(bookFolder()));
    EXPECT_FALSE(std::filesystem::exists(bookFolder() / stale));
    EXPECT_FALSE(std::filesystem::exists(bookFolder() / "exportcsv" / staleExport));
    EXPECT_FALSE(std::filesystem::exists(bookFolder() / "documents" / staleBill));
    EXPECT_TRUE(std::filesystem::exists(bookFolder() / "notes.part"));
}

TEST(ProgramFolder, AbsoluteWithoutTrailingSeparator) {
    EXPECT_EQ(programFolderOf("/a/b/"), "/a/b");
    EXPECT_EQ(programFolderOf("/a/./c/../b"), "/a/b");
    EXPECT_EQ(programFolderOf("/"), "/");
    EXPECT_EQ(programFolderOf("rel"), std::filesystem::current_path() / "rel");
}

}  // namespace
}  // namespace petty
