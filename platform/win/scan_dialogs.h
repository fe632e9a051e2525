#pragma once
// The scanner's dialogs: choosing a scan source, the source's setup dialog
// and the progress window of a scan. The libraries show no windows
// themselves: a host with a user interface installs the dialogs; without one
// every dialog answers NoUserInterface and no progress is shown.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace win {

enum class DialogAnswer { Accepted, Cancelled, NoUserInterface };

struct ScanSourceChoiceRequest {
    uint32_t ownerWindow = 0;
    std::vector<std::string> sources;  // names as shown
    size_t current = 0;                // preselected entry
};

// One setting of the setup dialog, as the device describes it.
struct ScanSetting {
    enum class Kind { Number, NumberChoice, TextChoice, Toggle };
    std::string name;         // the device's key, unchanged by the dialog
    std::string title;
    std::string description;  // shown as a tool tip
    std::string unit;         // "dpi", "mm", "%" or ""
    Kind kind = Kind::Number;
    bool enabled = true;
    bool whole = true;  // Number: whole numbers only
    double value = 0;   // Number, NumberChoice, Toggle (0 or 1)
    double minimum = 0, maximum = 0, step = 0;  // Number; step 0 means any
    std::vector<double> numbers;       // NumberChoice
    std::string text;                  // TextChoice
    std::vector<std::string> choices;  // TextChoice
};

struct ScanSetupRequest {
    uint32_t ownerWindow = 0;
    std::string sourceName;
    std::vector<ScanSetting> settings;
};

struct ScanProgress {
    std::string sourceName;
    int page = 0;                // the page being read, from 1
    uint64_t bytesRead = 0;      // of this page
    uint64_t bytesExpected = 0;  // of this page; 0 when the device does not know
};

struct ScanDialogService {
    // Shows the source list; on Accepted `chosen` is the entry picked.
    std::function<DialogAnswer(const ScanSourceChoiceRequest&, size_t& chosen)> chooseSource;
    // Shows the settings; on Accepted the request holds the values the user set.
    std::function<DialogAnswer(ScanSetupRequest&)> editSetup;
    // Shows or updates the progress window; false once the user asked to cancel.
    std::function<bool(const ScanProgress&)> showProgress;
    // Closes the progress window (nothing when none is shown).
    std::function<void()> closeProgress;
};

// Installs the host's dialogs (a default-made service removes them).
void SetScanDialogService(ScanDialogService service);

DialogAnswer ChooseScanSource(const ScanSourceChoiceRequest& request, size_t& chosen);
DialogAnswer EditScanSetup(ScanSetupRequest& request);
// True to go on; without a host, always true.
bool ShowScanProgress(const ScanProgress& progress);
void CloseScanProgress();

}  // namespace win
