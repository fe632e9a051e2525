#pragma once
// The rows and columns of a runtime grid as a Qt table model: each column's
// header caption, each cell's text, the colours of its cell style and the
// picture of its value item (shown instead of the text).
#include <QAbstractTableModel>

namespace forms {
class Grid;
}

namespace forms_qt {

class GridModel : public QAbstractTableModel {
public:
    explicit GridModel(forms::Grid& grid, QObject* parent = nullptr) : QAbstractTableModel(parent), grid_(&grid) {}

    // The grid's rows or columns changed: everything is read again.
    void reload();
    // The grid is going: the model shows nothing from now on.
    void forgetGrid();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    forms::Grid* grid_;
};

}  // namespace forms_qt
