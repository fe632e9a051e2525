// Writes the seed corpus of the formula parser's fuzz target: selection
// formulas in every form the program writes, and formula field assignments.
#include <string>
#include <vector>

#include "platform/vb/testing/seed_corpus.h"

int main(int argc, char** argv) {
    const std::vector<std::string> seeds = {
        "({pettycash.Date} >=date( 2014, 3, 5) and {pettycash.Date} <=date( 2014, 3, 31))",
        "{pettycash.termid} =2405151430",
        "{pettycash.termid} > 0   and {pettycash.EMPLOYEE}= 'O''Brien'",
        "{PETTYCASH.Head} <> \"say \"\"hi\"\"\"",
        "({pettycash.matched}='No' or {pettycash.matched}='' or isnull({pettycash.matched})=true )",
        "isnull({pettycash.HEAD})=false and {pettycash.HEAD} <> ''",
        "{pettycash.voucherID} =  12 or {pettycash.matchwith}= 12  and {pettycash.EMPLOYEE}= 'Asha'",
        "not {pettycash.Debit} > 1.5",
        "true",
        "company= 'Ostrelle ''Books'''",
        "TITLE= \"All pettycash records till date\"",
    };
    return vb::testing::writeSeedCorpus(argc, argv, seeds);
}
