#pragma once
// The names of scanned bills in the documents folder. A bill is stored under
// the name its voucher keeps, extension included ("3_0915.pdf"); a new scan
// never takes the name of a file already there but the next free one
// ("3_0915-2.pdf"). Books from before kept the name without its ending
// ("3_0915"): such a name stands for every file the scan window could have
// written under it.
#include <string>
#include <string_view>
#include <vector>

namespace petty {

// The endings the scan window writes: a JPEG, a PDF, a multi-page TIFF.
inline constexpr const char* kBillEndings[] = {".jpg", ".pdf", "multipage.tif"};

// `base` + `ending` when no file of the folder (a path of the program, with its
// separator behind it) has that name, else `base`-2 + `ending`, -3, ...
std::string freeBillName(std::string_view folder, std::string_view base, std::string_view ending);

// Whether a stored bill name is a plain file name (no folder, no wildcard,
// not hidden), so that it can only name a file of the documents folder.
bool plainBillName(std::string_view name);

// The files of the folder a stored bill name stands for: the file itself when
// the name carries one of the endings, else every file the base name has, in
// the order of kBillEndings. Paths as the file system has them; none for a
// name that is not plain.
std::vector<std::string> billFilesOf(std::string_view folder, std::string_view name);

}  // namespace petty
