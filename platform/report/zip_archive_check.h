#pragma once
// Whether a file another library wrote by name is a whole ZIP archive (a
// spreadsheet is one): its end record is there and the central directory it
// points to ends right before it. A file cut short by a full disk, or left
// part-written, fails. Reads only the file's tail.
#include <filesystem>

namespace report {

bool isWholeZipArchive(const std::filesystem::path& file);

}  // namespace report
