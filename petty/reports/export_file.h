#pragma once
// Where the period export goes and how it is written.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/vb/date_time.h"

namespace petty {

// "May172015_143005 PettycashBackup PeriodID_1505171400.csv": the moment of
// the export ("mmmDDYYYY_HHMMSS") and every digit of the period ID.
std::string exportFileName(const vb::DateTime& moment, int64_t periodId);

// Adds the bytes at the end of the file (creating it when absent) without
// ever leaving it half written: the old content and the new bytes go into a
// temporary file beside it, which is flushed to disk and renamed into place.
// On any failure the temporary file is removed, the file stays as it was,
// and the answer is false.
bool appendThroughTemporaryFile(const std::filesystem::path& file, std::string_view bytes);

}  // namespace petty
