#include "platform/forms_qt/screenshot/sample_forms.h"

#include "platform/jet/database.h"

namespace forms_qt::sample {

MainWindow::MainWindow() : MdiForm("Pettycashmain") {
    move(0, 0, 17400, 11400);
    setCaption("Ostrelle from Kelvra Technologies    User : Admin");
    setCloseBoxEnabled(false);
    banner.move(0, 0, 17400, 900);
    banner.setBackColor(forms::rgb(32, 64, 128));
    bannerText.setContainer(banner);
    bannerText.move(240, 180, 6000, 540);
    bannerText.setCaption("Ostrelle - Pettycash Management");
    bannerText.setBackColor(forms::rgb(32, 64, 128));
    bannerText.setForeColor(forms::vbWhite);
    bannerText.setFont({"Arial", 16, true, false, false});
    column.move(0, 900, 2700, 10500);
    const std::pair<int, const char*> buttons[] = {
        {3, "Pettycash register "}, {14, "Pend. settlements"}, {13, "Pettycash periods "},
        {4, "Pettycash Reports "},  {5, "Employee master "},   {6, "Expense heads "},
        {7, "Configuration "},      {12, "About Pettycash "},  {11, "Exit  Pettycash  "},
    };
    int top = 120;
    for (const auto& [index, caption] : buttons) {
        forms::CommandButton& button = commands.add(index);
        button.setContainer(column);
        button.move(120, top, 2460, 480);
        button.setCaption(caption);
        top += 540;
    }
    commands[14].setToolTip("Settlements pending against advances given - quick view");
    file.setCaption("&File");
    for (forms::MenuItem* item : {&changeLog, &fileLine, &exit}) item->setContainer(file);
    changeLog.setCaption("Change log");
    fileLine.setCaption("-");
    exit.setCaption("E&xit");
    masters.setCaption("masters");
    employees.setContainer(masters);
    employees.setCaption("Employee master");
    about.setCaption("About");
    aboutItem.setContainer(about);
    aboutItem.setCaption("About Ostrelle");
}

RegisterWindow::RegisterWindow(MainWindow& frame, const std::filesystem::path& book) : Form("frmpettycash") {
    setMdiParent(frame);
    move(0, 0, 13800, 8700);
    setCaption("Pettycash register");
    data.setDatabaseName(book.string());
    data.setConnect(";pwd=wobrelt");
    data.setRecordSource("select * from pettycash order by VoucherID");
    data.setVisible(false);

    status.move(120, 60, 13400, 300);
    status.setCaption("Cash fill: 500  Total expenses: 260.5  Unsettled: 250.5  Cash in hand: 239.5");
    status.setForeColor(forms::rgb(0, 0, 160));
    tabs.move(120, 420, 13400, 3500);
    tabs.setTabCaption(0, "Voucher");
    tabs.setTabCaption(1, "Close Pettycash period");

    entry.setContainer(tabs, 0);
    entry.move(120, 420, 8400, 2900);
    entry.setCaption("Voucher entry");
    dateLabel.setContainer(entry);
    dateLabel.move(150, 330, 1500, 300);
    dateLabel.setCaption("Date:");
    date.setContainer(entry);
    date.move(1700, 300, 1800, 315);
    date.setText("17/05/2024");
    typeLabel.setContainer(entry);
    typeLabel.move(150, 780, 1500, 300);
    typeLabel.setCaption("Transaction type:");
    type.setContainer(entry);
    type.move(1700, 750, 3600, 315);
    type.setStyle(forms::vbComboDropdownList);
    for (const char* t : {"Cash transfer to PC", "Advance Issued from PC", "Reimbursed from pettycash"}) type.addItem(t);
    type.setListIndex(2);
    amountLabel.setContainer(entry);
    amountLabel.move(150, 1230, 1500, 300);
    amountLabel.setCaption("Cash out:");
    amount.setContainer(entry);
    amount.move(1700, 1200, 1800, 315);
    amount.setText("250.50");
    amount.setBackColor(0xCFC1BAu);
    allStaff.setContainer(entry);
    allStaff.move(150, 1700, 3000, 300);
    allStaff.setCaption("Received by all staff /");
    allStaff.setValue(forms::vbChecked);
    cash.setContainer(entry);
    cash.move(150, 2100, 1500, 300);
    cash.setCaption("Cash");
    bank.setContainer(entry);
    bank.move(1700, 2100, 1500, 300);
    bank.setCaption("Bank");
    cash.setValue(true);
    settled.setContainer(entry);
    settled.move(5600, 300, 240, 240);
    settled.setPicture("greenmark");
    settled.setToolTip("This pettycash transaction is settled - Expenses are settled against advance.");
    unsettled.setContainer(entry);
    unsettled.move(6000, 300, 240, 240);
    unsettled.setPicture("redmark");

    save.setContainer(tabs, 0);
    save.move(8800, 600, 1800, 450);
    save.setCaption("Save");
    save.setDefault(true);
    add.setContainer(tabs, 0);
    add.move(8800, 1150, 1800, 450);
    add.setCaption("Add new");

    grid.move(120, 4080, 13400, 3900);
    grid.setDataSource(data);
    grid.setCaption("Pettycash records");
    grid.addColumn("VoucherID", "VoucherID").setWidth(1000);
    grid.addColumn("Date", "Date").setWidth(1300);
    grid.addColumn("Transaction Type", "TransType").setWidth(3000);
    grid.addColumn("Narration", "Narration").setWidth(2600);
    grid.addColumn("Cash-out", "Credit").setWidth(1200);
    grid.addColumn("Settled", "Matched").setWidth(900);
    const forms::CellStyle salmon{forms::rgb(255, 128, 128), forms::vbBlack};
    grid.column("Matched").addRegexCellStyle("No", salmon);
    grid.column("Matched").addValueItem("Yes", "tick");
    grid.column("Matched").addValueItem("No", "cross");
    grid.column("TransType").addRegexCellStyle("Cash transfer to PC", {forms::rgb(0, 128, 0), forms::vbWhite});
    grid.column("TransType").addRegexCellStyle("Advance Issued from PC", salmon);
    grid.column("Credit").addRegexCellStyle("[1-9]", {forms::rgb(128, 255, 255), forms::vbBlack});
}

DateDialog::DateDialog() : Form("Frmselectdate") {
    move(0, 0, 4200, 3300);
    setCaption("select date");
    calendar.move(60, 60, 4080, 3180);
    calendar.setValue(*vb::DateTime::fromParts(2024, 5, 17));
    cancel.move(5000, 5000, 900, 300);  // outside the window: Escape is its way in
    cancel.setCaption("Cancel");
    cancel.setCancel(true);
    cancel.onClick = [this] { unload(); };
}

void createBook(const std::filesystem::path& book) {
    jet::Database db = jet::Database::create(book, "wobrelt");
    db.execute("CREATE TABLE pettycash (VoucherID INTEGER PRIMARY KEY AUTOINCREMENT, [Date] DATETIME, "
               "TransType TEXT, Narration TEXT, Credit CURRENCY, Matched TEXT)");
    db.execute("INSERT INTO pettycash ([Date], TransType, Narration, Credit, Matched) VALUES "
               "('2024-05-01', 'Cash transfer to PC', 'fund for May', 0, 'Yes'), "
               "('2024-05-02', 'Reimbursed from pettycash', 'tea and snacks', 10, 'Yes'), "
               "('2024-05-03', 'Advance Issued from PC', 'taxi to the bank', 250.5, 'No'), "
               "('2024-05-06', 'Reimbursed from pettycash', 'courier', 0, 'Yes')");
}

}  // namespace forms_qt::sample
