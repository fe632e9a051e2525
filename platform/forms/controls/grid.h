#pragma once
// A data-bound grid over a Data control (both grid controls of the windows).
// Its rows are the rows of the Data control's recordset and its current row
// is the recordset's current row; the grid reads, it never writes.
//
// Columns are addressed by index and by field name (letter case ignored).
// Each column has a header caption, a field, visibility and width (twips),
// regular-expression cell styles and value items. A cell takes the style of
// the first rule whose expression matches somewhere in its text, in every
// state of the cell (current, selected or not); a value item whose value
// equals the cell text shows its picture instead of the text. Styles and
// pictures are data of the grid, so they are read per cell without drawing.
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/control.h"
#include "platform/jet/value.h"

namespace forms {

class DataControl;
class Grid;

struct CellStyle {
    Color backColor = vbWindowBackground;
    Color foreColor = vbWindowText;
    bool operator==(const CellStyle&) const = default;
};

struct CellStyleRule {
    std::string pattern;  // ECMAScript syntax
    std::regex expression;
    CellStyle style;
};

struct ValueItem {
    std::string value;    // the cell text it stands for
    std::string picture;  // picture name shown instead of the text
};

class GridColumn {
public:
    GridColumn(Grid& grid, int index, std::string caption, std::string dataField);

    int index() const { return index_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    const std::string& dataField() const { return dataField_; }
    void setDataField(std::string field);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    int width() const { return width_; }
    void setWidth(int twips);

    // Adds a rule: cells whose text contains a match of the expression take the style.
    void addRegexCellStyle(std::string pattern, CellStyle style);
    const std::vector<CellStyleRule>& cellStyles() const { return styles_; }
    void clearCellStyles();

    // The grid column's NumberFormat for Boolean fields: "Yes/No", "True/False"
    // or "On/Off" show a Boolean cell as the first or second word. Any other
    // format (the default, empty) shows the value's own text.
    void setNumberFormat(std::string format);
    const std::string& numberFormat() const { return numberFormat_; }
    // The text of a cell holding this value.
    std::string textOf(const jet::Value& value) const;

    void addValueItem(std::string value, std::string picture);
    const std::vector<ValueItem>& valueItems() const { return valueItems_; }

    // The style and picture of a cell showing this text.
    std::optional<CellStyle> styleFor(std::string_view text) const;
    std::string pictureFor(std::string_view text) const;

private:
    Grid& grid_;
    int index_;
    std::string caption_;
    std::string dataField_;
    bool visible_ = true;
    int width_ = 1215;
    std::string numberFormat_;
    std::vector<CellStyleRule> styles_;
    std::vector<ValueItem> valueItems_;
};

class Grid : public Control {
public:
    Grid(Form& form, std::string name, int index = -1);
    ~Grid() override;

    // Binds the grid to a Data control. A grid without columns takes one column
    // per field of the recordset, under the field's name, when the data arrives.
    void setDataSource(DataControl& source);
    DataControl* dataSource() const { return source_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);

    GridColumn& addColumn(std::string caption, std::string dataField);
    int columnCount() const { return static_cast<int>(columns_.size()); }
    GridColumn& column(int index) const;               // error 340 when absent
    GridColumn& column(std::string_view field) const;  // by field, letter case ignored; error 340
    void clearColumns();

    // The rows of the data source (0 without a recordset).
    int rowCount() const;
    // The cell's text: the column's field of that row as text (Null as ""); ""
    // for a column without a field.
    std::string cellText(int row, int col) const;
    std::optional<CellStyle> cellStyle(int row, int col) const;
    std::string cellPicture(int row, int col) const;  // "" when the cell shows its text

    int row() const;  // the current row (the recordset's position), -1 without one
    int col() const { return col_; }
    void setCol(int col);

    bool canTakeFocus() const override { return true; }

    // Raised when the current row or column changes (also by the program's moves).
    std::function<void(int lastRow, int lastCol)> onRowColChange;

private:
    friend class GridColumn;
    friend class DataControl;
    void columnsChanged() const { changed(Property::Columns); }
    void dataChanged();     // the data source's rows changed
    void currentChanged();  // the data source's current row changed
    void sourceClosed();    // the form unloads: nothing to show, no events
    void detachSource() { source_ = nullptr; }

    DataControl* source_ = nullptr;
    std::string caption_;
    std::vector<std::unique_ptr<GridColumn>> columns_;
    int col_ = 0;
    int lastRow_ = -1;
};

}  // namespace forms
