#pragma once
// Shared by the renderer's tests: one QApplication for the test binary (the
// tests run with QT_QPA_PLATFORM=offscreen), a scripted Ui checked at the end
// of each test, and the Qt host showing the forms.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "platform/forms/forms.h"
#include "platform/forms/test_ui.h"
#include "platform/forms_qt/qt_host.h"

namespace forms_qt::testing {

QApplication& qtApp();

// A 16 by 16 cursor file of 32-bit pixels, all red-brown (0xC04020), with
// its hot spot at (hotX, hotY); `type` 1 makes it an icon file instead.
QByteArray cursorFileBytes(int hotX, int hotY, int type = 2);

// A user's double click as the desktop delivers it: press, release, double click, release.
void doubleClick(QWidget* widget, QPoint at = {});

// Lets queued work, deferred deletions and zero-time timers run.
void settle();

struct QtApplicationUser {
    QtApplicationUser() { qtApp(); }
};

class QtHostTest : public ::testing::Test, private QtApplicationUser {
protected:
    void TearDown() override {
        settle();
        EXPECT_NO_THROW(ui.verifyDone());
    }

    // The widget of a control, as the given widget class (nullptr when it is another class).
    template <class WidgetType>
    WidgetType* widgetOf(const forms::Control& control) const {
        return qobject_cast<WidgetType*>(host.widgetOf(control));
    }

    forms::TestUi ui;
    forms::ScopedUi useUi{ui};
    QtHost host;
};

// Appends "<name>.<event>" to a list: the order events ran in.
class EventLog {
public:
    std::function<void()> record(std::string entry) {
        return [this, entry = std::move(entry)] { entries.push_back(entry); };
    }
    // Records Click, GotFocus and LostFocus of the control under its display name.
    void watch(forms::Control& control) {
        control.onClick = record(control.displayName() + ".Click");
        control.onGotFocus = record(control.displayName() + ".GotFocus");
        control.onLostFocus = record(control.displayName() + ".LostFocus");
    }
    std::vector<std::string> entries;
};

}  // namespace forms_qt::testing
