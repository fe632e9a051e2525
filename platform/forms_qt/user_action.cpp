#include "platform/forms_qt/user_action.h"

#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>
#include <QTimer>
#include <optional>
#include <string>

#include "platform/forms/error.h"
#include "platform/forms/ui.h"

namespace forms_qt {

namespace {

struct PendingClick {
    std::function<void()> action;
    QPointer<QObject> context;
    unsigned long long id;
};
std::optional<PendingClick> pending;
unsigned long long lastPendingId = 0;

bool runGuarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const forms::ProgramEnded&) {
        // The program is ending; the event loops are already told to quit.
    } catch (const forms::Error& e) {
        reportUnhandledError(e.number(), e.description());
    } catch (const std::exception& e) {
        reportUnhandledError(0, e.what());
    }
    return false;
}

void runPendingClick() {
    if (!pending) return;
    PendingClick click = std::move(*pending);
    pending.reset();
    if (click.context) runGuarded(click.action);
}

}  // namespace

void reportUnhandledError(int number, const std::string& description) {
    try {
        const std::string code = number != 0 ? "Run-time error '" + std::to_string(number) + "':\n\n" : "Run-time error:\n\n";
        forms::ui().msgBox(code + description, forms::MsgButtons::OkOnly, forms::MsgIcon::Critical);
        forms::ui().endProgram();
    } catch (...) {
        // Ending (ProgramEnded) or a Ui that refused the box: nothing more can be done here.
    }
}

bool act(const std::function<void()>& action) {
    runPendingClick();
    return runGuarded(action);
}

void actLater(QObject* context, std::function<void()> action) {
    QTimer::singleShot(0, context, [action = std::move(action)] { act(action); });
}

void actAfterDoubleClickInterval(QObject* context, std::function<void()> singleClick) {
    runPendingClick();
    const unsigned long long id = ++lastPendingId;
    pending = PendingClick{std::move(singleClick), context, id};
    QTimer::singleShot(QGuiApplication::styleHints()->mouseDoubleClickInterval(), context, [id] {
        if (pending && pending->id == id) runPendingClick();
    });
}

void dropPendingClick() { pending.reset(); }

}  // namespace forms_qt
