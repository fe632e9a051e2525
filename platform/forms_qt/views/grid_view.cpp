#include "platform/forms_qt/views/grid_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/forms_qt/form_view.h"
#include "platform/forms/user_input.h"
#include "platform/forms_qt/grid_model.h"
#include "platform/forms_qt/twips.h"
#include "platform/forms_qt/user_action.h"

namespace forms_qt {

namespace {

// Styled cells keep their colours in every state; pictures stand in the middle of their cell.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(Qt::BackgroundRole).isValid()) option->state &= ~QStyle::State_Selected;
        if (index.data(Qt::DecorationRole).isValid()) {
            option->decorationAlignment = Qt::AlignCenter;
            option->decorationPosition = QStyleOptionViewItem::Top;
            option->decorationSize = QSize(16, 16);
        }
    }
};

}  // namespace

GridView::GridView(forms::Grid& grid, FormView& owner) : ControlView(grid, owner), grid_(grid) {
    auto* frame = new QWidget(&owner);
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    caption_ = new QLabel(frame);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFrameShape(QFrame::Panel);
    caption_->setFrameShadow(QFrame::Raised);
    table_ = new QTableView(frame);
    model_ = new GridModel(grid, table_);
    table_->setModel(model_);
    table_->setItemDelegate(new CellDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setFocusPolicy(Qt::ClickFocus);
    table_->verticalHeader()->setDefaultSectionSize(18);
    table_->verticalHeader()->setFixedWidth(12);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    column->addWidget(caption_);
    column->addWidget(table_, 1);
    setWidget(frame);
    routeKeysAndFocus(table_);
    viewport_ = table_->viewport();
    viewport_->installEventFilter(this);
    QObject::connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     [this](const QModelIndex& current) { currentCellMoved(current); });
}

QWidget* GridView::focusTarget() const { return table_; }

void GridView::changed(forms::Property p) {
    switch (p) {
        case forms::Property::Caption:
            caption_->setText(QString::fromStdString(grid_.caption()));
            caption_->setVisible(!grid_.caption().empty());
            break;
        case forms::Property::Columns:
            model_->reload();
            showColumns();
            showRuntimeState();
            break;
        case forms::Property::Rows:
            model_->reload();
            showRuntimeState();
            break;
        case forms::Property::CurrentRow: showRuntimeState(); break;
        default: ControlView::changed(p);
    }
}

QStringList GridView::cutTexts() const {
    QStringList cut;
    const QHeaderView& header = *table_->horizontalHeader();
    for (int col = 0; col < model_->columnCount(); ++col) {
        if (table_->isColumnHidden(col)) continue;
        QStyleOptionHeader option;
        option.initFrom(&header);
        option.section = col;
        option.text = model_->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString();
        option.fontMetrics = header.fontMetrics();
        const int needed = header.style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header).width();
        if (needed > table_->columnWidth(col))
            cut << QStringLiteral("header \"%1\" needs %2 pixels, has %3")
                       .arg(model_->headerData(col, Qt::Horizontal, Qt::DisplayRole).toString())
                       .arg(needed)
                       .arg(table_->columnWidth(col));
    }
    return cut;
}

void GridView::showColumns() {
    for (int col = 0; col < grid_.columnCount(); ++col) {
        const forms::GridColumn& column = grid_.column(col);
        table_->setColumnHidden(col, !column.visible());
        table_->setColumnWidth(col, toPixels(column.width()));
    }
}

void GridView::showRuntimeState() {
    showing_ = true;
    const int row = grid_.row();
    if (row < 0 || grid_.columnCount() == 0) {
        table_->clearSelection();
        table_->selectionModel()->clearCurrentIndex();
    } else {
        const QModelIndex cell = model_->index(row, std::min(grid_.col(), grid_.columnCount() - 1));
        table_->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        table_->scrollTo(cell);
    }
    showing_ = false;
}

void GridView::detached() { model_->forgetGrid(); }

void GridView::currentCellMoved(const QModelIndex& current) {
    if (showing_ || !attached() || !current.isValid()) return;
    const int row = current.row();
    const int col = current.column();
    userAction([this, row, col] { forms::user::selectGridCell(grid_, row, col); });
}

// Mouse work on the rows goes to the runtime, which moves the current row; the
// table never selects on its own.
bool GridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_ || !attached()) return ControlView::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto& mouse = static_cast<QMouseEvent&>(*event);
            const QModelIndex cell = table_->indexAt(mouse.position().toPoint());
            if (mouse.button() != Qt::LeftButton || !cell.isValid()) return true;
            const int row = cell.row();
            const int col = cell.column();
            const auto choose = [this, row, col] { forms::user::selectGridCell(grid_, row, col); };
            if (grid_.onDblClick) {
                actAfterDoubleClickInterval(this, [this, choose] {
                    if (!attached()) return;
                    userAction(choose);
                });
            } else {
                userAction(choose);
            }
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            auto& mouse = static_cast<QMouseEvent&>(*event);
            const QModelIndex cell = table_->indexAt(mouse.position().toPoint());
            if (mouse.button() != Qt::LeftButton || !cell.isValid()) return true;
            dropPendingClick();
            const int row = cell.row();
            userAction([this, row] { forms::user::doubleClickGridRow(grid_, row); });
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: return true;
        default: return false;
    }
}

}  // namespace forms_qt
