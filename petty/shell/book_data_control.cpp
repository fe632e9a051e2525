#include "petty/shell/book_data_control.h"

#include "petty/shell/app_state.h"
#include "petty/shell/business_database.h"
#include "petty/shell/program_paths.h"

namespace petty {

void pointAtBook(forms::DataControl& data, std::string recordSource) {
    data.setDatabaseName(resolveProgramPath(appState().businessDbPath).string());
    data.setConnect(std::string(kBookConnect));
    data.setRecordSource(std::move(recordSource));
}

}  // namespace petty
