#include "petty/shell/startup_pettycash.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "petty/shell/pettycash_main.h"
#include "petty/shell/shell_test_support.h"
#include "platform/forms/test_support.h"
#include "platform/vb/text_functions.h"

namespace petty {
namespace {

using forms::ProgramEnded;
using testing::kApprovalPassword;
using testing::kNormalPassword;

class LogInTest : public testing::ShellTest {
protected:
    STARTUPpettycash& window() { return formInstances().get<STARTUPpettycash>(); }

    // Shows the log-in, types the password and presses Enter. False when the program ended.
    bool logIn(const std::string& typed) {
        window().show();
        forms::user::typeText(window().Text1, typed);
        try {
            forms::user::pressKey(window().Text1, forms::vbKeyReturn);
        } catch (const ProgramEnded&) {
            return false;
        }
        return true;
    }
    // One refused attempt in a program of its own: a Ui that has ended takes no further box.
    void expectRefusedAttempt(const std::string& typed) {
        formInstances().releaseAll();
        forms::TestUi own;
        forms::ScopedUi use(own);
        own.expectMessage(kDenied);
        EXPECT_FALSE(logIn(typed));
        EXPECT_EQ(own.journalLines(),
                  (std::vector<std::string>{"beep", "msgbox: " + std::string(kDenied), "end"}));
        EXPECT_NO_THROW(own.verifyDone());
        EXPECT_FALSE(mainWindowShown());
    }
    bool mainWindowShown() {
        const auto& loaded = forms::app().loadedForms();
        return std::any_of(loaded.begin(), loaded.end(), [](forms::Form* f) { return f->name() == "Pettycashmain"; });
    }

    static constexpr const char* kDenied = "Access denied!!. Please check username and password!!";
};

TEST_F(LogInTest, WarnsOfASmallScreenWithItsSize) {
    struct Case {
        int width, height;
        bool warns;
    };
    for (const Case c : {Case{1199, 900, true}, Case{1200, 760, false}, Case{1600, 759, true}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        ui.clearJournal();
        ui.setScreen({c.width * 15, c.height * 15, 15, 15});
        if (c.warns)
            ui.expectMessage("Your screen resolution set to low value (" + std::to_string(c.width) + " x " +
                             std::to_string(c.height) +
                             ") !! Set the screen resolution to higher value. Else some part of the screen may not "
                             "be visible!");
        STARTUPpettycash login;
        login.show();
        EXPECT_EQ(ui.messages().size(), c.warns ? 1u : 0u);
        EXPECT_TRUE(login.visible());  // nothing else depends on the check
        login.unload();
    }
}

TEST_F(LogInTest, LoadBuildsThePathsFromTheProgramFolder) {
    const auto capitals = folder / "Books" / "MyBook";
    std::filesystem::create_directories(capitals);
    for (const std::string& given : {capitals.string(), capitals.string() + "\\"}) {
        SCOPED_TRACE(given);
        resetAppState();
        appState().programFolder = given;
        STARTUPpettycash login;
        login.show();
        const std::string lowered = vb::lcase(folder.path().string()) + "/books/mybook\\";
        EXPECT_EQ(appState().appFolder, lowered);
        EXPECT_EQ(appState().businessDbPath, lowered + "BUSINESS.MDB");
        EXPECT_EQ(appState().documentsFolder, given + "\\documents\\");
        EXPECT_EQ(appState().companyName, "MyBook");
        login.unload();
    }
    resetAppState();
    appState().programFolder = capitals.string();
    appState().documentsFolder = "/elsewhere\\documents\\";
    STARTUPpettycash login;
    login.show();
    EXPECT_EQ(appState().documentsFolder, "/elsewhere\\documents\\");
}

TEST_F(LogInTest, LogsInFromAFolderWithCapitals) {
    const auto capitals = folder / "Books" / "MyBook";
    createBook(capitals, "Other1", "Other2");
    appState().programFolder = capitals.string();
    ASSERT_TRUE(logIn("other1"));  // the lower-cased businessDbPath still finds the book
    EXPECT_TRUE(mainWindowShown());
    EXPECT_EQ(window().Data1.databaseName(), (capitals / "business.mdb").string());
}

TEST_F(LogInTest, PasswordBoxHidesWhatIsTypedAndEnterLogsIn) {
    STARTUPpettycash& login = window();
    login.show();
    EXPECT_EQ(login.Text1.passwordChar(), '*');
    EXPECT_EQ(login.Text1.toolTip(), "Enter the log-in password here.");
    EXPECT_TRUE(login.Text1.hasFocus());
    EXPECT_EQ(login.defaultButton(), &login.Command1);
    EXPECT_LT(login.Command1.left() + login.Command1.width(), 0);  // outside the window
    EXPECT_EQ(login.lblProgram.caption(), "Ostrelle");
    EXPECT_EQ(login.lblSubtitle.caption(), "Pettycash Management");
    EXPECT_EQ(login.lblLogin.caption(), "Log in:");
}

TEST_F(LogInTest, TheProgramsNameStandsOutAndNothingShownIsCutOff) {
    STARTUPpettycash& login = window();
    EXPECT_TRUE(forms::testing::controlsCutOff(login).empty());
    EXPECT_TRUE(login.lblProgram.font().bold);
    EXPECT_GT(login.lblProgram.font().size, login.lblSubtitle.font().size);
    EXPECT_GT(login.lblSubtitle.font().size, login.lblVersion.font().size);
    EXPECT_EQ(login.lblVersion.font(), forms::Font{});  // the rest keeps the layout font
}

TEST_F(LogInTest, NormalPasswordTrimmedAndInAnyCaseLogsIn) {
    ASSERT_TRUE(logIn("   sEcReT1  "));
    EXPECT_EQ(appState().enteredPassword, "SECRET1");
    EXPECT_EQ(appState().currentUserName, "Unknown");  // the book's Username holds no value
    EXPECT_FALSE(appState().superUserLogin);
    EXPECT_TRUE(ui.journal().empty());
    EXPECT_TRUE(mainWindowShown());
    EXPECT_FALSE(window().isLoaded());
    EXPECT_EQ(formInstances().get<Pettycashmain>().caption(), "Ostrelle from Kelvra Technologies    User : Unknown");
}

TEST_F(LogInTest, NormalLogInTakesTheUserName) {
    setSetting("Username", "Ravi");
    ASSERT_TRUE(logIn(kNormalPassword));
    EXPECT_EQ(appState().currentUserName, "Ravi");
}

TEST_F(LogInTest, ApprovalLogInNamesTheUserOrWarns) {
    struct Case {
        jet::Value approvalName;
        std::string expectedUser;
        std::string message;
    };
    const Case cases[] = {
        {"Meera", "Meera",
         "Meera's  log-in can be used only for editing existing transactions. New transactions cannot be entered."},
        {jet::Value(), "Unknown",
         "User name is not entered in configuration for this user!! Please correct the error, log out and then "
         "log-in again!!"},
        {"", "", "'s  log-in can be used only for editing existing transactions. New transactions cannot be entered."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedUser);
        formInstances().releaseAll();
        resetAppState();
        appState().programFolder = folder.path().string();
        ui.clearJournal();
        setSetting("ApprovalUsername", c.approvalName);
        ui.expectMessage(c.message);
        ASSERT_TRUE(logIn(" boss2"));
        EXPECT_TRUE(appState().superUserLogin);
        EXPECT_EQ(appState().currentUserName, c.expectedUser);
        EXPECT_EQ(ui.journalLines(), std::vector<std::string>{"msgbox: " + c.message});
        EXPECT_TRUE(mainWindowShown());
    }
}

TEST_F(LogInTest, SamePasswordForBothLogsInTheNormalUser) {
    setSetting("ApprovalPassword", kNormalPassword);
    setSetting("Username", "Ravi");
    setSetting("ApprovalUsername", "Meera");
    ASSERT_TRUE(logIn(kNormalPassword));
    EXPECT_EQ(appState().currentUserName, "Ravi");
    EXPECT_FALSE(appState().superUserLogin);
}

TEST_F(LogInTest, WrongPasswordEndsTheProgramAtOnce) {
    expectRefusedAttempt("secret");
    EXPECT_EQ(appState().currentUserName, "");
}

TEST_F(LogInTest, QuotesInThePasswordAreOrdinaryCharacters) {
    for (const char* typed : {"'", "' or ''='", "Secret1' or '1'='1", "x' or password like '*"}) {
        SCOPED_TRACE(typed);
        expectRefusedAttempt(typed);
    }
    formInstances().releaseAll();
    setSetting("Password", "it's");
    ASSERT_TRUE(logIn("IT'S"));
    EXPECT_TRUE(mainWindowShown());
}

TEST_F(LogInTest, EmptyPasswordMatchesOnlyAnEmptyText) {
    setSetting("Password", jet::Value());
    expectRefusedAttempt("   ");

    formInstances().releaseAll();
    setSetting("Password", "");
    ASSERT_TRUE(logIn(""));
    EXPECT_FALSE(appState().superUserLogin);
}

TEST_F(LogInTest, ABookThatCannotBeUsedIsNamedDamagedWithWhatWasFound) {
    const std::filesystem::path book = bookPath(folder.path());
    const auto damageAt = [&](std::streamoff offset, size_t bytes) {
        std::fstream file(book, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(offset);
        for (size_t i = 0; i < bytes; ++i) file.put(static_cast<char>((i * 7919 + 13) & 0xff));
    };
    const auto truncateTo = [&](uintmax_t size) { std::filesystem::resize_file(book, size); };
    struct Fault {
        const char* what;
        std::function<void()> make;
        const char* found;  // part of what the message says was found
    };
    const std::vector<Fault> faults = {
        {"no settings table", [&] { openBook(book).execute("DROP TABLE config"); }, "the table config is missing"},
        {"no settings row", [&] { openBook(book).execute("DELETE FROM config"); }, "No current record."},
        {"no option column", [&] { openBook(book).execute("ALTER TABLE config DROP COLUMN reminddays"); },
         "the table config has no column reminddays"},
        {"not a book", [&] { writeFile(book); }, ""},
        {"empty file", [&] { truncateTo(0); }, ""},
        {"truncated", [&] { truncateTo(std::filesystem::file_size(book) / 2); }, ""},
        {"random bytes in the middle", [&] { damageAt(4096, 4096); }, ""},
        {"an amount beyond any currency",
         [&] {
             jet::Database db = openBook(book);
             db.execute("INSERT INTO pettycash ([Closed], [TermID]) VALUES ('No', 1)");
             db.execute("UPDATE pettycash SET Credit = 1e300");
         },
         "has a Credit outside the range of an amount"},
        {"another book password", [&] { openBook(book).execute("UPDATE _jet_book SET value = 'other'"); },
         "Not a valid password."},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.what);
        formInstances().releaseAll();  // the last attempt's window keeps the old book open
        std::filesystem::remove(book);
        createBook(folder.path(), kNormalPassword, kApprovalPassword);
        {
            // Enough rows that the middle of the file holds table pages.
            jet::Database db = openBook(book);
            jet::Transaction fill(db);
            for (int i = 0; i < 300; ++i)
                db.execute("INSERT INTO changelog ([user], [changelog]) VALUES ('x', ?)", {std::string(100, 'y')});
            fill.commit();
        }
        fault.make();
        // What the check finds (the engine's words for a broken file), or the
        // log-in's own failure when the file and its tables are sound.
        std::string found = [&] {
            try {
                jet::Database db = openBook(book);
                return bookDamage(db);
            } catch (const jet::Error& e) {
                return e.description();
            }
        }();
        if (found.empty()) found = fault.found;
        EXPECT_NE(found.find(fault.found), std::string::npos) << found;
        formInstances().releaseAll();
        forms::TestUi own;
        forms::ScopedUi use(own);
        own.expectMessage("The book " + book.string() + " is damaged or is not an Ostrelle book: " + found);
        EXPECT_FALSE(logIn(kNormalPassword));
        EXPECT_NO_THROW(own.verifyDone());
        EXPECT_EQ(own.journalLines().back(), "end");
        EXPECT_FALSE(mainWindowShown());
    }
}

TEST_F(LogInTest, ReadsTheOptionsBeforeJudgingThePassword) {
    setSetting("NOADVANCE", true);
    setSetting("enablecostcentre", true);
    setSetting("reminddays", 7);
    ui.expectMessage(kDenied);
    EXPECT_FALSE(logIn("wrong"));
    EXPECT_TRUE(appState().noAdvanceMode);
    EXPECT_TRUE(appState().costCentreEnabled);
    EXPECT_EQ(appState().reminderDays, 7);
}

TEST_F(LogInTest, OptionsWithoutValueAreOff) {
    appState().noAdvanceMode = true;
    appState().costCentreEnabled = true;
    appState().reminderDays = 3;
    for (const char* column : {"NOADVANCE", "enablecostcentre", "reminddays"}) setSetting(column, jet::Value());
    ASSERT_TRUE(logIn(kNormalPassword));
    EXPECT_FALSE(appState().noAdvanceMode);
    EXPECT_FALSE(appState().costCentreEnabled);
    EXPECT_EQ(appState().reminderDays, 0);
}

}  // namespace
}  // namespace petty
