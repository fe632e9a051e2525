#include "imaging/engine/temp_files.h"

#include <filesystem>
#include <system_error>

#include "imaging/engine/general_helpers.h"
#include "imaging/engine/random_numbers.h"
#include "platform/win/open_file_dialog.h"
#include "platform/win/temp_files.h"
#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

namespace scanvelt {
namespace {

constexpr double kNameRange = 100000000.0;
// Beyond this many taken names the folder is taken to be unusable rather
// than searched for ever.
constexpr int kMaxNameAttempts = 100000;
constexpr uint32_t kDialogBufferCharacters = 256;

}  // namespace

std::string GetTempFolder() { return win::TempFolder() + "/"; }

std::string NewTempFileName() {
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        auto number = static_cast<uint32_t>(RandomUnit() * kNameRange);
        std::string candidate = GetTempFolder() + std::to_string(number);
        switch (win::CreateNewFile(candidate)) {
            case win::CreateNewFileResult::Created: return candidate;
            case win::CreateNewFileResult::NameTaken: continue;
            case win::CreateNewFileResult::Failed: return {};
        }
    }
    return {};
}

void DeleteFileQuietly(const std::string& path) {
    if (path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(win::ResolveWindowsPath(path), ignored);
}

std::string NormalizePath(std::string_view path) {
    std::string out(TrimSpaces(path));
    for (char& c : out) {
        if (c == '/') c = '\\';
    }
    if (win::Utf8Length(out) <= 3) return out;
    while (out.compare(0, 3, "\\\\\\") == 0) out.erase(0, 1);
    // From the third character on, every "\\" becomes "\" until none is left.
    for (size_t pos = out.find("\\\\", 2); pos != std::string::npos; pos = out.find("\\\\", pos)) {
        out.erase(pos, 1);
    }
    return out;
}

std::string ShowOpenFileDialog(uint32_t ownerWindow) {
    win::OpenFileDialogRequest request;
    request.ownerWindow = ownerWindow;
    request.title = "Open File";
    request.flags = win::OFN_OVERWRITEPROMPT | win::OFN_HIDEREADONLY;
    request.maxPathLength = kDialogBufferCharacters - 1;
    return win::GetOpenFileName(request).value_or("");
}

}  // namespace scanvelt
