#pragma once
// Whether a book has ever had its options stored by one of the configuration
// windows. Until it has, the main window opens the quick configuration first
// at every start (firstRun). The mark is a row of a small table of the
// program's own, beside the business tables; the table is made when the mark
// is first written, so a book that lacks it has never been configured.
#include <filesystem>

#include "platform/jet/database.h"

namespace petty {

bool optionsEverStored(jet::Database& book);

// Records that the options were stored. It belongs in the transaction that
// writes the settings row, so that the two are kept or lost together.
void markOptionsStored(jet::Database& book);

// firstRun for the book file: true while its options were never stored. A
// book that cannot be read gives false: the log-in refuses it in any case.
bool firstRunOf(const std::filesystem::path& bookFile);

}  // namespace petty
