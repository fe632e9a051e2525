#pragma once
// For tests of windows shown with real events: while it lives, answers every
// message box the program shows with Yes, or OK where there is no Yes, and
// keeps their texts (each also handed to `onAnswer` when one is given).
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace forms_qt::testing {

class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(std::function<void(const std::string&)> onAnswer = {}) : onAnswer_(std::move(onAnswer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            QAbstractButton* button = box->button(QMessageBox::Yes);
            if (!button) button = box->button(QMessageBox::Ok);
            if (!button) return;
            texts.push_back(box->text().toStdString());
            if (onAnswer_) onAnswer_(texts.back());
            button->click();
        });
        timer_.start(100);
    }

    std::vector<std::string> texts;

private:
    std::function<void(const std::string&)> onAnswer_;
    QTimer timer_;
};

}  // namespace forms_qt::testing
