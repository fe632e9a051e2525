#include "platform/forms/test_ui.h"

#include <gmock/gmock.h>

#include "platform/forms/error.h"

namespace forms {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(TestUiTest, QueuedAnswersAreGivenInOrderAndJournalled) {
    TestUi ui;
    ScopedUi use(ui);
    ui.expectMessage("Are you sure that you want to exit from Ostrelle?", MsgResult::No);
    ui.expectInputBox("Period?", "2405");
    ui.expectMessage("Done");
    forms::ui().beep();
    EXPECT_EQ(forms::ui().msgBox("Are you sure that you want to exit from Ostrelle?", MsgButtons::YesNo,
                                 MsgIcon::Question),
              MsgResult::No);
    EXPECT_EQ(forms::ui().inputBox("Period?", "Title", "1"), "2405");
    forms::ui().beep();
    EXPECT_EQ(forms::ui().msgBox("Done", MsgButtons::OkOnly, MsgIcon::None, "Ostrelle"), MsgResult::Ok);
    EXPECT_EQ(forms::ui().shellOpen("/book/Pettycash.pdf"), 42);
    ui.setShellResult(2);
    EXPECT_EQ(forms::ui().shellOpen("/book/missing.pdf"), 2);

    EXPECT_THAT(ui.journalLines(),
                ElementsAre("beep", "msgbox YesNo Question: Are you sure that you want to exit from Ostrelle? -> No",
                            "inputbox: Period? -> 2405", "beep", "msgbox [Ostrelle]: Done",
                            "shell Open: /book/Pettycash.pdf -> 42", "shell Open: /book/missing.pdf -> 2"));
    EXPECT_EQ(ui.beepCount(), 2);
    EXPECT_THAT(ui.messages(), ElementsAre("Are you sure that you want to exit from Ostrelle?", "Done"));
    EXPECT_EQ(ui.journal()[1].icon, MsgIcon::Question);
    EXPECT_NO_THROW(ui.verifyDone());
}

TEST(TestUiTest, AnUnexpectedOrDifferentBoxFailsNamingItsText) {
    struct Case {
        const char* what;
        std::function<void(TestUi&)> queue;
        std::function<void()> show;
        const char* named;
    };
    const Case cases[] = {
        {"nothing queued", [](TestUi&) {}, [] { ui().msgBox("Closed!"); }, "unexpected message box: \"Closed!\""},
        {"other text", [](TestUi& u) { u.expectMessage("Closed!"); }, [] { ui().msgBox("Open!"); },
         "\"Open!\" shown, but the next expected is the message box \"Closed!\""},
        {"input box instead", [](TestUi& u) { u.expectMessage("Closed!"); }, [] { ui().inputBox("Closed!"); },
         "next expected is the message box"},
        {"answer the buttons lack", [](TestUi& u) { u.expectMessage("Closed!", MsgResult::Yes); },
         [] { ui().msgBox("Closed!"); }, "cannot answer Yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestUi testUi;
        ScopedUi use(testUi);
        c.queue(testUi);
        try {
            c.show();
            ADD_FAILURE() << "the box was answered";
        } catch (const UnexpectedDialog& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.named));
        }
        // Kept even when a handler swallowed the exception.
        ASSERT_EQ(testUi.failures().size(), 1u);
        EXPECT_THROW(testUi.verifyDone(), std::logic_error);
    }
}

TEST(TestUiTest, UnusedAnswersFailVerification) {
    TestUi ui;
    ui.expectMessage("Never shown");
    try {
        ui.verifyDone();
        FAIL();
    } catch (const std::logic_error& e) {
        EXPECT_THAT(e.what(), HasSubstr("never shown: \"Never shown\""));
    }
}

TEST(TestUiTest, EndingTheProgramStopsAtOnceAndNoBoxMayFollow) {
    TestUi ui;
    ScopedUi use(ui);
    ui.expectMessage("Access denied!!. Please check username and password!!");
    ui.expectMessage("after");
    auto logIn = [] {
        forms::ui().beep();
        forms::ui().msgBox("Access denied!!. Please check username and password!!");
        forms::ui().endProgram();
    };
    EXPECT_THROW(logIn(), ProgramEnded);
    EXPECT_TRUE(ui.ended());
    EXPECT_THAT(ui.journalLines(),
                ElementsAre("beep", "msgbox: Access denied!!. Please check username and password!!", "end"));
    EXPECT_THROW(forms::ui().msgBox("after"), UnexpectedDialog);
}

TEST(TestUiTest, MousePointerAndCursorFile) {
    TestUi ui;
    ui.setMousePointer(vbHourglass);
    ui.setMousePointer(vbCustom);
    EXPECT_EQ(ui.mousePointer(), vbCustom);
    EXPECT_THAT(ui.mousePointerHistory(), ElementsAre(vbHourglass, vbCustom));
    try {
        ui.setMouseIcon("/nonexistent/h_point.cur");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 53);
    }
}

TEST(TestUiTest, NoServiceInstalledIsAClearError) {
    EXPECT_THROW(ui(), std::logic_error);
}

}  // namespace
}  // namespace forms
