#pragma once
// A data-bound grid: its caption over a table of the grid's rows (grid_model.h).
// The runtime holds the current row: a click on a row, or an arrow key, is the
// runtime's row choice, and the table shows the row the runtime ends on. A
// styled cell keeps its colours when its row is selected, so its meaning still shows.
#include "platform/forms/controls/grid.h"
#include "platform/forms_qt/control_view.h"

class QLabel;
class QTableView;

namespace forms_qt {

class GridModel;

class GridView : public ControlView {
public:
    GridView(forms::Grid& grid, FormView& owner);
    QWidget* focusTarget() const override;
    QStringList cutTexts() const override;

protected:
    void changed(forms::Property p) override;
    void showRuntimeState() override;
    void detached() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showColumns();
    void currentCellMoved(const QModelIndex& current);

    forms::Grid& grid_;
    QLabel* caption_;
    QTableView* table_;
    // The table's viewport, whose mouse events the view filters. Kept apart
    // from the table: the viewport's last events come while the table is
    // being destroyed, when asking the table for its viewport is no longer valid.
    QWidget* viewport_ = nullptr;
    GridModel* model_;
    bool showing_ = false;
};

}  // namespace forms_qt
