#include "platform/report/zip_archive_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/files/testing/scratch_folder.h"
#include "platform/report/spreadsheet_export.h"

namespace report {
namespace {

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// A spreadsheet the export wrote is whole; the same bytes cut anywhere, or
// with garbage after them, are not.
TEST(ZipArchiveCheck, AWrittenSpreadsheetIsWholeAndACutOneIsNot) {
    files::testing::ScratchFolder folder;
    const std::filesystem::path sheet = folder.path() / "ledger.xlsx";
    ReportTable table;
    table.headings = {"Voucher", "Amount"};
    for (int i = 0; i < 50; ++i) table.rows.push_back({jet::Value(int64_t{i}), jet::Value("row " + std::to_string(i))});
    writeSpreadsheet(table, "Ledger", sheet);
    ASSERT_TRUE(isWholeZipArchive(sheet));

    const std::string whole = readAll(sheet);
    const std::filesystem::path cut = folder.path() / "cut.xlsx";
    for (size_t keep : {size_t{0}, size_t{10}, whole.size() / 2, whole.size() - 23, whole.size() - 1}) {
        writeAll(cut, whole.substr(0, keep));
        EXPECT_FALSE(isWholeZipArchive(cut)) << "cut to " << keep << " of " << whole.size() << " bytes";
    }
    writeAll(cut, whole + "trailing");
    EXPECT_FALSE(isWholeZipArchive(cut));
    EXPECT_FALSE(isWholeZipArchive(folder.path() / "missing.xlsx"));
}

}  // namespace
}  // namespace report
