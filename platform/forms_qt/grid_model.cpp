#include "platform/forms_qt/grid_model.h"

#include <QBrush>
#include <QPalette>

#include "platform/forms/controls/grid.h"
#include "platform/forms_qt/colours.h"
#include "platform/forms_qt/pictures.h"

namespace forms_qt {

void GridModel::reload() {
    beginResetModel();
    endResetModel();
}

void GridModel::forgetGrid() {
    beginResetModel();
    grid_ = nullptr;
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !grid_ ? 0 : grid_->rowCount();
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !grid_ ? 0 : grid_->columnCount();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!grid_ || !index.isValid()) return {};
    const int row = index.row();
    const int col = index.column();
    switch (role) {
        case Qt::DisplayRole: {
            if (!grid_->cellPicture(row, col).empty()) return {};
            return QString::fromStdString(grid_->cellText(row, col));
        }
        case Qt::DecorationRole: {
            const std::string name = grid_->cellPicture(row, col);
            if (name.empty()) return {};
            return pictureIcon(name);
        }
        case Qt::BackgroundRole:
            if (const auto style = grid_->cellStyle(row, col)) return QBrush(toQColor(style->backColor, QPalette()));
            return {};
        case Qt::ForegroundRole:
            if (const auto style = grid_->cellStyle(row, col)) return QBrush(toQColor(style->foreColor, QPalette()));
            return {};
        default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!grid_ || orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= grid_->columnCount()) return {};
    return QString::fromStdString(grid_->column(section).caption());
}

}  // namespace forms_qt
