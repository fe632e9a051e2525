#include "platform/forms_qt/scan_dialogs_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

#include "platform/win/pending_messages.h"

namespace forms_qt {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QString numberText(double value) { return QString::number(value, 'g', 10); }

// The editor of one setting, and how its value is read back.
struct SettingEditor {
    QWidget* widget = nullptr;
    std::function<void(win::ScanSetting&)> readBack;
};

SettingEditor editorFor(const win::ScanSetting& setting, QWidget* parent) {
    SettingEditor editor;
    switch (setting.kind) {
    case win::ScanSetting::Kind::Toggle: {
        auto* box = new QCheckBox(parent);
        box->setChecked(setting.value != 0);
        editor.widget = box;
        editor.readBack = [box](win::ScanSetting& s) { s.value = box->isChecked() ? 1 : 0; };
        break;
    }
    case win::ScanSetting::Kind::TextChoice: {
        auto* combo = new QComboBox(parent);
        for (const auto& choice : setting.choices) combo->addItem(text(choice));
        combo->setCurrentText(text(setting.text));
        editor.widget = combo;
        editor.readBack = [combo](win::ScanSetting& s) { s.text = combo->currentText().toStdString(); };
        break;
    }
    case win::ScanSetting::Kind::NumberChoice: {
        auto* combo = new QComboBox(parent);
        for (double n : setting.numbers) {
            combo->addItem(numberText(n), n);
            if (n == setting.value) combo->setCurrentIndex(combo->count() - 1);
        }
        editor.widget = combo;
        editor.readBack = [combo](win::ScanSetting& s) {
            if (combo->currentIndex() >= 0) s.value = combo->currentData().toDouble();
        };
        break;
    }
    case win::ScanSetting::Kind::Number: {
        auto* spin = new QDoubleSpinBox(parent);
        spin->setDecimals(setting.whole ? 0 : 2);
        spin->setRange(setting.minimum, setting.maximum);
        if (setting.step > 0) spin->setSingleStep(setting.step);
        spin->setValue(setting.value);
        if (!setting.unit.empty()) spin->setSuffix(" " + text(setting.unit));
        editor.widget = spin;
        editor.readBack = [spin](win::ScanSetting& s) { s.value = s.whole ? std::round(spin->value()) : spin->value(); };
        break;
    }
    }
    editor.widget->setObjectName(text(setting.name));
    editor.widget->setToolTip(text(setting.description));
    editor.widget->setEnabled(setting.enabled);
    return editor;
}

}  // namespace

win::DialogAnswer RunSourceChoiceDialog(const win::ScanSourceChoiceRequest& request, size_t& chosen) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QObject::tr("Select Source"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QObject::tr("Sources:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName("sources");
    for (const auto& source : request.sources) list->addItem(text(source));
    if (request.current < request.sources.size()) list->setCurrentRow(static_cast<int>(request.current));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    auto* select = buttons->addButton(QObject::tr("Select"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QObject::tr("Cancel"), QDialogButtonBox::RejectRole);
    select->setDefault(true);
    select->setEnabled(list->currentRow() >= 0);
    layout->addWidget(buttons);
    QObject::connect(list, &QListWidget::currentRowChanged, select, [select](int row) { select->setEnabled(row >= 0); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0) return win::DialogAnswer::Cancelled;
    chosen = static_cast<size_t>(list->currentRow());
    return win::DialogAnswer::Accepted;
}

win::DialogAnswer RunSetupDialog(win::ScanSetupRequest& request) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(text(request.sourceName));
    auto* form = new QFormLayout(&dialog);
    std::vector<SettingEditor> editors;
    for (const auto& setting : request.settings) {
        editors.push_back(editorFor(setting, &dialog));
        form->addRow(text(setting.title), editors.back().widget);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return win::DialogAnswer::Cancelled;
    for (size_t i = 0; i < editors.size(); ++i) editors[i].readBack(request.settings[i]);
    return win::DialogAnswer::Accepted;
}

namespace {

// The progress window's title-bar close asks for the cancel as its button does.
class ProgressWindow : public QWidget {
public:
    ProgressWindow(QWidget* owner, bool& cancelled) : QWidget(owner, Qt::Dialog), cancelled_(cancelled) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        cancelled_ = true;
        event->ignore();  // it stays, saying so, until the engine has stopped
    }

private:
    bool& cancelled_;
};

// The window the progress belongs to: the modal window the scan runs from
// (the scan window), else the active one.
QWidget* progressOwner() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

}  // namespace

// The progress window: shown by the first report of a scan, closed at its
// end. It is owned by the window the scan runs from, so it stays above it and
// takes input while that window is modal.
struct ScopedQtScanDialogs::Progress {
    QPointer<QWidget> window;
    QLabel* label = nullptr;
    QProgressBar* bar = nullptr;
    bool cancelled = false;

    bool show(const win::ScanProgress& p) {
        if (!window) {
            cancelled = false;
            window = new ProgressWindow(progressOwner(), cancelled);
            window->setObjectName("scanProgress");
            auto* layout = new QVBoxLayout(window);
            label = new QLabel(window);
            bar = new QProgressBar(window);
            auto* cancel = new QPushButton(QObject::tr("Cancel"), window);
            layout->addWidget(label);
            layout->addWidget(bar);
            layout->addWidget(cancel);
            cancel->setObjectName("cancel");
            QObject::connect(cancel, &QPushButton::clicked, window, [this, cancel] {
                cancelled = true;
                cancel->setEnabled(false);
            });
        }
        window->setWindowTitle(text(p.sourceName));
        label->setText(cancelled ? QObject::tr("Cancelling...")
                                 : QObject::tr("Page %1: %2 KB read").arg(p.page).arg(p.bytesRead / 1024));
        const int expected = static_cast<int>(std::min<uint64_t>(p.bytesExpected / 1024, INT32_MAX));
        bar->setRange(0, expected);  // 0 to 0: busy, when the size is not known
        bar->setValue(static_cast<int>(std::min<uint64_t>(p.bytesRead / 1024, static_cast<uint64_t>(expected))));
        window->show();
        return !cancelled;
    }

    // The engine ends the window (a close event would be the user's cancel).
    void close() {
        if (!window) return;
        window->hide();
        window->deleteLater();
        window = nullptr;
    }
};

ScopedQtScanDialogs::ScopedQtScanDialogs() : progress_(std::make_shared<Progress>()) {
    win::ScanDialogService service;
    service.chooseSource = RunSourceChoiceDialog;
    service.editSetup = RunSetupDialog;
    std::weak_ptr<Progress> progress = progress_;
    service.showProgress = [progress](const win::ScanProgress& p) {
        auto window = progress.lock();
        return window ? window->show(p) : true;
    };
    service.closeProgress = [progress] {
        if (auto window = progress.lock()) window->close();
    };
    win::SetScanDialogService(std::move(service));
    win::SetPendingMessagesHandler([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
}

ScopedQtScanDialogs::~ScopedQtScanDialogs() {
    win::SetScanDialogService({});
    win::SetPendingMessagesHandler({});
    progress_->close();
}

}  // namespace forms_qt
