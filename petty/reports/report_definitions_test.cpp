// Every shipped report definition run on the fixture book through to a PDF:
// the PDF's text shows the company, the title and exactly the vouchers the
// filters select, with the totals the book's own sums give.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "petty/reports/files/report_files.h"
#include "petty/reports/reppettycash.h"
#include "petty/reports/reports_test_support.h"
#include "platform/report/dispatch_ids.h"
#include "platform/report/formula.h"
#include "platform/report/page_painter.h"
#include "platform/report/page_writer.h"
#include "platform/vb/date_text.h"

namespace petty {
namespace {

namespace user = forms::user;
using namespace report::dispid;

using report::testing::pdfText;

// The fixture's voucher numbers (9001 to 9010) found in a text.
std::set<int> vouchersIn(const std::string& text) {
    std::set<int> found;
    static const std::regex number("\\b90(0[1-9]|10)\\b");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
        found.insert(std::stoi(it->str()));
    return found;
}

struct DefinitionRun {
    const char* file;
    bool advances = true;
    bool costCentres = false;
    std::function<void(reppettycash&)> filters;      // chooser runs
    std::string voucherFormula;                       // voucher printing runs (through the control alone)
    std::set<int> vouchers;
    std::vector<std::string> texts;                   // the title's words and the totals
    std::vector<std::pair<std::string, std::string>> totals;  // heading of a total, SQL sum that it must show
};

class ReportDefinitionsTest : public testing::ReportsTest {
protected:
    std::string sum(const std::string& sql) const {
        return report::moneyText(book().openRecordset(sql).field(size_t{0}).asCurrency());
    }

    // The document the run laid out: through the chooser, or the control as voucher printing drives it.
    std::optional<report::Document> run(const DefinitionRun& r) {
        appState().noAdvanceMode = !r.advances;
        appState().costCentreEnabled = r.costCentres;
        output.previews.clear();
        if (!r.voucherFormula.empty()) {
            report::ReportControl control;
            control.invoke(kReset);
            control.putIndexed(kDataFiles, 0, appState().businessDbPath);
            control.put(kReportFileName, appState().appFolder + r.file);
            control.put(kSelectionFormula, r.voucherFormula);
            control.putIndexed(kFormulas, 0, "company= " + report::formulaText(appState().companyName));
            control.put(kConnect, std::string(kBookConnect));
            control.put(kAction, int32_t{1});
            return control.lastDocument();
        }
        reppettycash window;
        window.show();
        r.filters(window);
        user::click(window.cmdreport);
        EXPECT_EQ(window.CrystalReport1.callTexts().back(), "17:=1");
        std::optional<report::Document> doc = window.CrystalReport1.lastDocument();
        window.unload();
        return doc;
    }
};

auto chooser(int option, std::function<void(reppettycash&)> more = nullptr) {
    return [option, more](reppettycash& w) {
        user::click(w.Option2[option]);
        if (more) more(w);
    };
}

void allPeriods(reppettycash& w) { user::click(w.Check1[0]); }

TEST_F(ReportDefinitionsTest, EveryShippedDefinitionRunsThroughToAPdfWithTheSelectedVouchers) {
    if (!report::testing::havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const std::string open = "[TermID] = " + std::to_string(testing::kOpenPeriod);
    const std::set<int> openPeriod = {9006, 9007, 9008, 9009, 9010};
    const std::set<int> expenses = {9002, 9004, 9007, 9009, 9010};
    const std::set<int> obrien = {9003, 9004, 9005, 9010};
    const std::vector<std::pair<std::string, std::string>> ledgerTotals = {
        {"Carried over", "SELECT SUM([Debit]) FROM pettycash WHERE [TransType] = 'Carryover' AND " + open},
        {"Cash out", "SELECT SUM([Credit]) FROM pettycash WHERE " + open}};
    const auto withSpent = [&] {
        auto t = ledgerTotals;
        t.push_back({"Adv. spent", "SELECT SUM([expensefromadvance]) FROM pettycash WHERE " + open});
        return t;
    }();
    const std::vector<std::string> periodTitle = {"Pettycash Term ID : 2405151430", "All staff"};
    const auto excel = [](reppettycash& w) { user::click(w.Check5); };
    const auto receiverObrien = chooser(2, [](reppettycash& w) {
        allPeriods(w);
        user::selectComboItem(w.DBCombo1, "O'Brien");
    });
    const std::vector<std::string> obrienTitle = {"All pettycash records till date", "Receiver : O'Brien"};
    const std::vector<std::string> expenseTexts = {"All pettycash records till date", "expenses only", "555.75"};
    // Expenses by date (a bar per head, or the heads stacked) and by head (the pie).
    const std::vector<std::string> dateChartTexts = {"Total " + vb::formatShortDate(*vb::DateTime::fromParts(2024, 5, 18)), "140.00", "Travel", "80.00", "Fuel", "60.00",
                                                     "555.75", "expenses only"};
    const std::vector<std::string> pieTexts = {"Travel", "200.50", "Fuel", "310.00", "Stationery", "45.25", "555.75"};

    const DefinitionRun runs[] = {
        {.file = "pettycash1.rpt", .advances = false, .filters = chooser(1), .vouchers = openPeriod,
         .texts = periodTitle, .totals = ledgerTotals},
        {.file = "pettycash1a.rpt", .filters = chooser(1), .vouchers = openPeriod, .texts = periodTitle,
         .totals = withSpent},
        {.file = "pettycash1cc.rpt", .advances = false, .costCentres = true, .filters = chooser(1),
         .vouchers = openPeriod, .texts = periodTitle, .totals = ledgerTotals},
        {.file = "pettycash1acc.rpt", .costCentres = true, .filters = chooser(1), .vouchers = openPeriod,
         .texts = periodTitle, .totals = withSpent},
        {.file = "pettycash0.rpt", .advances = false, .filters = chooser(1, excel), .vouchers = openPeriod,
         .texts = periodTitle, .totals = ledgerTotals},
        {.file = "pettycash0a.rpt", .filters = chooser(1, excel), .vouchers = openPeriod, .texts = periodTitle,
         .totals = withSpent},
        {.file = "pettycash0cc.rpt", .advances = false, .costCentres = true, .filters = chooser(1, excel),
         .vouchers = openPeriod, .texts = periodTitle, .totals = ledgerTotals},
        {.file = "pettycash0acc.rpt", .costCentres = true, .filters = chooser(1, excel), .vouchers = openPeriod,
         .texts = periodTitle, .totals = withSpent},
        {.file = "pettycash2.rpt", .advances = false, .filters = receiverObrien, .vouchers = obrien,
         .texts = obrienTitle},
        {.file = "pettycash2a.rpt", .filters = receiverObrien, .vouchers = obrien, .texts = obrienTitle},
        {.file = "pettycash2cc.rpt", .advances = false, .costCentres = true, .filters = receiverObrien,
         .vouchers = obrien, .texts = obrienTitle},
        {.file = "pettycash2acc.rpt", .costCentres = true, .filters = receiverObrien, .vouchers = obrien,
         .texts = {"Receiver : O'Brien", "Total O'Brien", "360.00", "250.00"}},
        {.file = "pettycash3.rpt", .filters = chooser(3, allPeriods), .vouchers = expenses, .texts = expenseTexts},
        {.file = "pettycash4.rpt", .filters = chooser(4, allPeriods), .vouchers = expenses, .texts = expenseTexts},
        {.file = "pettycash5.rpt", .filters = chooser(5, allPeriods), .vouchers = expenses, .texts = expenseTexts},
        {.file = "pettycash6.rpt", .filters = chooser(6, allPeriods), .texts = dateChartTexts},
        {.file = "pettycash6s.rpt", .filters = chooser(0, allPeriods), .texts = dateChartTexts},
        {.file = "pettycash7.rpt", .filters = chooser(7, allPeriods), .texts = pieTexts},
        {.file = "pettycash8.rpt", .filters = chooser(8, allPeriods), .vouchers = {9008, 9009},
         .texts = {"Advance vouchers not settled", "Total Bina", "120.00"}},
        {.file = "pettycash8a.rpt", .filters = chooser(8, [](reppettycash& w) {
             allPeriods(w);
             user::click(w.Check3);
         }),
         .texts = {"Bina", "200.00", "80.00", "120.00"}},
        {.file = "custom.rpt", .filters = chooser(10, allPeriods),
         .vouchers = {9001, 9002, 9003, 9004, 9005, 9006, 9007, 9008, 9009, 9010},
         .texts = {"All pettycash records till date", "1679.50"}},
        {.file = "pettycash10.rpt", .costCentres = true,
         .filters = chooser(11, [](reppettycash& w) {
             allPeriods(w);
             w.Text1.setText("Expo's");
         }),
         .vouchers = {9004, 9010}, .texts = {"Cost-centre: Expo's", "expenses only", "310.00"}},
        {.file = "pettycash11.rpt", .costCentres = true, .filters = chooser(12, allPeriods),
         .texts = {"Site 4", "Expo's", "Travel", "200.50", "Stationery", "45.25", "Fuel", "310.00", "555.75"}},
        {.file = "voucher1.RPT", .advances = false,
         .voucherFormula = "{pettycash.voucherID}>= 9007 and {pettycash.voucherID} <= 9007  and "
                           "{pettycash.EMPLOYEE}= 'Bina'",
         .vouchers = {9007}, .texts = {"PETTY CASH VOUCHER", "Paid to / received from: Bina", "45.25"}},
        {.file = "voucher1c.RPT", .costCentres = true,
         .voucherFormula = "{pettycash.voucherID}>= 9004 and {pettycash.voucherID} <= 9005  and "
                           "{pettycash.EMPLOYEE}= 'O''Brien'",
         .vouchers = {9004, 9005}, .texts = {"Cost centre: Expo's", "250.00", "50.00"}},
        {.file = "voucher2.RPT",
         .voucherFormula = "{pettycash.voucherID} =  9003 or {pettycash.matchwith}= 9003  and "
                           "{pettycash.EMPLOYEE}= 'O''Brien'",
         .vouchers = {9003, 9004, 9005},
         .texts = {"PETTY CASH SETTLEMENT VOUCHER", "Advance voucher no: 9003", "300.00", "250.00", "50.00",
                   "0.00"}},
        {.file = "voucher2c.RPT", .costCentres = true,
         .voucherFormula = "{pettycash.voucherID} =  9008 or {pettycash.matchwith}= 9008",
         .vouchers = {9008, 9009}, .texts = {"Advance voucher no: 9008", "Site 4", "120.00"}},
    };

    std::set<std::string> ran;
    for (const DefinitionRun& r : runs) {
        SCOPED_TRACE(r.file);
        const std::optional<report::Document> doc = run(r);
        ASSERT_TRUE(doc);
        const std::filesystem::path pdf = folder / (std::string(r.file) + ".pdf");
        report::writePdf(*doc, pdf);
        const std::string text = pdfText(pdf);
        EXPECT_NE(text.find("Rao & D'Souza"), std::string::npos) << text;
        EXPECT_NE(text.find(doc->name), std::string::npos);
        for (const std::string& t : r.texts) EXPECT_NE(text.find(t), std::string::npos) << t << " in\n" << text;
        EXPECT_EQ(vouchersIn(text), r.vouchers) << text;
        for (const auto& [heading, sql] : r.totals) {
            const size_t grand = text.find("Grand total");
            ASSERT_NE(grand, std::string::npos);
            const std::string line = text.substr(grand, text.find('\n', grand) - grand);
            EXPECT_NE(line.find(sum(sql)), std::string::npos) << heading << " " << sum(sql) << " in " << line;
        }
        ran.insert(r.file);
    }
    std::set<std::string> shipped;
    for (const ShippedReportFile& f : shippedReportFiles())
        if (!f.name.ends_with(".pdf")) shipped.insert(std::string(f.name));  // the quick-help guide is no report
    EXPECT_EQ(ran, shipped);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(output.errors.empty()) << output.errors.front();
}

TEST_F(ReportDefinitionsTest, TheLedgerOfAllPeriodsShowsCarryOversApartSoInLessOutIsTheClosingBalance) {
    if (!report::testing::havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    // May's period closed too (balance 629.50 + 0 - 305.25 = 324.25), carried
    // over into June's, where 500 comes in and 74.25 goes out.
    constexpr int64_t kJune = 2406011000;
    {
        jet::Database db = book();
        db.execute("UPDATE pettycash SET [Closed] = 'Yes'");
        const char* insert = "INSERT INTO pettycash ([VoucherID], [Date], [Time], [Employee], [TransType], [Head],"
                             " [Debit], [Credit], [Matchrequired], [Matched], [Closed], [TermID], [Enteredby])"
                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'No', 'No', 'No', ?, 'Ravi')";
        const vb::DateTime june = *vb::DateTime::fromParts(2024, 6, 1);
        db.execute(insert, {9011, june, "10:00", "", "Carryover", jet::Value(), 324.25, 0.0, kJune});
        db.execute(insert, {9012, june, "11:00", "Asha", "Cash transfer to PC", jet::Value(), 500.0, 0.0, kJune});
        db.execute(insert, {9013, june, "12:00", "Bina", "Reimbursed from pettycash", "Travel", 0.0, 74.25, kJune});
    }
    // The hand sums over the three periods.
    const char* cashIn = "1550.00";      // 1000 + 50 + 500
    const char* cashOut = "800.00";        // 120.50 + 300 + 45.25 + 200 + 60 + 74.25
    const char* carriedOver = "953.75";    // 629.50 + 324.25
    const vb::Currency closing =
        book().openRecordset("SELECT SUM([Debit]) - SUM([Credit]) AS balance FROM pettycash WHERE [TermID] = ?",
                             {jet::Value(kJune)})
            .field("balance")
            .asCurrency();
    EXPECT_EQ(report::moneyText(closing), "750.00") << "in less out is the balance at the end";

    for (const bool advances : {false, true}) {
        SCOPED_TRACE(advances ? "with advances" : "without advances");
        const std::optional<report::Document> doc = run(
            {.file = advances ? "pettycash1a.rpt" : "pettycash1.rpt", .advances = advances, .filters = chooser(1, allPeriods)});
        ASSERT_TRUE(doc);
        const std::filesystem::path pdf = folder / "all periods.pdf";
        report::writePdf(*doc, pdf);
        const std::string text = pdfText(pdf);
        EXPECT_NE(text.find("All pettycash records till date"), std::string::npos);
        EXPECT_NE(text.find("Carried over"), std::string::npos);
        const size_t grand = text.find("Grand total");
        ASSERT_NE(grand, std::string::npos) << text;
        const std::string line = text.substr(grand, text.find('\n', grand) - grand);
        const size_t over = line.find(carriedOver), in = line.find(cashIn), out = line.find(cashOut);
        EXPECT_NE(over, std::string::npos) << line;
        EXPECT_NE(in, std::string::npos) << line;
        EXPECT_NE(out, std::string::npos) << line;
        EXPECT_LT(over, in) << line;
        EXPECT_LT(in, out) << line;
    }
}

TEST_F(ReportDefinitionsTest, TheLedgerExportWritesASpreadsheetOfThePeriod) {
    output.exportTo = folder / "ledger.xlsx";
    reppettycash window;
    window.show();
    user::click(window.Check5);
    user::click(window.cmdreport);
    ASSERT_TRUE(window.CrystalReport1.lastExport());
    EXPECT_TRUE(output.previews.empty());
    ASSERT_TRUE(std::filesystem::exists(folder / "ledger.xlsx"));
    const report::ReportTable& table = window.CrystalReport1.lastDocument()->table;
    EXPECT_EQ(table.rows.size(), 5u);
    EXPECT_EQ(table.headings.front(), "Date");
    // The workbook opens as a zip package with the sheet holding the rows; the
    // oracle is Debian's python3, which scripts/setup installs.
    ASSERT_EQ(std::system("test -x /usr/bin/python3"), 0) << "/usr/bin/python3 is missing: run scripts/setup";
    {
        const std::string check = "/usr/bin/python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); "
                                  "s=z.read('xl/worksheets/sheet1.xml').decode(); sys.exit(0 if s.count('<row')==6 "
                                  "else 1)\" '" + (folder / "ledger.xlsx").string() + "'";
        EXPECT_EQ(std::system(check.c_str()), 0);
    }
    window.unload();
}

TEST_F(ReportDefinitionsTest, ANewBookReceivesEveryReportFileAndKeepsOnesAlreadyThere) {
    for (const ShippedReportFile& f : shippedReportFiles()) {
        std::ifstream in(folder / std::string(f.name), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(text, f.text) << f.name;
    }
    jet::testing::TestFolder other;
    std::ofstream(other / "CUSTOM.RPT") << "the book's own";
    createBook(other.path(), "a", "b");
    std::ifstream in(other / "CUSTOM.RPT");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "the book's own");
    EXPECT_FALSE(std::filesystem::exists(other / "custom.rpt"));
    for (const auto& entry : std::filesystem::directory_iterator(other.path()))
        EXPECT_NE(entry.path().filename().string().front(), '.') << "temporary file left";
    // Everything written into the book folder is its owner's alone: report
    // definitions, the quick-help guide, the export folder's config.xml.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(other.path())) {
        if (!entry.is_regular_file() || entry.path().filename() == "CUSTOM.RPT") continue;  // the test's own
        const auto perms = std::filesystem::status(entry.path()).permissions();
        EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
            << entry.path();
    }
}

}  // namespace
}  // namespace petty
