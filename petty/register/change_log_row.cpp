#include "petty/register/change_log_row.h"

#include "petty/register/change_log_text.h"
#include "petty/register/register_queries.h"
#include "petty/shell/app_state.h"
#include "platform/vb/clock.h"

namespace petty {

void appendChangeLogRow(forms::DataControl& write, const std::string& text, int32_t voucherId) {
    write.setRecordSource(kChangeLogAppendSql);
    write.refresh();
    forms::DataRecordset& log = write.recordset();
    log.addNew();
    log.setField("Date", vb::now());
    log.setField("user", appState().currentUserName);
    log.setField("changelog", cutToChangeLogLength(text));
    log.setField("voucherID", int64_t{voucherId});
    log.update();
}

}  // namespace petty
