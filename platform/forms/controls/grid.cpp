#include "platform/forms/controls/grid.h"

#include "platform/forms/controls/data_control.h"
#include "platform/forms/error.h"
#include "platform/vb/text_compare.h"

namespace forms {

GridColumn::GridColumn(Grid& grid, int index, std::string caption, std::string dataField)
    : grid_(grid), index_(index), caption_(std::move(caption)), dataField_(std::move(dataField)) {}

void GridColumn::setCaption(std::string text) {
    caption_ = std::move(text);
    grid_.columnsChanged();
}

void GridColumn::setDataField(std::string field) {
    dataField_ = std::move(field);
    grid_.columnsChanged();
}

void GridColumn::setVisible(bool on) {
    if (on == visible_) return;
    visible_ = on;
    grid_.columnsChanged();
}

void GridColumn::setWidth(int twips) {
    if (twips < 0) throw errors::invalidPropertyValue();
    width_ = twips;
    grid_.columnsChanged();
}

void GridColumn::addRegexCellStyle(std::string pattern, CellStyle style) {
    std::regex expression(pattern, std::regex::ECMAScript);
    styles_.push_back({std::move(pattern), std::move(expression), style});
    grid_.columnsChanged();
}

void GridColumn::clearCellStyles() {
    styles_.clear();
    grid_.columnsChanged();
}

void GridColumn::addValueItem(std::string value, std::string picture) {
    valueItems_.push_back({std::move(value), std::move(picture)});
    grid_.columnsChanged();
}

std::optional<CellStyle> GridColumn::styleFor(std::string_view text) const {
    for (const auto& rule : styles_)
        if (std::regex_search(text.begin(), text.end(), rule.expression)) return rule.style;
    return std::nullopt;
}

std::string GridColumn::pictureFor(std::string_view text) const {
    for (const auto& item : valueItems_)
        if (item.value == text) return item.picture;
    return {};
}

Grid::Grid(Form& form, std::string name, int index) : Control(form, ControlKind::Grid, std::move(name), index) {
    setBackColor(vbWindowBackground);
    setForeColor(vbWindowText);
}

Grid::~Grid() {
    if (source_) source_->detach(*this);
}

void Grid::setDataSource(DataControl& source) {
    if (source_) source_->detach(*this);
    source_ = &source;
    source.attach(*this);
    if (source.hasRecordset()) dataChanged();
}

void Grid::setCaption(std::string text) { assign(caption_, std::move(text), Property::Caption); }

GridColumn& Grid::addColumn(std::string caption, std::string dataField) {
    columns_.push_back(std::make_unique<GridColumn>(*this, columnCount(), std::move(caption), std::move(dataField)));
    columnsChanged();
    return *columns_.back();
}

GridColumn& Grid::column(int index) const {
    if (index < 0 || index >= columnCount()) throw errors::controlArrayElement();
    return *columns_[static_cast<size_t>(index)];
}

GridColumn& Grid::column(std::string_view field) const {
    for (const auto& c : columns_)
        if (!c->dataField().empty() && vb::equalIgnoringCase(c->dataField(), field)) return *c;
    throw errors::controlArrayElement();
}

void Grid::clearColumns() {
    columns_.clear();
    col_ = 0;
    columnsChanged();
}

int Grid::rowCount() const {
    if (!source_ || !source_->hasRecordset()) return 0;
    return static_cast<int>(source_->recordset().recordCount());
}

std::string Grid::cellText(int row, int col) const {
    const GridColumn& c = column(col);
    if (c.dataField().empty() || row < 0 || row >= rowCount()) return {};
    DataRecordset& rs = source_->recordset();
    size_t field;
    try {
        field = rs.fieldIndex(c.dataField());
    } catch (const std::exception&) {
        return {};  // a column whose field the query does not return stays empty
    }
    return c.textOf(rs.rowAt(row).at(field));
}

void GridColumn::setNumberFormat(std::string format) {
    numberFormat_ = std::move(format);
    grid_.columnsChanged();
}

std::string GridColumn::textOf(const jet::Value& value) const {
    if (value.isBool()) {
        const size_t slash = numberFormat_.find('/');
        for (const char* known : {"Yes/No", "True/False", "On/Off"}) {
            if (vb::equalIgnoringCase(numberFormat_, known) && slash != std::string::npos)
                return value.asBool() ? numberFormat_.substr(0, slash) : numberFormat_.substr(slash + 1);
        }
    }
    return value.asText();
}

std::optional<CellStyle> Grid::cellStyle(int row, int col) const { return column(col).styleFor(cellText(row, col)); }

std::string Grid::cellPicture(int row, int col) const { return column(col).pictureFor(cellText(row, col)); }

int Grid::row() const {
    if (!source_ || !source_->hasRecordset()) return -1;
    DataRecordset& rs = source_->recordset();
    if (rs.editMode() == jet::EditMode::Add || rs.eof() || rs.bof()) return -1;
    return static_cast<int>(rs.absolutePosition());
}

void Grid::setCol(int col) {
    if (col < 0 || col >= columnCount()) throw errors::invalidPropertyValue();
    if (col == col_) return;
    const int previous = col_;
    col_ = col;
    changed(Property::CurrentRow);
    if (onRowColChange) onRowColChange(row(), previous);
}

void Grid::dataChanged() {
    if (columns_.empty() && source_ && source_->hasRecordset()) {
        DataRecordset& rs = source_->recordset();
        for (size_t i = 0; i < rs.fieldCount(); ++i) addColumn(rs.fieldInfo(i).name, rs.fieldInfo(i).name);
    }
    changed(Property::Rows);
    currentChanged();
}

void Grid::sourceClosed() {
    lastRow_ = -1;
    changed(Property::Rows);
    changed(Property::CurrentRow);
}

void Grid::currentChanged() {
    const int now = row();
    if (now == lastRow_) return;
    const int previous = lastRow_;
    lastRow_ = now;
    changed(Property::CurrentRow);
    if (onRowColChange) onRowColChange(previous, col_);
}

}  // namespace forms
