// Writes the seed corpus of the Jet SQL translator's fuzz target: texts in
// every form of the dialect the program writes.
#include <string>
#include <vector>

#include "platform/vb/testing/seed_corpus.h"

int main(int argc, char** argv) {
    const std::vector<std::string> seeds = {
        "select * from [Expense types] Order by [Expense type]",
        "SELECT  [Projectcode] ,[Description] FROM  projectcodes where active=true",
        "select * from config where sendmail = FALSE ",
        " SELECT count(*) as mycount from pettycash where   [date]<= datevalue('31/03/2014')  and x=1 ",
        "select top 1 date from pettycash where termid=5 order by date asc",
        "select distinct top 10 termid from pettycash",
        "select * from pettycash where narration like '*Correction*' ",
        "select * from t where a not like '50%_off?[*]'",
        "select * from t where a like ? and d = datevalue(?) and n = ?",
        "select * from t where a = 'it''s [x] true?' and b = \"q\"",
        "select sum(iif(debit is null,0,debit)-iif(credit is null,0,credit)) as mybalance from pettycash where "
        "closed='No'",
        "SELECT  [TermID],[Closed] FROM  pettycash  GROUP BY [TERMID],[CLOSED] ",
        "UPDATE pettycash SET closed = 'Yes' where TermID = 2201010000",
        "INSERT INTO [Expense types] ([Expense type]) VALUES (?)",
        "delete from pettycash where voucherid = ?",
        "pettycash",
        "[Expense types]",
        "*50[%]_x?#",
    };
    return vb::testing::writeSeedCorpus(argc, argv, seeds);
}
