#include "platform/report/report_preview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/report/dispatch_ids.h"
#include "platform/report/page_painter.h"

namespace report {

namespace {

constexpr int kWindowWidth = 1000;
constexpr int kGroupListWidth = 200;
constexpr int kFrameAndScrollBar = 60;       // the window's margins and the page's vertical scroll bar

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(false);
    return b;
}

}  // namespace

ReportPreview::ReportPreview(const Document& document, const PreviewOptions& options, Actions actions,
                             QWidget* parent)
    : QDialog(parent), document_(document), actions_(std::move(actions)) {
    setWindowTitle(QString::fromStdString(options.windowTitle.empty() ? document.name : options.windowTitle));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    resize(kWindowWidth, 720);

    auto* bar = new QHBoxLayout;
    const bool navigation = options.shows(dispid::kShowNavigation);
    const auto add = [&](QWidget* w, bool shown) {
        w->setVisible(shown);
        bar->addWidget(w);
    };
    auto* first = toolButton(this, "first", "|<", "First page");
    auto* previous = toolButton(this, "previous", "<", "Previous page");
    pageNumber_ = new QLabel(this);
    auto* next = toolButton(this, "next", ">", "Next page");
    auto* last = toolButton(this, "last", ">|", "Last page");
    zoomBox_ = new QComboBox(this);
    zoomBox_->setObjectName("zoom");
    for (int percent : {50, 75, 100, 125, 150, 200}) zoomBox_->addItem(QString::number(percent) + " %", percent);
    zoomBox_->setCurrentIndex(2);
    for (QWidget* w : std::initializer_list<QWidget*>{first, previous, pageNumber_, next, last, zoomBox_})
        add(w, navigation);
    searchText_ = new QLineEdit(this);
    searchText_->setPlaceholderText("Find text");
    searchText_->setMaximumWidth(160);
    auto* search = toolButton(this, "search", "Find", "Find the text on the next pages");
    add(searchText_, options.shows(dispid::kShowSearchButton));
    add(search, options.shows(dispid::kShowSearchButton));
    bar->addStretch();
    auto* print = toolButton(this, "print", "Print", "Print the report");
    auto* exportButton = toolButton(this, "export", "Export", "Save the report as PDF or spreadsheet");
    auto* close = toolButton(this, "close", "Close", "Close the preview");
    add(print, options.shows(dispid::kShowPrintButton) && static_cast<bool>(actions_.print));
    add(exportButton, options.shows(dispid::kShowExportButton) && static_cast<bool>(actions_.exportFile));
    add(close, options.shows(dispid::kShowCloseButton));

    groups_ = new QListWidget(this);
    for (const GroupMark& g : document.groups) {
        auto* item = new QListWidgetItem(QString(g.level * 2, ' ') + QString::fromStdString(g.label), groups_);
        item->setData(Qt::UserRole, g.page);
    }
    const bool groupList = options.shows(dispid::kShowGroupTree) && !document.groups.empty();
    groups_->setVisible(groupList);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    pageView_ = new QLabel;
    scroll_->setWidget(pageView_);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(groups_);
    splitter->addWidget(scroll_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({kGroupListWidth, kWindowWidth - kGroupListWidth});

    status_ = new QLabel(this);
    status_->setVisible(options.shows(dispid::kShowStatusBar));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    layout->addWidget(status_);

    const int lastPage = static_cast<int>(document.pages.size()) - 1;
    connect(first, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(previous, &QToolButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(next, &QToolButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(last, &QToolButton::clicked, this, [this, lastPage] { showPage(lastPage); });
    connect(zoomBox_, &QComboBox::currentIndexChanged, this,
            [this](int) { setZoom(zoomBox_->currentData().toInt() / 100.0); });
    connect(search, &QToolButton::clicked, this, [this] { find(searchText_->text()); });
    connect(searchText_, &QLineEdit::returnPressed, this, [this] { find(searchText_->text()); });
    connect(print, &QToolButton::clicked, this, [this] { actions_.print(); });
    connect(exportButton, &QToolButton::clicked, this, [this] { actions_.exportFile(); });
    connect(close, &QToolButton::clicked, this, &QDialog::accept);
    connect(groups_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { showPage(item->data(Qt::UserRole).toInt()); });
    connect(groups_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showPage(item->data(Qt::UserRole).toInt()); });
    // A landscape page at 100 % is wider than the window: open at the largest
    // zoom up to 100 % that shows the whole width of the page.
    const int room = kWindowWidth - kFrameAndScrollBar - (groupList ? kGroupListWidth : 0);
    int fitting = zoomBox_->findData(100);
    while (fitting > 0 && document.width * zoomBox_->itemData(fitting).toInt() / 100.0 * kScreenPixelsPerPoint > room)
        --fitting;
    zoomBox_->setCurrentIndex(fitting);
    zoom_ = zoomBox_->currentData().toInt() / 100.0;
    refresh();
}

QToolButton* ReportPreview::button(const char* name) const { return findChild<QToolButton*>(name); }

void ReportPreview::showPage(int index) {
    const int count = static_cast<int>(document_.pages.size());
    page_ = std::clamp(index, 0, std::max(0, count - 1));
    refresh();
}

void ReportPreview::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.25, 4.0);
    refresh();
}

bool ReportPreview::find(const QString& text) {
    if (text.isEmpty()) return false;
    const int count = static_cast<int>(document_.pages.size());
    for (int step = 1; step <= count; ++step) {
        const int candidate = (page_ + step) % count;
        for (const PageItem& item : document_.pages[static_cast<size_t>(candidate)].items)
            if (const auto* t = std::get_if<TextItem>(&item))
                if (QString::fromStdString(t->text).contains(text, Qt::CaseInsensitive)) {
                    showPage(candidate);
                    return true;
                }
    }
    return false;
}

void ReportPreview::refresh() {
    const QPixmap pixmap = QPixmap::fromImage(pageImage(document_, page_, zoom_));
    pageView_->setPixmap(pixmap);
    pageView_->resize(pixmap.size());
    const QString pages = "Page " + QString::number(page_ + 1) + " of " + QString::number(document_.pages.size());
    pageNumber_->setText(pages);
    status_->setText("Records: " + QString::number(document_.recordCount) + "    " + pages + "    Zoom " +
                     QString::number(static_cast<int>(zoom_ * 100 + 0.5)) + " %");
}

}  // namespace report
