// Writes the seed corpus of the report definition reader's fuzz target: a
// definition with every section, layout and key. scripts/fuzz adds the
// definition files the program ships.
#include <string>
#include <vector>

#include "platform/vb/testing/seed_corpus.h"

int main(int argc, char** argv) {
    const std::vector<std::string> seeds = {
        "# a ledger\n[report]\nname = Ledger\norientation = landscape\nformulas = company, TITLE\n"
        "layout = grouped\ngroup = Employee\nsubgroup = Head\norder = Date, VoucherID\n"
        "calc Expense = iif(Credit is null, 0, Credit)\ncolumn = VoucherID | Voucher | 40\n"
        "column = Expense | Expense | 60.5 | total\n\n[subreport Head summary]\nlayout = pie\ncategory = Head\n"
        "value = Expense\ncalc Expense = Credit\n",
        "[report]\nname = Vouchers\ntable = pettycash\nlayout = vouchers\ndetails = false\n",
        "[report]\nlayout = bars\ncategory = Date\nseries = Head\nvalue = Credit\n",
        "[report]\nlayout = settlement\ngroup = matchwith\ncolumn = Credit | Cash out | 50 | total\n",
        "[report]\nlayout = list\norientation = portrait\n[subreport a]\nlayout = stacked\n",
    };
    return vb::testing::writeSeedCorpus(argc, argv, seeds);
}
