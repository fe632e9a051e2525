// The register's load: the data controls pointed at the book, the lists, the
// cell colouring and the layouts without advances or cost centres.
#include <string>

#include "petty/register/frm_pettycash.h"
#include "petty/register/register_queries.h"
#include "petty/register/status_line.h"
#include "petty/shell/app_state.h"
#include "petty/shell/book_data_control.h"
#include "petty/shell/book_queries.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

namespace {

struct ColourRule {
    forms::Grid frmpettycash::*grid;
    const char* field;
    const char* expression;
    forms::Color back;
    forms::Color text;
};

const ColourRule kColourRules[] = {
    {&frmpettycash::TDBGrid1, "Matched", "No", forms::rgb(255, 128, 128), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "Matched", "Yes", forms::rgb(0, 255, 0), forms::vbWhite},
    {&frmpettycash::TDBGrid1, "TransType", "Cash transfer to PC", forms::rgb(0, 128, 0), forms::vbWhite},
    {&frmpettycash::TDBGrid1, "TransType", "Previous balance CF", forms::rgb(192, 255, 192), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "TransType", "Carryover", forms::rgb(192, 255, 192), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "TransType", "Reimbursed from pettycash", forms::rgb(255, 255, 128), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "TransType", "Advance Issued from PC", forms::rgb(255, 128, 128), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "TransType", "Cash received for settlement", forms::rgb(192, 192, 255), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "TransType", "Cash given for settlement", forms::rgb(192, 192, 255), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "TransType", "Spent from Advance issued", forms::rgb(249, 223, 176), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "expensefromadvance", "[1-9]", forms::rgb(249, 223, 176), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "Matchwith", "[1-9]", forms::rgb(255, 192, 255), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "Credit", "[1-9]", forms::rgb(128, 255, 255), forms::vbBlack},
    {&frmpettycash::TDBGrid1, "Debit", "[1-9]", forms::rgb(128, 255, 255), forms::vbBlack},
    {&frmpettycash::TDBGrid2, "Matched", "No", forms::rgb(255, 0, 0), forms::vbWhite},
    {&frmpettycash::TDBGrid2, "Matched", "Yes", forms::rgb(0, 255, 0), forms::vbWhite},
};

}  // namespace

void frmpettycash::Form_Load() {
    const AppState& state = appState();
    // The window cannot be closed by itself: it closes with the main window.
    skipOnFailure([this] { setCloseBoxEnabled(false); });
    skipOnFailure([this] {
        pointAtBook(datPrimaryRS, kAllVouchersInNumberOrderSql);
        pointAtBook(DatPrimaryRSread, "");
        pointAtBook(Datacommon, "");
        pointAtBook(Datacommonwrite, "");
        pointAtBook(Data1, "");
    });
    // The register's rows open on their first record source until the first search replaces it.
    skipOnFailure([this] { datPrimaryRS.refresh(); });
    skipOnFailure([this] {
        Data1.setRecordSource(kEmployeeNamesSql);
        Data1.refresh();
    });
    skipOnFailure([this, &state] {
        Label9[2].setCaption("");
        if (state.noAdvanceMode) Label9[2].setVisible(false);
    });
    skipOnFailure([] { forms::ui().setMousePointer(forms::vbCustom); });
    skipOnFailure([this] {
        SSTab2.setTab(0);
        SSTab1.setTab(0);
    });
    skipOnFailure([this] {
        DatPrimaryRSread.setRecordSource(kNoVoucherSql);
        DatPrimaryRSread.refresh();
    });
    skipOnFailure([this] { installCellColouring(); });
    skipOnFailure([this, &state] {
        if (state.superUserLogin) cmdadd.setEnabled(false);
    });
    skipOnFailure([this] { fillLists(); });
    skipOnFailure([this, &state] {
        if (state.noAdvanceMode) layOutWithoutAdvances();
    });
    skipOnFailure([this, &state] {
        if (!state.costCentreEnabled) layOutWithoutCostCentres();
    });
    skipOnFailure([this] { Check1.setValue(forms::vbChecked); });
    skipOnFailure([this] { baseCaption = caption(); });
    // The register's own rows opened the book above; a failing read counts as no period.
    PeriodId periodId = 0;
    skipOnFailure([this, &periodId] { periodId = currentPeriodId(datPrimaryRS.database()); });
    skipOnFailure([this, periodId] { showRunningPeriod(periodId); });
    fillHeadAndCostCentreLists();
    skipOnFailure([this] {
        Data1.refresh();
        DBCombo1.setEnabled(true);
        DBCombo1.refill();
    });
    skipOnFailure([this, &state] { showBalanceStatus(Label2, datPrimaryRS.database(), state.noAdvanceMode); });
    skipOnFailure([this] { Combo2_Click(); });
    // The first search shows the running period set into the panel above.
    skipOnFailure([this] { Query_Click(); });
}

void frmpettycash::showRunningPeriod(PeriodId periodId) {
    if (periodId != 0) {
        combo2Text.setText(std::to_string(periodId));
        setCaption(baseCaption + kRunningPeriodCaption + std::to_string(periodId));
        Combo2.setText("Pettycash period ID");
    } else {
        setCaption(baseCaption + kRunningPeriodCaption + "(No sessions yet)");
        noPeriodAtLoad = true;
    }
}

void frmpettycash::installCellColouring() {
    for (const ColourRule& rule : kColourRules)
        (this->*rule.grid).column(rule.field).addRegexCellStyle(rule.expression, {rule.back, rule.text});
}

void frmpettycash::fillLists() {
    const bool advances = !appState().noAdvanceMode;
    for (const char* item : {"Advances not settled", "Not settled", "Settled"})
        if (advances) Combo1.addItem(item);
    for (const char* item : {"Exclude current pettycash period", "Current pettycash period only",
                             "Expenses without bill no", "Expenses without scanned bill",
                             "Narration contains word 'correction'", "All"})
        Combo1.addItem(item);

    firstSearchPending = true;
    cmddelete.setVisible(true);
    cmddelete.setEnabled(false);

    Combopcashtype.addItem("Cash transfer to PC");
    if (advances)
        for (const char* item : {"Advance Issued from PC", "Spent from Advance issued", "Cash received for settlement",
                                 "Cash given for settlement"})
            Combopcashtype.addItem(item);
    Combopcashtype.addItem("Reimbursed from pettycash");

    for (const char* item : {"Bill No", "Voucher No", "Narration", "Expense Head", "Entered by",
                             "Pettycash period ID", "Transaction type"})
        Combo2.addItem(item);
    if (appState().costCentreEnabled) Combo2.addItem("Project/cost-centre");
    Combo2.addItem("No field filter");
}

void frmpettycash::fillHeadAndCostCentreLists() {
    skipOnFailure([this] {
        fillFromQuery(Combopcashhead, kExpenseHeadsSql, "expense type");
    });
    skipOnFailure([this] {
        fillFromQuery(dbCombo3, kActiveProjectCodesSql, "projectcode");
    });
}

void frmpettycash::fillFromQuery(forms::ComboBox& combo, const std::string& sql, const std::string& field) {
    Datacommon.setRecordSource(sql);
    Datacommon.refresh();
    forms::DataRecordset& rows = Datacommon.recordset();
    std::vector<std::string> items;
    if (!rows.eof()) {
        for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
            const jet::Value value = rows.field(field);
            if (!value.isNull()) items.push_back(value.asText());
        }
    }
    if (items == combo.items()) return;
    // The lists are drop-down combos with a text of their own: the text shown stays as it is.
    combo.clear();
    for (std::string& item : items) combo.addItem(std::move(item));
}

void frmpettycash::layOutWithoutAdvances() {
    Label6.setVisible(false);
    Combo1.setVisible(false);
    const int gap = Combo1.width();
    for (forms::Control* c : std::initializer_list<forms::Control*>{&Query, &Label5, &Label7, &Combo2, &combo2Text})
        c->setLeft(c->left() - gap);

    TDBGrid1.setHeight(TDBGrid1.height() + TDBGrid2.height());
    TDBGrid2.setVisible(false);

    Frame4.setVisible(false);
    Textpcash[4].setVisible(false);
    Label1[3].setVisible(false);

    for (int col : {10, 12, 13}) TDBGrid1.column(col).setVisible(false);

    const int cashInShift = Textpcash[3].width() / 3;
    Textpcash[3].setLeft(Textpcash[3].left() + cashInShift);
    Label1[9].setLeft(Label1[9].left() + cashInShift);
    const int cashOutShift = Textpcash[2].width() / 2;
    Textpcash[2].setLeft(Textpcash[2].left() + cashOutShift);
    Label1[8].setLeft(Label1[8].left() + cashOutShift);

    TDBGrid1.column(11).setWidth(TDBGrid1.column(11).width() * 3);
    TDBGrid1.column(4).setWidth(TDBGrid1.column(4).width() * 3 / 2);

    const int frameHeight = Frame4.height();
    for (forms::CommandButton* b : buttonRow()) b->setTop(b->top() - frameHeight);
}

void frmpettycash::layOutWithoutCostCentres() {
    dbCombo3.setVisible(false);
    Label1[19].setVisible(false);
    Textpcash[14].setWidth(Textpcash[14].width() + dbCombo3.width());
    TDBGrid1.column(17).setVisible(false);
    forms::GridColumn& type = TDBGrid1.column(4);
    type.setWidth(type.width() + type.width() / 5);
}

}  // namespace petty
