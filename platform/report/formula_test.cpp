#include "platform/report/formula.h"

#include <gtest/gtest.h>

#include "platform/report/report_error.h"

namespace report {
namespace {

struct Accepted {
    const char* formula;
    const char* sql;
    std::vector<jet::Value> params;
};

class AcceptedFormula : public testing::TestWithParam<Accepted> {};

TEST_P(AcceptedFormula, TranslatesToBoundSql) {
    const SqlCondition c = translateSelectionFormula(GetParam().formula, "pettycash");
    EXPECT_EQ(c.sql, GetParam().sql);
    EXPECT_EQ(c.params, GetParam().params);
}

const jet::Value kMarch5 = *vb::DateTime::fromParts(2014, 3, 5);
const jet::Value kMarch31 = *vb::DateTime::fromParts(2014, 3, 31);

INSTANTIATE_TEST_SUITE_P(
    Forms, AcceptedFormula,
    testing::Values(
        Accepted{"", "", {}},
        Accepted{"   ", "", {}},
        Accepted{"({pettycash.Date} >=date( 2014, 3, 5) and {pettycash.Date} <=date( 2014, 3, 31))",
                 "((([Date] >= ?) AND ([Date] <= ?)))", {kMarch5, kMarch31}},
        Accepted{"{pettycash.termid} =2405151430", "([termid] = ?)", {jet::Value(2405151430LL)}},
        Accepted{"{pettycash.termid} > 0 ", "([termid] > ?)", {jet::Value(0LL)}},
        Accepted{"{pettycash.termid} > 0   and {pettycash.EMPLOYEE}= 'O''Brien'",
                 "(([termid] > ?) AND ([EMPLOYEE] = ?))", {jet::Value(0LL), jet::Value("O'Brien")}},
        Accepted{"{PETTYCASH.Head} <> \"say \"\"hi\"\"\"", "([Head] <> ?)", {jet::Value("say \"hi\"")}},
        Accepted{"{pettycash.matchrequired}='Yes'", "([matchrequired] = ?)", {jet::Value("Yes")}},
        Accepted{"({pettycash.matched}='No' or {pettycash.matched}='' or isnull({pettycash.matched})=true )",
                 "(((([matched] = ?) OR ([matched] = ?)) OR (([matched] IS NULL) = 1)))",
                 {jet::Value("No"), jet::Value("")}},
        Accepted{"isnull({pettycash.HEAD})=false and {pettycash.HEAD} <> ''",
                 "((([HEAD] IS NULL) = 0) AND ([HEAD] <> ?))", {jet::Value("")}},
        // The settlement formula: "and" binds tighter than "or".
        Accepted{"{pettycash.voucherID} =  12 or {pettycash.matchwith}= 12  and {pettycash.EMPLOYEE}= 'Asha'",
                 "(([voucherID] = ?) OR (([matchwith] = ?) AND ([EMPLOYEE] = ?)))",
                 {jet::Value(12LL), jet::Value(12LL), jet::Value("Asha")}},
        Accepted{"{pettycash.voucherID}>= 3 and {pettycash.voucherID} <= 7",
                 "(([voucherID] >= ?) AND ([voucherID] <= ?))", {jet::Value(3LL), jet::Value(7LL)}},
        Accepted{"not {pettycash.Debit} > 1.5", "(NOT ([Debit] > ?))", {jet::Value(1.5)}},
        Accepted{"true", "1", {}}));

struct Refused {
    const char* formula;
    const char* why;  // part of the message
};

class RefusedFormula : public testing::TestWithParam<Refused> {};

TEST_P(RefusedFormula, SaysWhatAndWhere) {
    try {
        translateSelectionFormula(GetParam().formula, "pettycash");
        FAIL() << "accepted: " << GetParam().formula;
    } catch (const ReportError& e) {
        EXPECT_EQ(e.code(), ReportErrorCode::Formula);
        EXPECT_NE(std::string(e.what()).find(GetParam().why), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("position"), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RefusedFormula,
    testing::Values(Refused{"{pettycash.EMPLOYEE}= 'O'Brien'", "unexpected \"brien\""},
                    Refused{"{pettycash.EMPLOYEE}= 'Asha", "closed with its quote"},
                    Refused{"{pettycash.EMPLOYEE = 'Asha'", "\"}\""},
                    Refused{"{other.EMPLOYEE} = 'Asha'", "no table \"other\""},
                    Refused{"{pettycash.EMP LOYEE} = 'Asha'", "letters, digits"},
                    Refused{"{EMPLOYEE} = 'Asha'", "{table.field}"},
                    Refused{"{pettycash.termid} =", "a value expected"},
                    Refused{"{pettycash.termid} < 5", "\"<\" is not supported"},
                    Refused{"{pettycash.termid} = 5; drop table pettycash", "unexpected character \";\""},
                    Refused{"{pettycash.Debit} + 1 > 2", "unexpected character \"+\""},
                    Refused{"uppercase({pettycash.Head}) = 'X'", "unknown word \"uppercase\""},
                    Refused{"isnull('x')", "isnull takes a field"},
                    Refused{"{pettycash.Date} >= date(2014, 2, 30)", "no such date"},
                    Refused{"{pettycash.Date} >= date(2014, 2)", "\",\" between the parts"},
                    Refused{"({pettycash.termid} = 1", "\")\" expected"},
                    Refused{"{pettycash.termid} = 1)", "unexpected \")\""},
                    Refused{"{pettycash.termid} = 1 2", "unexpected \"2\""},
                    Refused{"{pettycash.termid} = 1234567890123456789012", "too large"},
                    Refused{"{pettycash.termid} == 1", "unknown comparison"},
                    Refused{"{pettycash.termid} = 1.", "ends in a digit"}));

TEST(SelectionFormula, DeepNestingIsRefusedNotOverflowed) {
    const std::string deep = std::string(5000, '(') + "true" + std::string(5000, ')');
    EXPECT_THROW(translateSelectionFormula(deep, "pettycash"), ReportError);
    const std::string nots = [] {
        std::string s;
        for (int i = 0; i < 5000; ++i) s += "not ";
        return s + "true";
    }();
    EXPECT_THROW(translateSelectionFormula(nots, "pettycash"), ReportError);
    EXPECT_NO_THROW(translateSelectionFormula(std::string(20, '(') + "true" + std::string(20, ')'), "pettycash"));
}

TEST(FormulaField, TakesANameAndOneQuotedText) {
    const FormulaAssignment company = parseFormulaAssignment("company= 'Rao & D''Souza'");
    EXPECT_EQ(company.name, "company");
    EXPECT_EQ(company.text, "Rao & D'Souza");
    EXPECT_EQ(parseFormulaAssignment("TITLE= ' Pettycash Term ID : 7  '").name, "TITLE");
    EXPECT_EQ(parseFormulaAssignment("TITLE= ' Pettycash Term ID : 7  '").text, " Pettycash Term ID : 7  ");
    for (const char* bad : {"company 'x'", "company= x", "company= 'x' + 'y'", "= 'x'", "company= 'x"})
        EXPECT_THROW(parseFormulaAssignment(bad), ReportError) << bad;
}

TEST(FormulaText, DoublesEveryQuoteSoTheTextRoundTrips) {
    for (const std::string text : {"", "Asha", "O'Brien", "''", "a'b'c'"}) {
        const std::string literal = formulaText(text);
        EXPECT_EQ(parseFormulaAssignment("x= " + literal).text, text);
        const SqlCondition c = translateSelectionFormula("{pettycash.Employee} = " + literal, "pettycash");
        ASSERT_EQ(c.params.size(), 1u);
        EXPECT_EQ(c.params[0], jet::Value(text));
    }
    EXPECT_EQ(formulaText("O'Brien"), "'O''Brien'");
}

}  // namespace
}  // namespace report
