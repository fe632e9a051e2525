#include "platform/forms/form.h"

#include <gmock/gmock.h>

#include <algorithm>

#include "platform/forms/test_support.h"

namespace forms {
namespace {

using ::testing::ElementsAre;
using testing::EventLog;

// A window that logs its life-cycle events into a shared log.
class LoggedForm : public Form {
public:
    LoggedForm(std::string name, EventLog& log) : Form(std::move(name)) {
        const std::string n = this->name();
        onLoad = log.record(n + ".Load");
        onActivate = log.record(n + ".Activate");
        onDeactivate = log.record(n + ".Deactivate");
        onQueryUnload = [&log, n](int&, int mode) { log.entries.push_back(n + ".QueryUnload " + std::to_string(mode)); };
        onUnload = [&log, n](int&) { log.entries.push_back(n + ".Unload"); };
        ok.onClick = [this] { unload(); };
        ok.setDefault(true);
    }
    CommandButton ok{*this, "ok"};
    TextBox box{*this, "box"};
};

class FrameForm : public MdiForm {
public:
    explicit FrameForm(EventLog& log) : MdiForm("main") {
        onLoad = log.record("main.Load");
        onActivate = log.record("main.Activate");
        onDeactivate = log.record("main.Deactivate");
        onQueryUnload = [&log](int&, int mode) { log.entries.push_back("main.QueryUnload " + std::to_string(mode)); };
        onUnload = [&log](int&) { log.entries.push_back("main.Unload"); };
    }
    CommandButton command{*this, "command"};
};

using FormTest = testing::FormsTest;

TEST_F(FormTest, ShowModalRunsLoadActivateTheScriptAndReturnsAfterUnload) {
    EventLog log;
    LoggedForm owner("owner", log);
    owner.show();
    LoggedForm dialog("dialog", log);
    host.expectModal("dialog", [&](Form&) {
        log.entries.push_back("script");
        EXPECT_FALSE(app().acceptsInput(owner));  // the owner is blocked while the dialog is open
        EXPECT_FALSE(user::click(owner.ok));
        user::pressKey(dialog.box, vbKeyReturn);  // Enter clicks the default button, which unloads
    });
    log.entries.clear();
    dialog.showModal();
    EXPECT_THAT(log.entries, ElementsAre("dialog.Load", "owner.Deactivate", "dialog.Activate", "script",
                                         "dialog.QueryUnload 1", "dialog.Unload", "owner.Activate"));
    EXPECT_FALSE(dialog.isLoaded());
    EXPECT_EQ(app().activeForm(), &owner);
    EXPECT_TRUE(app().acceptsInput(owner));
    owner.unload();
}

TEST_F(FormTest, NestedModalsRunTheirScriptsInsideEachOther) {
    EventLog log;
    LoggedForm outer("outer", log);
    LoggedForm inner("inner", log);
    outer.box.onDblClick = [&] { inner.showModal(); };
    host.expectModal<LoggedForm>("outer", [&](LoggedForm& f) {
        user::doubleClick(f.box);
        log.entries.push_back("back in outer");
        user::click(f.ok);
    });
    host.expectModal<LoggedForm>("inner", [&](LoggedForm& f) {
        EXPECT_FALSE(user::click(outer.ok));  // below the inner modal
        user::click(f.ok);
    });
    outer.showModal();
    EXPECT_THAT(host.modalsShown(), ElementsAre("outer", "inner"));
    EXPECT_THAT(log.entries, ElementsAre("outer.Load", "outer.Activate", "inner.Load", "outer.Deactivate",
                                         "inner.Activate", "inner.QueryUnload 1", "inner.Unload", "outer.Activate",
                                         "back in outer", "outer.QueryUnload 1", "outer.Unload"));
}

TEST_F(FormTest, AModalWithoutAScriptOrLeftOpenFailsClearly) {
    EventLog log;
    LoggedForm dialog("dialog", log);
    try {
        dialog.showModal();
        FAIL() << "showModal returned";
    } catch (const UnscriptedModal& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("'dialog'"));
    }
    dialog.unload();
    host.expectModal("dialog", [](Form&) {});
    EXPECT_THROW(dialog.showModal(), UnscriptedModal);
    dialog.unload();
}

TEST_F(FormTest, HidingAModalEndsItsLoopAndNoModelessFormOpensAboveIt) {
    EventLog log;
    LoggedForm dialog("dialog", log);
    LoggedForm other("other", log);
    host.expectModal("dialog", [&](Form& f) {
        try {
            other.show();
            ADD_FAILURE() << "a modeless form opened above a modal one";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 401);
        }
        f.hide();
    });
    dialog.showModal();
    EXPECT_TRUE(dialog.isLoaded());
    EXPECT_FALSE(dialog.visible());
    EXPECT_TRUE(app().modalStack().empty());
    other.unload();
    dialog.unload();
}

TEST_F(FormTest, QueryUnloadAndUnloadCanCancel) {
    EventLog log;
    LoggedForm form("form", log);
    form.show();
    int mode = -1;
    form.onQueryUnload = [&](int& cancel, int unloadMode) {
        mode = unloadMode;
        cancel = 1;
    };
    EXPECT_TRUE(user::closeForm(form));
    EXPECT_EQ(mode, vbFormControlMenu);
    EXPECT_TRUE(form.isLoaded());
    form.onQueryUnload = nullptr;
    form.onUnload = [](int& cancel) { cancel = 1; };
    EXPECT_FALSE(form.unload());
    EXPECT_TRUE(form.isLoaded());
    form.onUnload = nullptr;
    form.setCloseBoxEnabled(false);
    EXPECT_FALSE(user::closeForm(form));
    EXPECT_TRUE(form.unload());
    EXPECT_FALSE(form.isLoaded());
    EXPECT_TRUE(host.programEnded());  // the last form went
}

TEST_F(FormTest, MdiChildShowsItsFrameAndUnloadsWithIt) {
    EventLog log;
    FrameForm frame(log);
    LoggedForm child("register", log);
    child.setMdiParent(frame);
    child.show();
    EXPECT_THAT(log.entries, ElementsAre("main.Load", "main.Activate", "register.Load", "register.Activate"));
    EXPECT_EQ(app().activeForm(), &child);
    EXPECT_THAT(frame.children(), ElementsAre(&child));
    EXPECT_THROW(child.showModal(), Error);

    // A modal over the frame deactivates both; closing it activates both again.
    LoggedForm dialog("dialog", log);
    host.expectModal("dialog", [](Form& f) { f.unload(); });
    log.entries.clear();
    dialog.showModal();
    EXPECT_THAT(log.entries,
                ElementsAre("dialog.Load", "register.Deactivate", "main.Deactivate", "dialog.Activate",
                            "dialog.QueryUnload 1", "dialog.Unload", "main.Activate", "register.Activate"));

    // Clicking the frame's own controls keeps the child active.
    log.entries.clear();
    user::click(frame.command);
    EXPECT_THAT(log.entries, ElementsAre());
    frame.bringToFront(child);
    EXPECT_EQ(app().activeForm(), &child);

    log.entries.clear();
    EXPECT_TRUE(frame.unload());
    EXPECT_THAT(log.entries,
                ElementsAre("main.QueryUnload 1", "register.QueryUnload 4", "register.Unload", "main.Unload"));
    EXPECT_FALSE(child.isLoaded());
    EXPECT_TRUE(frame.children().empty());
}

TEST_F(FormTest, TheHostHearsOfALoadedFormThatIsDestroyed) {
    // Records what the host is told; modal loops are the scripted host's.
    class RecordingHost : public Host {
    public:
        explicit RecordingHost(std::vector<std::string>& heard) : heard_(heard) {}
        void formUnloaded(Form& f) override { heard_.push_back("unloaded " + f.name()); }
        void formDestroyed(Form& f) override {
            heard_.push_back("destroyed " + f.name() + (isLoadedNow(f) ? " (still listed)" : ""));
        }
        void runModal(Form&) override {}

    private:
        static bool isLoadedNow(const Form& f) {
            const auto& loaded = app().loadedForms();
            return std::find(loaded.begin(), loaded.end(), &f) != loaded.end();
        }
        std::vector<std::string>& heard_;
    };
    std::vector<std::string> heard;
    RecordingHost recorder(heard);
    Host* scripted = app().host();
    app().setHost(&recorder);
    EventLog log;
    {
        LoggedForm shown("shown", log);
        shown.show();
        LoggedForm unloaded("unloaded", log);
        unloaded.show();
        unloaded.unload();
        LoggedForm never("never", log);
    }
    app().setHost(scripted);
    // Only the form destroyed while loaded; the application has forgotten it by then.
    EXPECT_THAT(heard, ElementsAre("unloaded unloaded", "destroyed shown"));
    EXPECT_TRUE(app().loadedForms().empty());
}

TEST_F(FormTest, TheFocusComesBackToAControlAfterAModal) {
    EventLog log;
    LoggedForm owner("owner", log);
    owner.show();
    user::setFocus(owner.box);
    int gotFocus = 0;
    owner.box.onGotFocus = [&] { ++gotFocus; };
    LoggedForm dialog("dialog", log);
    host.expectModal("dialog", [](Form& f) { f.unload(); });
    dialog.showModal();
    EXPECT_EQ(gotFocus, 0);  // switching forms raises no control focus events
    owner.box.setFocus();     // the program puts the focus back: it arrives again
    EXPECT_EQ(gotFocus, 1);
    owner.box.setFocus();
    EXPECT_EQ(gotFocus, 1);
    owner.unload();
}

TEST_F(FormTest, AFormWithoutFocusableControlsGetsTheFocusItself) {
    Form plain("plain");
    Label label{plain, "label"};
    EventLog log;
    plain.onGotFocus = log.record("GotFocus");
    plain.onLostFocus = log.record("LostFocus");
    plain.show();
    Form other("other");
    other.show();
    EXPECT_THAT(log.entries, ElementsAre("GotFocus", "LostFocus"));
    other.unload();
    plain.unload();
}

TEST_F(FormTest, ControlsAreListedInCreationOrderWithTheirContainers) {
    Form form("form");
    Frame frame{form, "Frame1"};
    ControlArray<TextBox> boxes{form, "Textpcash"};
    boxes.add(2).setContainer(frame);
    boxes.add(0);
    ASSERT_EQ(form.controls().size(), 3u);
    EXPECT_EQ(form.controls()[1], &boxes[2]);
    EXPECT_EQ(boxes[2].container(), &frame);
    EXPECT_EQ(boxes[2].displayName(), "Textpcash(2)");
    EXPECT_EQ(form.findControl("Textpcash", 0), &boxes[0]);
    EXPECT_THAT(boxes.indexes(), ElementsAre(0, 2));
    EXPECT_THROW(boxes[1], Error);
    EXPECT_THROW(boxes[0].setContainer(boxes[2]), Error);  // a text box holds no controls
}

TEST_F(FormTest, ObserversHearPropertyChanges) {
    Form form("form");
    TextBox box{form, "box"};
    std::vector<Property> heard;
    const int id = box.observe([&](Property p) { heard.push_back(p); });
    box.setText("x");
    box.setBackColor(rgb(186, 193, 207));
    box.setBackColor(rgb(186, 193, 207));  // no change, no notice
    box.setLocked(true);
    box.unobserve(id);
    box.setEnabled(false);
    EXPECT_THAT(heard, ElementsAre(Property::Text, Property::BackColor, Property::Locked));
    EXPECT_EQ(rgb(186, 193, 207), 13615546u);
    EXPECT_EQ(resolveColor(vbButtonFace), rgb(240, 240, 240));
}

}  // namespace
}  // namespace forms
